#pragma once

#include <string_view>
#include <variant>

#include <sys/stat.h>

#include "Durability.h"
#include "FilePlace.h"

// Writing a file so that its name holds either the old or the new content, whole, at every
// moment. The new content is written into a file without a name where the file system has
// them (O_TMPFILE), otherwise into a temporary file named after the target, and then takes
// the target's name. Failures are the errno of the step that failed.
//
// The temporary name is derived from the target's name alone: one short name per target,
// whatever the target's length. While a save uses it the file is locked; a file of that
// name that nobody holds was left by a save that was killed, and the next save of the same
// target removes it.
namespace pilot::storage {

// A new file follows the umask from this mode unless it is given another.
inline constexpr mode_t kNewFileMode = 0666;

// Replaces whatever has the place's name by a new file of the bytes. With `old` (the file
// replaced, locked by the caller) the new file keeps its owner where the process may set it,
// its group where the process may set it, and its permission bits; without it the new file
// follows the umask. Returns the new file as written.
[[nodiscard]] std::variant<struct stat, steps::Failure> replaceFile(Place& place,
                                                                    std::string_view bytes,
                                                                    const struct stat* old,
                                                                    Durability durability,
                                                                    const SystemCalls& os);

// Creates the place's name as a new file of the bytes with the mode (narrowed by the
// umask), unless something has that name: then nothing is written and the answer is Exists.
struct Exists {};
[[nodiscard]] std::variant<struct stat, Exists, steps::Failure> createFile(
    Place& place, std::string_view bytes, Durability durability, const SystemCalls& os,
    mode_t mode = kNewFileMode);

}  // namespace pilot::storage
