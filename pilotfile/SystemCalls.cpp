#include "SystemCalls.h"

#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pilot {

int PosixCalls::openAt(int folder, const char* name, int flags, mode_t mode) const {
    return ::openat(folder, name, flags, mode);
}

int PosixCalls::close(int fd) const {
    return ::close(fd);
}

ssize_t PosixCalls::read(int fd, void* buffer, std::size_t size) const {
    return ::read(fd, buffer, size);
}

ssize_t PosixCalls::pread(int fd, void* buffer, std::size_t size, off_t offset) const {
    return ::pread(fd, buffer, size, offset);
}

ssize_t PosixCalls::write(int fd, const void* data, std::size_t size) const {
    return ::write(fd, data, size);
}

int PosixCalls::fsync(int fd) const {
    return ::fsync(fd);
}

int PosixCalls::syncfs(int fd) const {
    return ::syncfs(fd);
}

int PosixCalls::ftruncate(int fd, off_t length) const {
    return ::ftruncate(fd, length);
}

int PosixCalls::fstat(int fd, struct stat* info) const {
    return ::fstat(fd, info);
}

int PosixCalls::fstatAt(int folder, const char* name, struct stat* info, int flags) const {
    return ::fstatat(folder, name, info, flags);
}

int PosixCalls::accessAt(int folder, const char* name, int mode, int flags) const {
    return ::faccessat(folder, name, mode, flags);
}

int PosixCalls::fchown(int fd, uid_t owner, gid_t group) const {
    return ::fchown(fd, owner, group);
}

int PosixCalls::fchmod(int fd, mode_t mode) const {
    return ::fchmod(fd, mode);
}

int PosixCalls::flock(int fd, int operation) const {
    return ::flock(fd, operation);
}

int PosixCalls::linkAt(int fromFolder, const char* from, int toFolder, const char* to,
                       int flags) const {
    return ::linkat(fromFolder, from, toFolder, to, flags);
}

int PosixCalls::renameAt(int fromFolder, const char* from, int toFolder, const char* to,
                         unsigned flags) const {
    return ::renameat2(fromFolder, from, toFolder, to, flags);
}

int PosixCalls::unlinkAt(int folder, const char* name, int flags) const {
    return ::unlinkat(folder, name, flags);
}

ssize_t PosixCalls::readLinkAt(int folder, const char* name, char* buffer, std::size_t size) const {
    return ::readlinkat(folder, name, buffer, size);
}

int PosixCalls::mkdirAt(int folder, const char* name, mode_t mode) const {
    return ::mkdirat(folder, name, mode);
}

int PosixCalls::readFolder(int folder, std::vector<std::string>& names) const {
    // A descriptor of its own, which the listing consumes and closes.
    const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    DIR* listing = ::fdopendir(fd);
    if (listing == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    names.clear();
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
        errno = 0;
    }
    const int error = errno;
    ::closedir(listing);
    errno = error;
    return error == 0 ? 0 : -1;
}

}  // namespace pilot
