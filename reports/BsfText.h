#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "IoError.h"

namespace pilot {
class PilotRecord;
}

namespace reports {

inline constexpr std::string_view kBsfSeparatorLine =
    "---------------------------------------------";

// Everything a Battle Submission Form is made of besides the record. The four texts are
// single-byte (Latin-1) strings; the selections are the indexes of the form's boxes, empty
// where a box has no selection.
struct BsfInput {
    std::string idLine;        // "Name of Applicant: "
    std::string battleNumber;  // "Battle No:         "
    std::string medal;         // "Name of Medal:     "
    std::string email;         // "Applicant's Email: "

    enum class Mode { None, Battle, CombatChamber };
    Mode mode = Mode::None;

    // Battle mode: missions 1 to lastMission + 1 of the battle, with highscore marks.
    std::optional<std::size_t> battle;       // 0..19
    std::optional<std::size_t> lastMission;  // 0..7
    std::array<bool, 8> highscore{};

    // Combat chamber mode: missions fromMission + 1 to toMission + 1 of one craft.
    std::optional<std::size_t> craft;        // 0..6
    std::optional<std::size_t> fromMission;  // 0..7
    std::optional<std::size_t> toMission;    // 0..7
};

// One form, CR LF after every line, without the separator. A section whose selection is
// missing (or out of range) writes no score lines.
[[nodiscard]] std::string bsfFormText(const BsfInput& input, const pilot::PilotRecord& record);

// What became of a form written by saveBsfForm: a new file (form 1), or appended to an
// existing one as its form number `formNumber`, counted by the separator lines before it
// (nothing when the file cannot be read back).
struct SavedForm {
    bool appended = false;
    std::optional<std::size_t> formNumber;

    friend bool operator==(const SavedForm&, const SavedForm&) = default;
};

// Writes one form to a file: an existing file gets the separator line and the form
// appended at its end (and stays untouched if it cannot be opened for appending); a file
// that does not exist is created with the form alone.
[[nodiscard]] std::variant<SavedForm, pilot::IoError> saveBsfForm(const std::filesystem::path& path,
                                                                  std::string_view formText);

}  // namespace reports
