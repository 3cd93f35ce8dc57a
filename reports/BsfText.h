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

// The four typed texts of a form, single-byte (Latin-1) strings.
struct BsfTexts {
    std::string idLine;
    std::string battleNumber;
    std::string medal;
    std::string email;
};

// Everything a Battle Submission Form is made of besides the record: its texts, and the
// selections, the indexes of the form's boxes, empty where a box has no selection.
struct BsfInput : BsfTexts {
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

// The lines of a form, as they are written and read back. The head: each label is 19
// characters wide, so the typed values start in column 20; an empty text leaves the label
// alone, trailing blanks included.
struct BsfHeadLine {
    std::string_view label;
    std::string BsfTexts::*text;
};
inline constexpr std::array<BsfHeadLine, 4> kBsfHeadLines = {{
    {"Name of Applicant: ", &BsfTexts::idLine},
    {"Battle No:         ", &BsfTexts::battleNumber},
    {"Name of Medal:     ", &BsfTexts::medal},
    {"Applicant's Email: ", &BsfTexts::email},
}};
inline constexpr std::string_view kBsfScoresLine = "Scores:";
// A score line: the word, the line's number, the separator and the score; a battle
// mission's line then ends in the mark or one blank, a combat chamber mission's at the score.
inline constexpr std::string_view kBsfMissionWord = "Mission ";
inline constexpr std::string_view kBsfScoreSeparator = ": ";
inline constexpr std::string_view kBsfHighscoreMark = "  * Highscore";
inline constexpr std::string_view kBsfPlainBattleEnd = " ";
inline constexpr std::string_view kBsfLineEnd = "\r\n";
// Between two forms of one file.
inline constexpr std::string_view kBsfSeparatorLine =
    "---------------------------------------------";

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
