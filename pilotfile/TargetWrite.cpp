#include "TargetWrite.h"

#include <cerrno>
#include <optional>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "AtomicFile.h"

namespace pilot::storage {

namespace {

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr int kAttempts = 16;  // rounds against programs that keep replacing the file

// A file that may be written to: a regular file with at least one write bit set (a file
// without any counts as write-protected, also for root, who could write it anyway) that
// the process may write.
int checkWritable(const Place& place, const struct stat& info, const SystemCalls& os) {
    if (!S_ISREG(info.st_mode) || (info.st_mode & kAnyWriteBit) == 0) {
        return EACCES;
    }
    if (os.accessAt(place.folder.get(), place.name.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    return 0;
}

std::optional<Written> unlessBytes(const Decision& decision) {
    if (std::holds_alternative<Refused>(decision)) {
        return Written(Refused{});
    }
    if (const auto* error = std::get_if<IoError>(&decision)) {
        return Written(*error);
    }
    return std::nullopt;
}

}  // namespace

IoError errorOf(const steps::Failure& failure, IoError::Transfer transfer) {
    return IoError::fromErrno(failure.error, transfer);
}

Written writeTarget(const std::filesystem::path& path, Durability durability, const SystemCalls& os,
                    const Decide& decide) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        auto opened = openPlace(path, os);
        if (const auto* failed = std::get_if<steps::Failure>(&opened)) {
            return errorOf(*failed);
        }
        Place& place = std::get<Place>(opened);
        if (!place.existing) {
            Decision decision = decide(place, nullptr);
            if (auto refused = unlessBytes(decision)) {
                return *refused;
            }
            auto created = createFile(place, std::get<std::string_view>(decision), durability, os);
            if (std::holds_alternative<Exists>(created)) {
                continue;  // made by another program meanwhile
            }
            if (const auto* failed = std::get_if<steps::Failure>(&created)) {
                return errorOf(*failed);
            }
            return std::get<struct stat>(created);
        }
        std::optional<LockedFile> locked;
        if (!S_ISLNK(place.existing->st_mode)) {  // a link to nowhere is replaced by the file
            if (const int error = checkWritable(place, *place.existing, os)) {
                return errorOf({error});
            }
            auto result = lockExisting(place, os);
            if (std::holds_alternative<Moved>(result)) {
                continue;
            }
            if (const auto* failed = std::get_if<steps::Failure>(&result)) {
                return errorOf(*failed);
            }
            locked.emplace(std::move(std::get<LockedFile>(result)));
        }
        Decision decision = decide(place, locked ? &*locked : nullptr);
        if (auto refused = unlessBytes(decision)) {
            return *refused;
        }
        auto replaced = replaceFile(place, std::get<std::string_view>(decision),
                                    locked ? &locked->info : nullptr, durability, os);
        if (const auto* failed = std::get_if<steps::Failure>(&replaced)) {
            return errorOf(*failed);
        }
        return std::get<struct stat>(replaced);
    }
    return IoError{IoError::SharingViolation};
}

}  // namespace pilot::storage
