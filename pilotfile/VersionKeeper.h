#pragma once

#include <filesystem>
#include <optional>
#include <variant>

#include "History.h"
#include "PilotFileIO.h"
#include "SystemCalls.h"

// What the programs keep when they write over a pilot, in the history the environment
// names (see historyRoot).
namespace pilot::history {

// The history of the pilot at `pilot` under the root the environment names, or why there
// is none (no state folder and no home).
[[nodiscard]] std::variant<PilotHistory, KeepFailure> historyOf(const std::filesystem::path& pilot);

// Keeps the record a window opened from the pilot, unless the history holds it already; why
// not, where it could not.
[[nodiscard]] std::optional<KeepFailure> keepOpened(const std::filesystem::path& pilot,
                                                    const PilotRecord& record);

// For one write over a pilot: keeps what the write replaces, as a version of the origin,
// and remembers why nothing was kept when something should have been. Lives as long as the
// write it serves.
class ReplacedVersionKeeper {
public:
    ReplacedVersionKeeper(const std::filesystem::path& pilot, Origin origin);
    ReplacedVersionKeeper(const ReplacedVersionKeeper&) = delete;
    ReplacedVersionKeeper& operator=(const ReplacedVersionKeeper&) = delete;

    // What the save calls with the file it replaces.
    [[nodiscard]] KeepReplaced keeper();
    [[nodiscard]] const std::optional<KeepFailure>& failure() const { return m_failure; }

private:
    std::variant<PilotHistory, KeepFailure> m_history;
    Origin m_origin;
    PosixCalls m_os;
    std::optional<KeepFailure> m_failure;
};

}  // namespace pilot::history
