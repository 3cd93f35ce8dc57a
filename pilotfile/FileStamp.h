#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include <sys/stat.h>

#include "PilotRecord.h"
#include "SystemCalls.h"

namespace pilot {

// What the editor remembers of its pilot file as it last loaded or saved it, to tell later
// whether another program (the game, most often) has written the file since.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    PilotRecord::Bytes content{};  // the first 1928 bytes (zeros after a shorter file's end)

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of a file as fstat describes it, with the content given.
[[nodiscard]] FileStamp stampOf(const struct stat& info, const PilotRecord::Bytes& content);

// Whether a file now stamped `now` still holds what `then` remembers: the same file with the
// same size and modification time is unchanged without looking at its bytes; otherwise it is
// unchanged only when its content was read (`contentRead`) and it has the same size and the
// same first 1928 bytes (a program that wrote the same bytes again changed nothing).
[[nodiscard]] bool holdsTheSame(const FileStamp& now, const FileStamp& then, bool contentRead);

// Whether the file at `path` no longer holds what `stamp` remembers (see holdsTheSame). A
// file that is gone, or that cannot be read, counts as unchanged: writing it loses nothing
// another program made, and a write that cannot succeed reports its own error.
[[nodiscard]] bool changedSince(const std::filesystem::path& path, const FileStamp& stamp,
                                const SystemCalls& os = PosixCalls{});

// The stamp of the file as it is now; nothing when it is missing, not a regular file or
// unreadable.
[[nodiscard]] std::optional<FileStamp> currentStamp(const std::filesystem::path& path,
                                                    const SystemCalls& os = PosixCalls{});

}  // namespace pilot
