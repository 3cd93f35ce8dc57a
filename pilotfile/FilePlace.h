#pragma once

#include <optional>
#include <string>
#include <variant>

#include <sys/stat.h>

#include "FileSteps.h"

// Where a write puts its file: the target's folder held open for the *at calls, and the
// existing file under its lock. Failures are the errno of the step that failed.
namespace pilot::storage {

// The folder of a target, held open for the *at calls, the target's name in it, and what
// had the name when the place was opened. Saving through a symbolic link replaces the file
// it points to and keeps the link; a link to nowhere is replaced itself.
struct Place {
    steps::Descriptor folder;
    bool syncable = false;  // opened for reading, which syncing it needs
    std::string name;
    std::optional<struct stat> existing;  // nothing when the name is free
};
// A path that names no file in its folder (empty, "pilots/", "pilots/..") fails with EINVAL
// when empty, with EISDIR when the folder exists and ENOTDIR when it does not.
[[nodiscard]] std::variant<Place, steps::Failure> openPlace(const std::filesystem::path& path,
                                                            const SystemCalls& os);

// An existing regular file under an exclusive lock, as it was when the lock was taken.
struct LockedFile {
    steps::Descriptor fd;
    struct stat info {};
    bool readable = false;  // opened for reading; a write-only file is locked all the same
};
// The place's name was removed or replaced by another file while the lock was awaited: the
// caller looks at the name again.
struct Moved {};
// Anything but a regular file is refused with EACCES, as a write-protected file would be.
[[nodiscard]] std::variant<LockedFile, Moved, steps::Failure> lockExisting(Place& place,
                                                                           const SystemCalls& os);

// Makes the place's folder entries durable; 0 or the errno.
[[nodiscard]] int syncFolder(const Place& place, const SystemCalls& os);

}  // namespace pilot::storage
