#include "ByteFiles.h"

#include <cerrno>
#include <cstdint>
#include <variant>

#include <fcntl.h>
#include <unistd.h>

#include "AtomicFile.h"
#include "TargetWrite.h"

namespace pilot {

namespace {

namespace fs = std::filesystem;
using steps::Descriptor;
using storage::Place;

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr int kAttempts = 16;  // rounds against programs that keep replacing the file

std::optional<IoError> failureOf(const storage::Written& written) {
    if (const auto* error = std::get_if<IoError>(&written)) {
        return *error;
    }
    return std::nullopt;
}

std::optional<IoError> failureOf(int error) {
    if (error != 0) {
        return IoError::fromErrno(error);
    }
    return std::nullopt;
}

// Appends to the open, locked file; on failure cuts it back to `oldSize`.
int appendLocked(int fd, off_t oldSize, std::string_view bytes, const SystemCalls& os) {
    int error = steps::writeAll(os, fd, bytes);
    if (error == 0) {
        error = steps::syncFile(os, fd);
    }
    if (error != 0) {
        // Whatever part got through goes again; the failure to report is the first one.
        os.ftruncate(fd, oldSize);
    }
    return error;
}

// One round of an append: the file opened in its folder, locked and still under its name;
// `moved` when another program replaced it while the lock was awaited; `offset`, the length
// the bytes were appended at.
int appendOnce(const fs::path& path, std::string_view bytes, const SystemCalls& os, bool& moved,
               std::uint64_t& offset) {
    steps::FolderAndName place{Descriptor(os, -1), {}};
    if (const int error = steps::openFolderOf(os, AT_FDCWD, path, O_PATH, place)) {
        return error;
    }
    if (place.name.empty()) {
        return EISDIR;
    }
    Descriptor file = steps::openAt(os, place.folder.get(), place.name.c_str(),
                                    O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (!file.valid()) {
        // ENXIO: a named pipe that nobody reads.
        return errno == ENXIO ? EACCES : errno;
    }
    struct stat info {};
    if (os.fstat(file.get(), &info) != 0) {
        return errno;
    }
    if (!S_ISREG(info.st_mode) || (info.st_mode & kAnyWriteBit) == 0) {
        return EACCES;
    }
    if (const int error = steps::lockExclusive(os, file.get())) {
        return error;
    }
    bool named = false;
    if (const int error =
            steps::stillNamed(os, place.folder.get(), place.name.c_str(), 0, file.get(), named)) {
        return error;
    }
    if (!named) {
        moved = true;
        return 0;
    }
    // The length under the lock, which other appenders respect.
    if (os.fstat(file.get(), &info) != 0) {
        return errno;
    }
    if (const int error = appendLocked(file.get(), info.st_size, bytes, os)) {
        return error;
    }
    offset = static_cast<std::uint64_t>(info.st_size);
    return file.close();
}

// Appends as appendToFile says; the offset the bytes begin at.
std::variant<std::uint64_t, IoError> appendAtEnd(const fs::path& path, std::string_view bytes,
                                                 const SystemCalls& os) {
    if (path.empty()) {
        return IoError{IoError::InvalidPath};
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        bool moved = false;
        std::uint64_t offset = 0;
        if (const int error = appendOnce(path, bytes, os, moved, offset)) {
            return IoError::fromErrno(error);
        }
        if (!moved) {
            return offset;
        }
    }
    return IoError{IoError::SharingViolation};
}

}  // namespace

std::optional<IoError> writeFileSafely(const fs::path& path, std::string_view bytes,
                                       Durability durability, const SystemCalls& os) {
    return failureOf(storage::writeTarget(
        path, durability, os,
        [&](const Place&, const storage::LockedFile*) -> storage::Decision { return bytes; }));
}

std::optional<IoError> syncFileSystem(const fs::path& folder, const SystemCalls& os) {
    Descriptor fd = steps::openAt(os, AT_FDCWD, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (!fd.valid()) {
        // The folder itself is missing: the path names no folder.
        return failureOf(errno == ENOENT ? ENOTDIR : errno);
    }
    int error = os.syncfs(fd.get()) == 0 ? 0 : errno;
    if (error == 0) {
        error = fd.close();
    }
    return failureOf(error);
}

std::optional<IoError> appendToFile(const fs::path& path, std::string_view bytes,
                                    const SystemCalls& os) {
    auto appended = appendAtEnd(path, bytes, os);
    if (const auto* error = std::get_if<IoError>(&appended)) {
        return *error;
    }
    return std::nullopt;
}

std::variant<Placement, IoError> createOrAppend(const fs::path& path, std::string_view created,
                                                std::string_view appended, const SystemCalls& os) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto opened = storage::openPlace(path, os);
        if (const auto* failed = std::get_if<steps::Failure>(&opened)) {
            return storage::errorOf(*failed);
        }
        Place& place = std::get<Place>(opened);
        if (place.existing) {
            auto at = appendAtEnd(path, appended, os);
            if (const auto* error = std::get_if<IoError>(&at)) {
                return *error;
            }
            return Placement{.appended = true, .offset = std::get<std::uint64_t>(at)};
        }
        auto made = storage::createFile(place, created, Durability::Synced, os);
        if (const auto* failed = std::get_if<steps::Failure>(&made)) {
            return storage::errorOf(*failed);
        }
        if (!std::holds_alternative<storage::Exists>(made)) {
            return Placement{};
        }
    }
    return IoError{IoError::SharingViolation};
}

}  // namespace pilot
