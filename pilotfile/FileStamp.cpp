#include "FileStamp.h"

#include <fcntl.h>

#include "FileSteps.h"

namespace pilot {

FileStamp stampOf(const struct stat& info, const PilotRecord::Bytes& content) {
    return {static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec),
            static_cast<std::int64_t>(info.st_mtim.tv_nsec),
            content};
}

bool holdsTheSame(const FileStamp& now, const FileStamp& then, bool contentRead) {
    const bool sameFile = now.device == then.device && now.inode == then.inode &&
                          now.size == then.size && now.modifiedSeconds == then.modifiedSeconds &&
                          now.modifiedNanoseconds == then.modifiedNanoseconds;
    return sameFile || (contentRead && now.size == then.size && now.content == then.content);
}

std::optional<FileStamp> currentStamp(const std::filesystem::path& path, const SystemCalls& os) {
    const steps::Descriptor fd =
        steps::openAt(os, AT_FDCWD, path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (!fd.valid() || os.fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    PilotRecord::Bytes head{};
    if (steps::readHead(os, fd.get(), head) != 0) {
        return std::nullopt;
    }
    return stampOf(info, head);
}

bool changedSince(const std::filesystem::path& path, const FileStamp& stamp,
                  const SystemCalls& os) {
    struct stat info {};
    if (os.fstatAt(AT_FDCWD, path.c_str(), &info, 0) != 0) {
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        return true;  // a folder or a pipe where the pilot file was
    }
    const auto current = currentStamp(path, os);
    return current && !holdsTheSame(*current, stamp, true);
}

}  // namespace pilot
