#include "TextFileIO.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "FileSteps.h"

namespace pilot {

namespace {

namespace fs = std::filesystem;

IoError readError(int error) {
    return IoError::fromErrno(error, IoError::Transfer::Reading);
}

// Reads in steps that let the text grow by doubling, one byte beyond the limit at most, which
// tells a longer content. Room for the expected size and one step more is taken at once, so
// that a file read to its end is never moved.
std::variant<TextContent, IoError> readFrom(int fd, std::size_t limit, std::size_t expected,
                                            const SystemCalls& os) {
    constexpr std::size_t kStep = std::size_t{1} << 16;
    TextContent content;
    content.bytes.reserve(std::min(expected, limit) + kStep);
    std::size_t filled = 0;
    for (;;) {
        const std::size_t room = std::min(kStep, limit + 1 - filled);
        content.bytes.resize(filled + room);
        std::size_t got = 0;
        const std::span<std::uint8_t> buffer(
            reinterpret_cast<std::uint8_t*>(content.bytes.data()) + filled, room);
        if (const int error = steps::readFully(os, fd, buffer, got)) {
            return readError(error);
        }
        filled += got;
        if (filled > limit) {
            content.whole = false;
            filled = limit;
            break;
        }
        if (got < room) {
            break;
        }
    }
    content.bytes.resize(filled);
    return content;
}

}  // namespace

std::variant<TextContent, IoError> readTextFile(const fs::path& path, std::size_t limit,
                                                const SystemCalls& os) {
    if (path.empty()) {
        return IoError{IoError::InvalidPath};
    }
    steps::Descriptor file(os, -1);
    struct stat info {};
    if (const int error = steps::openFileToRead(os, path, file, info)) {
        return readError(error);
    }
    auto read = readFrom(file.get(), limit, static_cast<std::size_t>(info.st_size), os);
    if (std::holds_alternative<IoError>(read)) {
        return read;
    }
    if (const int error = file.close()) {
        return readError(error);
    }
    return read;
}

std::variant<TextContent, IoError> readText(int fd, std::size_t limit, const SystemCalls& os) {
    return readFrom(fd, limit, 0, os);
}

}  // namespace pilot
