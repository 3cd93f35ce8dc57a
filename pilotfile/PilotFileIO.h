#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

#include "IoError.h"
#include "PilotRecord.h"

namespace pilot {

// Reads the first 1928 bytes of a pilot file. The file is opened for reading only; a
// longer file is accepted, a shorter one fails with ReadPastEnd. Nothing is returned
// unless the whole record was read.
[[nodiscard]] std::variant<PilotRecord, IoError> loadPilotFile(const std::filesystem::path& path);

// Writes the record as the whole content of the file (safe replacement, see writeFileSafely).
[[nodiscard]] std::optional<IoError> savePilotFile(const std::filesystem::path& path,
                                                   const PilotRecord& record);

// Replaces the file's content with the bytes, or creates the file. The bytes go to a new
// temporary file in the target's folder, which is flushed, synced, closed and then renamed
// over the target: a failure at any step leaves the old file as it was and no temporary
// file behind. An existing target keeps its permission bits; a target without any write
// bit counts as write-protected (even for root) and fails with AccessDenied untouched.
// A symbolic link stays a link: the file it points to is the one replaced.
[[nodiscard]] std::optional<IoError> writeFileSafely(const std::filesystem::path& path,
                                                     std::string_view bytes);

// Appends the bytes at the end of an existing file, checking every write and the close.
[[nodiscard]] std::optional<IoError> appendToFile(const std::filesystem::path& path,
                                                  std::string_view bytes);

}  // namespace pilot
