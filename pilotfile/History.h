#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "HistoryNames.h"
#include "IoError.h"
#include "PilotFileIO.h"
#include "PilotRecord.h"
#include "SystemCalls.h"

// The history of pilot files: every version a Brevanta program opened or wrote over, kept
// as a plain pilot file under the history's root (see HistoryNames.h), one folder per
// pilot. Folders are made with mode 0700 and versions with 0600. Versions are written whole
// or not at all, under a lock on the pilot's folder, so that two programs keeping versions
// of one pilot at once lose none. A history that cannot be written never stops what the
// program is doing: it says why, and the caller tells the user.
namespace pilot::history {

// Per pilot: the first version ever kept and the newest ones, this many in all.
inline constexpr std::size_t kKeptVersions = 50;

// One kept version.
struct Entry {
    std::string fileName;  // in the pilot's folder
    std::int64_t time = 0;
    Origin origin = Origin::Replaced;
    PilotRecord record;
};

// Why a version was not kept: the message ("Dateizugriff verweigert.") and the file or
// folder it concerns.
struct KeepFailure {
    std::string reason;
    std::filesystem::path concerning;

    friend bool operator==(const KeepFailure&, const KeepFailure&) = default;
};

class PilotHistory {
public:
    // The history of the pilot file at `pilot`, made absolute against the current folder,
    // under `root`.
    PilotHistory(std::filesystem::path root, const std::filesystem::path& pilot);

    [[nodiscard]] const std::filesystem::path& pilot() const { return m_pilot; }
    [[nodiscard]] std::filesystem::path folder() const;

    // Keeps the record as a version of the origin, unless the newest version holds it
    // already (an opened one: unless any version does). Then drops the oldest versions but
    // the first beyond kKeptVersions.
    [[nodiscard]] std::optional<KeepFailure> keep(const PilotRecord& record, Origin origin,
                                                  const SystemCalls& os = PosixCalls{}) const;

    // What a save calls with the file it replaces: keeps it as a version of the origin, and
    // leaves any failure in `failure` (which the keeper refers to, so it must outlive it).
    [[nodiscard]] KeepReplaced keeper(Origin origin, std::optional<KeepFailure>& failure,
                                      const SystemCalls& os = PosixCalls{}) const;

    // The versions, newest first. A pilot without a history has none; files the history did
    // not make, and versions that are not exactly one record long, are skipped.
    [[nodiscard]] std::variant<std::vector<Entry>, IoError> entries(
        const SystemCalls& os = PosixCalls{}) const;

private:
    std::filesystem::path m_root;
    std::filesystem::path m_pilot;
};

// A pilot with a history, as the listing of every history shows it.
struct PilotSummary {
    std::filesystem::path pilot;
    std::filesystem::path folder;
    std::size_t versions = 0;
    std::int64_t newest = 0;
};
// Every pilot with at least one version under the root, by path; nothing when the root does
// not exist yet.
[[nodiscard]] std::variant<std::vector<PilotSummary>, IoError> allHistories(
    const std::filesystem::path& root, const SystemCalls& os = PosixCalls{});

}  // namespace pilot::history
