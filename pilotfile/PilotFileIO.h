#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

#include "FileStamp.h"
#include "IoError.h"
#include "PilotRecord.h"

namespace pilot {

// Reads the first 1928 bytes of a pilot file. The file is opened for reading only; a
// longer file is accepted, a shorter one fails with ReadPastEnd, and anything but a regular
// file (a folder, a pipe, a device) with AccessDenied. Nothing is returned unless the whole
// record was read.
[[nodiscard]] std::variant<PilotRecord, IoError> loadPilotFile(const std::filesystem::path& path);

// A loaded pilot with the stamp of the file it came from.
struct LoadedPilot {
    PilotRecord record;
    FileStamp stamp;
};
// loadPilotFile, also giving the stamp of the file as it was read.
[[nodiscard]] std::variant<LoadedPilot, IoError> loadPilotFileWithStamp(
    const std::filesystem::path& path);

// A checked save found the file changed by another program since the stamp it was given,
// and wrote nothing. `current` is the file as the check found it: saving again with it as
// the expected stamp overwrites exactly what the user was asked about.
struct ChangedOnDisk {
    FileStamp current;
};
// Saves the record unless the file has been changed since `expected` (see changedSince);
// without an expected stamp, it saves unconditionally. On success, the stamp of the file
// as written.
[[nodiscard]] std::variant<FileStamp, ChangedOnDisk, IoError> savePilotFileChecked(
    const std::filesystem::path& path, const PilotRecord& record,
    const std::optional<FileStamp>& expected);

// Writes the record as the whole content of the file (safe replacement, see writeFileSafely).
[[nodiscard]] std::optional<IoError> savePilotFile(const std::filesystem::path& path,
                                                   const PilotRecord& record);

// Replaces the file's content with the bytes, or creates the file. An existing file is
// replaced through a new temporary file in its folder, which is written, synced, closed and
// then renamed over it: a failure at any step leaves the old file as it was and no
// temporary file behind. The replaced file keeps its permission bits; a target without any
// write bit counts as write-protected (even for root) and fails with AccessDenied,
// untouched. A name that does not exist yet is written in place and removed again when
// the write fails.
[[nodiscard]] std::optional<IoError> writeFileSafely(const std::filesystem::path& path,
                                                     std::string_view bytes);

// Appends the bytes at the end of an existing file, checking every write and the close.
[[nodiscard]] std::optional<IoError> appendToFile(const std::filesystem::path& path,
                                                  std::string_view bytes);

}  // namespace pilot
