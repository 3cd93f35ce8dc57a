#include "PilotFileIO.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "FileSteps.h"
#include "TargetWrite.h"

namespace pilot {

namespace {

namespace fs = std::filesystem;
using steps::Descriptor;
using storage::Decision;
using storage::LockedFile;
using storage::Place;

constexpr auto kReading = IoError::Transfer::Reading;

std::string_view bytesOf(const PilotRecord& record) {
    const auto& bytes = record.bytes();
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

IoError readError(int error) {
    return IoError::fromErrno(error, kReading);
}

// Reads one record from the descriptor's position.
std::variant<PilotRecord, IoError> readRecord(int fd, const SystemCalls& os) {
    PilotRecord::Bytes buffer{};
    std::size_t filled = 0;
    if (const int error = steps::readFully(os, fd, buffer, filled)) {
        return readError(error);
    }
    if (filled < buffer.size()) {
        return IoError{IoError::ReadPastEnd};
    }
    return PilotRecord(buffer);
}

// The locked file's stamp; its content only when it could be read.
std::variant<FileStamp, IoError> lockedStamp(const LockedFile& locked, const SystemCalls& os) {
    PilotRecord::Bytes head{};
    if (locked.readable) {
        if (const int error = steps::readHead(os, locked.fd.get(), head)) {
            return readError(error);
        }
    }
    return stampOf(locked.info, head);
}

// Hands the locked file as it is to `keep`, unless its record is the one about to be
// written.
void keepReplaced(const KeepReplaced& keep, const LockedFile* existing, const PilotRecord& record,
                  const SystemCalls& os) {
    if (!keep || existing == nullptr) {
        return;
    }
    if (!existing->readable) {
        keep(IoError{IoError::AccessDenied});
        return;
    }
    PilotRecord::Bytes head{};
    if (const int error = steps::readHead(os, existing->fd.get(), head)) {
        keep(readError(error));
        return;
    }
    if (existing->info.st_size < static_cast<off_t>(kRecordSize)) {
        keep(IoError{IoError::ReadPastEnd});
        return;
    }
    if (head != record.bytes()) {
        keep(PilotRecord(head));
    }
}

// Whether the file under the lock is the one the save expects; the answer to give instead
// of writing, if it is not.
std::optional<Decision> unexpected(const ExpectedFile& expected, const LockedFile* existing,
                                   std::optional<ChangedOnDisk>& changed, const SystemCalls& os) {
    if (existing == nullptr || std::holds_alternative<AnyFile>(expected)) {
        return std::nullopt;
    }
    auto current = lockedStamp(*existing, os);
    if (const auto* error = std::get_if<IoError>(&current)) {
        return *error;
    }
    const FileStamp& now = std::get<FileStamp>(current);
    const auto* stamp = std::get_if<FileStamp>(&expected);
    if (stamp != nullptr && holdsTheSame(now, *stamp, existing->readable)) {
        return std::nullopt;
    }
    changed = ChangedOnDisk{now};
    return storage::Refused{};
}

std::optional<IoError> failureOf(const storage::Written& written) {
    if (const auto* error = std::get_if<IoError>(&written)) {
        return *error;
    }
    return std::nullopt;
}

}  // namespace

std::variant<LoadedPilot, IoError> loadPilotFileWithStamp(const fs::path& path,
                                                          const SystemCalls& os) {
    if (path.empty()) {
        return IoError{IoError::InvalidPath};
    }
    Descriptor file(os, -1);
    struct stat info {};
    if (const int error = steps::openFileToRead(os, path, file, info)) {
        return readError(error);
    }
    auto read = readRecord(file.get(), os);
    if (const auto* error = std::get_if<IoError>(&read)) {
        return *error;
    }
    if (const int error = file.close()) {
        return readError(error);
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
    return readRecord(fd, os);
}

std::variant<FileStamp, ChangedOnDisk, IoError> savePilotFileChecked(const fs::path& path,
                                                                     const PilotRecord& record,
                                                                     const ExpectedFile& expected,
                                                                     const KeepReplaced& keep,
                                                                     const SystemCalls& os) {
    std::optional<ChangedOnDisk> changed;
    const auto written = storage::writeTarget(
        path, Durability::Synced, os, [&](const Place&, const LockedFile* existing) -> Decision {
            if (auto answer = unexpected(expected, existing, changed, os)) {
                return *answer;
            }
            keepReplaced(keep, existing, record, os);
            return bytesOf(record);
        });
    if (changed) {
        return *changed;
    }
    if (const auto error = failureOf(written)) {
        return *error;
    }
    return stampOf(std::get<struct stat>(written), record.bytes());
}

std::optional<IoError> savePilotFile(const fs::path& path, const PilotRecord& record,
                                     const KeepReplaced& keep, const SystemCalls& os) {
    return failureOf(storage::writeTarget(
        path, Durability::Synced, os, [&](const Place&, const LockedFile* existing) -> Decision {
            keepReplaced(keep, existing, record, os);
            return bytesOf(record);
        }));
}

std::optional<IoError> updatePilotFile(const fs::path& path,
                                       const std::function<void(PilotRecord&)>& edit,
                                       const KeepReplaced& keep, const SystemCalls& os) {
    PilotRecord record;
    return failureOf(storage::writeTarget(
        path, Durability::Synced, os, [&](const Place&, const LockedFile* existing) -> Decision {
            if (!existing) {
                return IoError{IoError::FileNotFound};
            }
            if (!existing->readable) {
                return IoError{IoError::AccessDenied};
            }
            auto read = readRecord(existing->fd.get(), os);
            if (const auto* error = std::get_if<IoError>(&read)) {
                return *error;
            }
            record = std::get<PilotRecord>(read);
            edit(record);
            keepReplaced(keep, existing, record, os);
            return bytesOf(record);
        }));
}

}  // namespace pilot
