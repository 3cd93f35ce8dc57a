#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "PilotRecord.h"

// How the history names what it keeps. Each version of a pilot is a plain pilot file in the
// pilot's folder, named by the moment it was kept (UTC, to the nanosecond, so that names
// sort by time), where it came from and a hash of its bytes:
//
//   20260512T142233.123456789Z-replaced-0123456789abcdef.TFR
//
// Two programs keeping a version at once cannot take one name unless they keep the same
// bytes of the same origin at the same nanosecond, which is one version all the same.
namespace pilot::history {

// Where a kept version came from.
enum class Origin : std::uint8_t {
    Opened,         // the window opened bytes the history did not hold yet
    Replaced,       // a Brevanta program was about to write over them
    ChangedByOther  // another program had written them, and the user had them written over
};

// "opened", "replaced", "changed by another program".
[[nodiscard]] std::string_view originText(Origin origin);

// A version's name, taken apart.
struct EntryName {
    std::int64_t time = 0;  // nanoseconds since 1970-01-01 UTC
    Origin origin = Origin::Replaced;
    std::string hash;  // contentHash of the bytes
};

[[nodiscard]] std::string contentHash(const PilotRecord& record);
[[nodiscard]] std::string entryFileName(const EntryName& name);
// Nothing for a name the history did not make (a file someone put there, a temporary file).
[[nodiscard]] std::optional<EntryName> parseEntryFileName(std::string_view fileName);

// The name of the pilot's folder under the history's root: a hash of its absolute path.
[[nodiscard]] std::string pilotFolderName(const std::filesystem::path& absolutePilot);
// The file in each pilot's folder that holds the pilot's absolute path, so that a person
// (and the listing of every history) can tell whose versions they are.
inline constexpr std::string_view kPilotPathFile = "pilot-path";

// Where histories live: $XDG_STATE_HOME/brevanta/history when the variable holds an
// absolute path, otherwise $HOME/.local/state/brevanta/history; nothing without a home.
[[nodiscard]] std::optional<std::filesystem::path> historyRoot(const char* stateHome,
                                                               const char* home);
// The same from the process's environment.
[[nodiscard]] std::optional<std::filesystem::path> historyRoot();

// The moment as the user reads it, in local time: "2026-05-12 14:22:33".
[[nodiscard]] std::string localTimeText(std::int64_t time);

}  // namespace pilot::history
