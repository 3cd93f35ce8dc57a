#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <variant>

#include "IoError.h"
#include "SystemCalls.h"

namespace pilot {

// The bytes of a text file, as far as a limit.
struct TextContent {
    std::string bytes;
    bool whole = true;  // false when the content goes on beyond the limit
};

// Reads a text file (a form file), opened for reading only, up to `limit` bytes. A folder,
// pipe or device where a file is expected fails at once with AccessDenied, as for a pilot
// file.
[[nodiscard]] std::variant<TextContent, IoError> readTextFile(const std::filesystem::path& path,
                                                              std::size_t limit,
                                                              const SystemCalls& os = PosixCalls{});

// Reads an open descriptor (standard input), whatever it is, to its end or the limit.
[[nodiscard]] std::variant<TextContent, IoError> readText(int fd, std::size_t limit,
                                                          const SystemCalls& os = PosixCalls{});

}  // namespace pilot
