#include "FileStamp.h"

#include <cerrno>
#include <cstddef>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pilot {

namespace {

bool sameIdentity(const struct stat& info, const FileStamp& stamp) {
    return static_cast<std::uint64_t>(info.st_dev) == stamp.device &&
           static_cast<std::uint64_t>(info.st_ino) == stamp.inode &&
           static_cast<std::int64_t>(info.st_size) == stamp.size &&
           static_cast<std::int64_t>(info.st_mtim.tv_sec) == stamp.modifiedSeconds &&
           static_cast<std::int64_t>(info.st_mtim.tv_nsec) == stamp.modifiedNanoseconds;
}

// Reads up to a record's worth of bytes from the start (zeros after the end of a shorter
// file); false when reading fails.
bool readHead(int fd, PilotRecord::Bytes& head) {
    head.fill(0);
    std::size_t filled = 0;
    while (filled < head.size()) {
        const ssize_t got =
            ::pread(fd, head.data() + filled, head.size() - filled, static_cast<off_t>(filled));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

std::optional<FileStamp> currentStamp(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<FileStamp> result;
    struct stat info {};
    FileStamp stamp;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && readHead(fd, stamp.content)) {
        stamp.device = static_cast<std::uint64_t>(info.st_dev);
        stamp.inode = static_cast<std::uint64_t>(info.st_ino);
        stamp.size = static_cast<std::int64_t>(info.st_size);
        stamp.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
        stamp.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
        result = stamp;
    }
    ::close(fd);
    return result;
}

bool changedSince(const std::filesystem::path& path, const FileStamp& stamp) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    if (sameIdentity(info, stamp)) {
        return false;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool changed = true;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::int64_t>(info.st_size) == stamp.size) {
        PilotRecord::Bytes head{};
        changed = !readHead(fd, head) || head != stamp.content;
    }
    ::close(fd);
    return changed;
}

}  // namespace pilot
