#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <sys/stat.h>

#include "Durability.h"
#include "FileSteps.h"
#include "IoError.h"

// Writing a file so that its name holds either the old or the new content, whole, at every
// moment. The new content is written into a file without a name where the file system has
// them (O_TMPFILE), otherwise into a temporary file named after the target, and then takes
// the target's name.
//
// The temporary name is derived from the target's name alone: one short name per target,
// whatever the target's length. While a save uses it the file is locked; a file of that
// name that nobody holds was left by a save that was killed, and the next save of the same
// target removes it.
namespace pilot::storage {

// The folder of a target, held open for the *at calls, the target's name in it, and what
// had the name when the place was opened. Saving through a symbolic link replaces the file
// it points to and keeps the link; a link to nowhere is replaced itself.
struct Place {
    steps::Descriptor folder;
    bool syncable = false;  // opened for reading, which syncing it needs
    std::string name;
    std::filesystem::path path;           // the target as errors name it
    std::optional<struct stat> existing;  // nothing when the name is free
};
[[nodiscard]] std::variant<Place, IoError> openPlace(const std::filesystem::path& path,
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
[[nodiscard]] std::variant<LockedFile, Moved, IoError> lockExisting(Place& place,
                                                                    const SystemCalls& os);

// Replaces whatever has the place's name by a new file of the bytes. With `old` (the file
// replaced, locked by the caller) the new file keeps its owner where the process may set it,
// its group where the process may set it, and its permission bits; without it the new file
// follows the umask. Returns the new file as written.
[[nodiscard]] std::variant<struct stat, IoError> replaceFile(Place& place, std::string_view bytes,
                                                             const struct stat* old,
                                                             Durability durability,
                                                             const SystemCalls& os);

// Creates the place's name as a new file of the bytes, unless something has that name:
// then nothing is written and the answer is Exists.
struct Exists {};
[[nodiscard]] std::variant<struct stat, Exists, IoError> createFile(Place& place,
                                                                    std::string_view bytes,
                                                                    Durability durability,
                                                                    const SystemCalls& os);

// Makes the place's folder entries durable.
[[nodiscard]] int syncFolder(const Place& place, const SystemCalls& os);

}  // namespace pilot::storage
