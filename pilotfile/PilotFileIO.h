#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <variant>

#include "FileStamp.h"
#include "IoError.h"
#include "PilotRecord.h"
#include "SystemCalls.h"

// The pilot record's load and save. Every function here takes the system calls it works
// through last; the real ones unless a test passes others. The writes themselves are those
// of ByteFiles.h: whole or not at all, under the file's lock.
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

// The file a save is about to replace, as it is under the save's lock: its record (the
// first 1928 bytes), or why there is none (ReadPastEnd: shorter than a record;
// AccessDenied: the file may be written but not read).
using ReplacedPilot = std::variant<PilotRecord, IoError>;
// Called under the pilot's lock once a save has decided to write over an existing file,
// before it does so, unless the file's record is the one about to be written. Whatever it
// does with it (the history keeps it) never stops the save.
using KeepReplaced = std::function<void(const ReplacedPilot& replaced)>;

// What a checked save expects to find at its path: anything (it is written over), no file
// at all, or the file as a load or save stamped it.
struct AnyFile {};
struct NoFile {};
using ExpectedFile = std::variant<AnyFile, NoFile, FileStamp>;

// A checked save found something else than it expected (a file changed by another program
// since its stamp, or a file where none was expected) and wrote nothing. `current` is the
// file as the check found it: saving again with it as the expected stamp overwrites exactly
// what the user was asked about.
struct ChangedOnDisk {
    FileStamp current;
};
// Saves the record unless the path holds something else than `expected` (a stamp is
// compared as holdsTheSame does). The file is compared under the same lock that the save
// holds, so nothing can come in between. A stamped file that is gone counts as unchanged;
// a name that is no regular file fails as a save there would. On success, the stamp of the
// file as written.
[[nodiscard]] std::variant<FileStamp, ChangedOnDisk, IoError> savePilotFileChecked(
    const std::filesystem::path& path, const PilotRecord& record, const ExpectedFile& expected,
    const KeepReplaced& keep = {}, const SystemCalls& os = PosixCalls{});

// Writes the record as the whole content of the file (see writeFileSafely).
[[nodiscard]] std::optional<IoError> savePilotFile(const std::filesystem::path& path,
                                                   const PilotRecord& record,
                                                   const KeepReplaced& keep = {},
                                                   const SystemCalls& os = PosixCalls{});

// Reads an existing pilot file, lets `edit` change the record and saves it, all under one
// lock: two programs editing the same file at once each see the other's result.
[[nodiscard]] std::optional<IoError> updatePilotFile(const std::filesystem::path& path,
                                                     const std::function<void(PilotRecord&)>& edit,
                                                     const KeepReplaced& keep = {},
                                                     const SystemCalls& os = PosixCalls{});

}  // namespace pilot
