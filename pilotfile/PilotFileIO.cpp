#include "PilotFileIO.h"

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "AtomicFile.h"
#include "FileSteps.h"

namespace pilot {

namespace {

namespace fs = std::filesystem;
using steps::Descriptor;
using steps::errorAt;
using storage::LockedFile;
using storage::Place;

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr int kAttempts = 16;  // rounds against programs that keep replacing the file

std::string_view bytesOf(const PilotRecord& record) {
    const auto& bytes = record.bytes();
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Reads one record from the descriptor's position.
std::variant<PilotRecord, IoError> readRecord(int fd, const fs::path& path, const SystemCalls& os) {
    PilotRecord::Bytes buffer{};
    std::size_t filled = 0;
    if (const int error = steps::readFully(os, fd, buffer, filled)) {
        return errorAt(error, path, IoError::Transfer::Reading);
    }
    if (filled < buffer.size()) {
        return IoError{IoError::ReadPastEnd};
    }
    return PilotRecord(buffer);
}

// A file that may be written to: a regular file with at least one write bit set (a file
// without any counts as write-protected, also for root, who could write it anyway) that
// the process may write.
std::optional<IoError> checkWritable(const Place& place, const struct stat& info,
                                     const SystemCalls& os) {
    if (!S_ISREG(info.st_mode) || (info.st_mode & kAnyWriteBit) == 0) {
        return IoError{IoError::AccessDenied};
    }
    if (os.accessAt(place.folder.get(), place.name.c_str(), W_OK, AT_EACCESS) != 0) {
        return errorAt(errno, place.path);
    }
    return std::nullopt;
}

// What a write puts into its target, decided once the target is locked (or known to be
// absent, nullptr): the bytes, or why nothing is written.
using Decision = std::variant<std::string_view, ChangedOnDisk, IoError>;
using Written = std::variant<struct stat, ChangedOnDisk, IoError>;

std::optional<Written> unlessBytes(const Decision& decision) {
    if (auto* changed = std::get_if<ChangedOnDisk>(&decision)) {
        return Written(*changed);
    }
    if (auto* error = std::get_if<IoError>(&decision)) {
        return Written(*error);
    }
    return std::nullopt;
}

// The course of every write of a whole file: a free name is created, an existing file is
// locked, looked at by `decide` and replaced. When another program removes or replaces the
// file while this one waits for the lock, it starts over with what the name holds then.
template <typename Decide>
Written writeTarget(const fs::path& path, Durability durability, const SystemCalls& os,
                    Decide&& decide) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto opened = storage::openPlace(path, os);
        if (const auto* error = std::get_if<IoError>(&opened)) {
            return *error;
        }
        Place& place = std::get<Place>(opened);
        if (!place.existing) {
            Decision decision = decide(place, nullptr);
            if (auto refused = unlessBytes(decision)) {
                return *refused;
            }
            auto created =
                storage::createFile(place, std::get<std::string_view>(decision), durability, os);
            if (std::holds_alternative<storage::Exists>(created)) {
                continue;  // made by another program meanwhile
            }
            if (const auto* error = std::get_if<IoError>(&created)) {
                return *error;
            }
            return std::get<struct stat>(created);
        }
        std::optional<LockedFile> locked;
        if (!S_ISLNK(place.existing->st_mode)) {  // a link to nowhere is replaced by the file
            if (const auto error = checkWritable(place, *place.existing, os)) {
                return *error;
            }
            auto result = storage::lockExisting(place, os);
            if (std::holds_alternative<storage::Moved>(result)) {
                continue;
            }
            if (const auto* error = std::get_if<IoError>(&result)) {
                return *error;
            }
            locked.emplace(std::move(std::get<LockedFile>(result)));
        }
        Decision decision = decide(place, locked ? &*locked : nullptr);
        if (auto refused = unlessBytes(decision)) {
            return *refused;
        }
        auto replaced = storage::replaceFile(place, std::get<std::string_view>(decision),
                                             locked ? &locked->info : nullptr, durability, os);
        if (const auto* error = std::get_if<IoError>(&replaced)) {
            return *error;
        }
        return std::get<struct stat>(replaced);
    }
    return IoError{IoError::SharingViolation};
}

std::optional<IoError> errorOf(const Written& written) {
    if (const auto* error = std::get_if<IoError>(&written)) {
        return *error;
    }
    return std::nullopt;
}

// The locked file's stamp; its content only when it could be read.
std::variant<FileStamp, IoError> lockedStamp(const LockedFile& locked, const Place& place,
                                             const SystemCalls& os) {
    PilotRecord::Bytes head{};
    if (locked.readable) {
        if (const int error = steps::readHead(os, locked.fd.get(), head)) {
            return errorAt(error, place.path, IoError::Transfer::Reading);
        }
    }
    return stampOf(locked.info, head);
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

}  // namespace

std::variant<LoadedPilot, IoError> loadPilotFileWithStamp(const fs::path& path,
                                                          const SystemCalls& os) {
    struct stat info {};
    auto opened = steps::openFileToRead(os, path, info);
    if (const auto* error = std::get_if<IoError>(&opened)) {
        return *error;
    }
    Descriptor& file = std::get<Descriptor>(opened);
    auto read = readRecord(file.get(), path, os);
    if (const auto* error = std::get_if<IoError>(&read)) {
        return *error;
    }
    if (const int error = file.close()) {
        return errorAt(error, path, IoError::Transfer::Reading);
    }
    const auto& record = std::get<PilotRecord>(read);
    return LoadedPilot{record, stampOf(info, record.bytes())};
}

std::variant<PilotRecord, IoError> loadPilotFile(const fs::path& path, const SystemCalls& os) {
    auto loaded = loadPilotFileWithStamp(path, os);
    if (const auto* error = std::get_if<IoError>(&loaded)) {
        return *error;
    }
    return std::get<LoadedPilot>(loaded).record;
}

std::variant<PilotRecord, IoError> readPilotRecord(int fd, const SystemCalls& os) {
    return readRecord(fd, {}, os);
}

std::variant<FileStamp, ChangedOnDisk, IoError> savePilotFileChecked(
    const fs::path& path, const PilotRecord& record, const std::optional<FileStamp>& expected,
    const SystemCalls& os) {
    const auto written =
        writeTarget(path, Durability::Synced, os,
                    [&](const Place& place, const LockedFile* existing) -> Decision {
                        if (expected && existing) {
                            auto current = lockedStamp(*existing, place, os);
                            if (const auto* error = std::get_if<IoError>(&current)) {
                                return *error;
                            }
                            const FileStamp& now = std::get<FileStamp>(current);
                            if (!holdsTheSame(now, *expected, existing->readable)) {
                                return ChangedOnDisk{now};
                            }
                        }
                        return bytesOf(record);
                    });
    if (const auto* changed = std::get_if<ChangedOnDisk>(&written)) {
        return *changed;
    }
    if (const auto* error = std::get_if<IoError>(&written)) {
        return *error;
    }
    return stampOf(std::get<struct stat>(written), record.bytes());
}

std::optional<IoError> savePilotFile(const fs::path& path, const PilotRecord& record,
                                     const SystemCalls& os) {
    return writeFileSafely(path, bytesOf(record), Durability::Synced, os);
}

std::optional<IoError> writeFileSafely(const fs::path& path, std::string_view bytes,
                                       Durability durability, const SystemCalls& os) {
    return errorOf(writeTarget(path, durability, os,
                               [&](const Place&, const LockedFile*) -> Decision { return bytes; }));
}

}  // namespace pilot

namespace pilot {

std::optional<IoError> updatePilotFile(const fs::path& path,
                                       const std::function<void(PilotRecord&)>& edit,
                                       const SystemCalls& os) {
    PilotRecord record;
    return errorOf(writeTarget(path, Durability::Synced, os,
                               [&](const Place& place, const LockedFile* existing) -> Decision {
                                   if (!existing) {
                                       return IoError{IoError::FileNotFound};
                                   }
                                   if (!existing->readable) {
                                       return IoError{IoError::AccessDenied};
                                   }
                                   auto read = readRecord(existing->fd.get(), place.path, os);
                                   if (const auto* error = std::get_if<IoError>(&read)) {
                                       return *error;
                                   }
                                   record = std::get<PilotRecord>(read);
                                   edit(record);
                                   return bytesOf(record);
                               }));
}

std::optional<IoError> syncFileSystem(const fs::path& folder, const SystemCalls& os) {
    Descriptor fd = steps::openAt(os, AT_FDCWD, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (!fd.valid()) {
        return errorAt(errno, folder);
    }
    int error = os.syncfs(fd.get()) == 0 ? 0 : errno;
    if (error == 0) {
        error = fd.close();
    }
    if (error != 0) {
        return errorAt(error, folder);
    }
    return std::nullopt;
}

namespace {

// Appends as appendToFile says; the file's length before the bytes, where they begin.
std::variant<std::uint64_t, IoError> appendAtEnd(const fs::path& path, std::string_view bytes,
                                                 const SystemCalls& os) {
    if (path.empty()) {
        return IoError{IoError::InvalidPath};
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Descriptor file =
            steps::openAt(os, AT_FDCWD, path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
        if (!file.valid()) {
            // ENXIO: a named pipe that nobody reads.
            return errno == ENXIO ? IoError{IoError::AccessDenied} : errorAt(errno, path);
        }
        struct stat info {};
        if (os.fstat(file.get(), &info) != 0) {
            return errorAt(errno, path);
        }
        if (!S_ISREG(info.st_mode) || (info.st_mode & kAnyWriteBit) == 0) {
            return IoError{IoError::AccessDenied};
        }
        if (const int error = steps::lockExclusive(os, file.get())) {
            return errorAt(error, path);
        }
        bool named = false;
        if (const int error = steps::stillNamed(os, AT_FDCWD, path.c_str(), 0, file.get(), named)) {
            return errorAt(error, path);
        }
        if (!named) {
            continue;  // replaced while this append waited for the lock
        }
        // The length under the lock, which other appenders respect.
        if (os.fstat(file.get(), &info) != 0) {
            return errorAt(errno, path);
        }
        int error = appendLocked(file.get(), info.st_size, bytes, os);
        if (error == 0) {
            error = file.close();
        }
        if (error != 0) {
            return errorAt(error, path);
        }
        return static_cast<std::uint64_t>(info.st_size);
    }
    return IoError{IoError::SharingViolation};
}

}  // namespace

std::optional<IoError> appendToFile(const fs::path& path, std::string_view bytes,
                                    const SystemCalls& os) {
    auto appended = appendAtEnd(path, bytes, os);
    if (auto* error = std::get_if<IoError>(&appended)) {
        return *error;
    }
    return std::nullopt;
}

std::variant<Placement, IoError> createOrAppend(const fs::path& path, std::string_view created,
                                                std::string_view appended, const SystemCalls& os) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto opened = storage::openPlace(path, os);
        if (const auto* error = std::get_if<IoError>(&opened)) {
            return *error;
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
        if (const auto* error = std::get_if<IoError>(&made)) {
            return *error;
        }
        if (!std::holds_alternative<storage::Exists>(made)) {
            return Placement{};
        }
    }
    return IoError{IoError::SharingViolation};
}

}  // namespace pilot
