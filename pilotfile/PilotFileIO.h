#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>

#include "Durability.h"
#include "FileStamp.h"
#include "IoError.h"
#include "PilotRecord.h"
#include "SystemCalls.h"

// Every function here takes the system calls it works through last; the real ones unless a
// test passes others.
namespace pilot {

// Reads the first 1928 bytes of a pilot file. The file is opened for reading only; a
// longer file is accepted, a shorter one fails with ReadPastEnd, and anything but a regular
// file (a folder, a pipe, a device) with AccessDenied. Nothing is returned unless the whole
// record was read.
[[nodiscard]] std::variant<PilotRecord, IoError> loadPilotFile(
    const std::filesystem::path& path, const SystemCalls& os = PosixCalls{});

// Reads a record from an open descriptor (standard input), whatever it is: the first 1928
// bytes, ReadPastEnd when it ends before.
[[nodiscard]] std::variant<PilotRecord, IoError> readPilotRecord(
    int fd, const SystemCalls& os = PosixCalls{});

// A loaded pilot with the stamp of the file it came from.
struct LoadedPilot {
    PilotRecord record;
    FileStamp stamp;
};
// loadPilotFile, also giving the stamp of the file as it was read (from the descriptor that
// read it, taken before reading).
[[nodiscard]] std::variant<LoadedPilot, IoError> loadPilotFileWithStamp(
    const std::filesystem::path& path, const SystemCalls& os = PosixCalls{});

// A checked save found the file changed by another program since the stamp it was given,
// and wrote nothing. `current` is the file as the check found it: saving again with it as
// the expected stamp overwrites exactly what the user was asked about.
struct ChangedOnDisk {
    FileStamp current;
};
// Saves the record unless the file has been changed since `expected` (see holdsTheSame);
// without an expected stamp, it saves unconditionally. The file is compared under the same
// lock that the save holds, so nothing can come in between. A file that is gone counts as
// unchanged; a name that is no regular file fails as a save there would. On success, the
// stamp of the file as written.
[[nodiscard]] std::variant<FileStamp, ChangedOnDisk, IoError> savePilotFileChecked(
    const std::filesystem::path& path, const PilotRecord& record,
    const std::optional<FileStamp>& expected, const SystemCalls& os = PosixCalls{});

// Writes the record as the whole content of the file (see writeFileSafely).
[[nodiscard]] std::optional<IoError> savePilotFile(const std::filesystem::path& path,
                                                   const PilotRecord& record,
                                                   const SystemCalls& os = PosixCalls{});

// Reads an existing pilot file, lets `edit` change the record and saves it, all under one
// lock: two programs editing the same file at once each see the other's result.
[[nodiscard]] std::optional<IoError> updatePilotFile(const std::filesystem::path& path,
                                                     const std::function<void(PilotRecord&)>& edit,
                                                     const SystemCalls& os = PosixCalls{});

// Replaces the file's content with the bytes, or creates the file. Writers of one file take
// turns (an advisory lock on it). The new content is written to a new file in the folder
// that replaces the old one only when complete: a failure at any step, or the program
// killed at any moment, leaves the old file as it was. The replaced file keeps its
// permission bits, and its owner and group as far as the process may set them; a target
// without any write bit counts as write-protected (even for root) and fails with
// AccessDenied, untouched. Anything but a regular file also fails with AccessDenied.
[[nodiscard]] std::optional<IoError> writeFileSafely(const std::filesystem::path& path,
                                                     std::string_view bytes,
                                                     Durability durability = Durability::Synced,
                                                     const SystemCalls& os = PosixCalls{});

// Makes everything written on the file system of the folder durable; ends a run of writes
// made with Durability::SyncedLater.
[[nodiscard]] std::optional<IoError> syncFileSystem(const std::filesystem::path& folder,
                                                    const SystemCalls& os = PosixCalls{});

// Appends the bytes at the end of an existing regular file, under its lock, and syncs
// them. A failed append cuts the file back to its old length. A pipe or device is refused
// at once with AccessDenied, without waiting for a reader.
[[nodiscard]] std::optional<IoError> appendToFile(const std::filesystem::path& path,
                                                  std::string_view bytes,
                                                  const SystemCalls& os = PosixCalls{});

// Where createOrAppend put its bytes: a new file, or appended to an existing one at
// `offset`, its length just before (what other writers appended before them included).
struct Placement {
    bool appended = false;
    std::uint64_t offset = 0;

    friend bool operator==(const Placement&, const Placement&) = default;
};

// Creates the file with `created` as its whole content when the name is free; when anything
// has that name (a dangling link too), appends `appended` to it instead. The new file
// appears whole or not at all, so that two programs doing this at once make one file that
// holds each one's content whole.
[[nodiscard]] std::variant<Placement, IoError> createOrAppend(const std::filesystem::path& path,
                                                              std::string_view created,
                                                              std::string_view appended,
                                                              const SystemCalls& os = PosixCalls{});

}  // namespace pilot
