#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "PilotFileIO.h"
#include "PilotRecord.h"

namespace testing_support {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }
    [[nodiscard]] std::filesystem::path operator/(const std::string& name) const {
        return m_path / name;
    }

private:
    std::filesystem::path m_path;
};

// Points XDG_STATE_HOME at a fresh temporary folder for the object's lifetime, so that
// nothing a test runs keeps pilot versions in the user's own history. Every test program
// makes one before anything else (the test mains).
class StateFolder {
public:
    StateFolder();
    ~StateFolder();
    StateFolder(const StateFolder&) = delete;
    StateFolder& operator=(const StateFolder&) = delete;

private:
    TempDir m_dir;
};

// The history root of the test program (under its state folder).
[[nodiscard]] std::filesystem::path historyRoot();

// The record's 1928 bytes as a file holds them.
[[nodiscard]] std::string textOf(const pilot::PilotRecord& record);

// The error a checked save gave, or nothing when it saved (a question about a changed file
// counts as a failed test: the callers expect none).
[[nodiscard]] std::optional<pilot::IoError> errorOf(
    const std::variant<pilot::FileStamp, pilot::ChangedOnDisk, pilot::IoError>& result);

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void writeBytes(const std::filesystem::path& path, const std::string& bytes);
void writeRecord(const std::filesystem::path& path, const pilot::PilotRecord& record);
[[nodiscard]] std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
[[nodiscard]] std::string readText(const std::filesystem::path& path);
// The names of the entries of a folder, to see that nothing else was left there.
[[nodiscard]] std::set<std::string> namesIn(const std::filesystem::path& folder);

// A record whose every byte is a pseudo-random pattern from the seed (reserved stretches
// and spare craft slots included).
[[nodiscard]] pilot::PilotRecord patternedRecord(std::uint32_t seed);

// A read-only tmpfs mounted at a folder for the lifetime of the object, where the system
// lets the test mount one (root in a namespace that allows it); `mounted()` says whether.
class ReadOnlyMount {
public:
    explicit ReadOnlyMount(const std::filesystem::path& folder);
    ~ReadOnlyMount();
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;
    [[nodiscard]] bool mounted() const { return m_mounted; }
    // Remounts read-write so that files can be put in place, then read-only again.
    bool populate(const std::vector<std::pair<std::string, std::string>>& files);

private:
    std::filesystem::path m_folder;
    bool m_mounted = false;
};

// A small read-write tmpfs that the test can fill up, where the system lets it mount one.
class TinyDisk {
public:
    explicit TinyDisk(std::filesystem::path folder, const std::string& size = "16k");
    ~TinyDisk();
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;
    [[nodiscard]] bool mounted() const { return m_mounted; }

    // Writes a file until the disk refuses more; true when it ended with "no space".
    [[nodiscard]] bool fill(const std::string& name) const;

private:
    std::filesystem::path m_folder;
    bool m_mounted = false;
};

// Runs `body` in a child process as another user (uid, gid and supplementary groups) and
// returns its exit status; kCannotSwitchUser when the process may not become that user.
inline constexpr int kCannotSwitchUser = 125;
[[nodiscard]] int runAsUser(uid_t uid, gid_t gid, const std::vector<gid_t>& groups,
                            const std::function<int()>& body);

// The error of an outcome that is a result or an error, or nothing when it succeeded.
template <typename Result>
[[nodiscard]] std::optional<pilot::IoError> errorOf(
    const std::variant<Result, pilot::IoError>& outcome) {
    if (const auto* error = std::get_if<pilot::IoError>(&outcome)) {
        return *error;
    }
    return std::nullopt;
}

}  // namespace testing_support
