#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

#include "Durability.h"
#include "IoError.h"
#include "SystemCalls.h"

// The writing of files of any bytes (the text report, the submission form, the history's
// versions): a whole file replaced safely, an append, a create-or-append and the sync of a
// file system. Every function takes the system calls it works through last; the real ones
// unless a test passes others.
namespace pilot {

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
