#include "SystemCalls.h"

#include <cstdio>

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

}  // namespace pilot
