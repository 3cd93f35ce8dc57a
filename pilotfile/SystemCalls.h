#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

namespace pilot {

// The system calls through which the storage layer touches the disk. Each behaves as the
// call of its name: -1 (or a negative count) with errno set on failure. The storage
// functions take one of these, the real calls by default, so that tests can fail any single
// step of a save, an append, a report or the history and see what the user is left with.
class SystemCalls {
public:
    SystemCalls() = default;
    SystemCalls(const SystemCalls&) = default;
    SystemCalls& operator=(const SystemCalls&) = default;
    virtual ~SystemCalls() = default;

    virtual int openAt(int folder, const char* name, int flags, mode_t mode) const = 0;
    virtual int close(int fd) const = 0;
    virtual ssize_t read(int fd, void* buffer, std::size_t size) const = 0;
    virtual ssize_t pread(int fd, void* buffer, std::size_t size, off_t offset) const = 0;
    virtual ssize_t write(int fd, const void* data, std::size_t size) const = 0;
    virtual int fsync(int fd) const = 0;
    virtual int syncfs(int fd) const = 0;
    virtual int ftruncate(int fd, off_t length) const = 0;
    virtual int fstat(int fd, struct stat* info) const = 0;
    virtual int fstatAt(int folder, const char* name, struct stat* info, int flags) const = 0;
    virtual int accessAt(int folder, const char* name, int mode, int flags) const = 0;
    virtual int fchown(int fd, uid_t owner, gid_t group) const = 0;
    virtual int fchmod(int fd, mode_t mode) const = 0;
    virtual int flock(int fd, int operation) const = 0;
    virtual int linkAt(int fromFolder, const char* from, int toFolder, const char* to,
                       int flags) const = 0;
    // renameat2: flags 0 or RENAME_NOREPLACE.
    virtual int renameAt(int fromFolder, const char* from, int toFolder, const char* to,
                         unsigned flags) const = 0;
    virtual int unlinkAt(int folder, const char* name, int flags) const = 0;
    virtual ssize_t readLinkAt(int folder, const char* name, char* buffer,
                               std::size_t size) const = 0;
    virtual int mkdirAt(int folder, const char* name, mode_t mode) const = 0;
    // The names in a folder ("." and ".." left out), in the order the file system gives
    // them; works on a folder opened with O_PATH too.
    virtual int readFolder(int folder, std::vector<std::string>& names) const = 0;
};

// The operating system's own calls; holds nothing, so a temporary serves as the default.
class PosixCalls : public SystemCalls {
public:
    int openAt(int folder, const char* name, int flags, mode_t mode) const override;
    int close(int fd) const override;
    ssize_t read(int fd, void* buffer, std::size_t size) const override;
    ssize_t pread(int fd, void* buffer, std::size_t size, off_t offset) const override;
    ssize_t write(int fd, const void* data, std::size_t size) const override;
    int fsync(int fd) const override;
    int syncfs(int fd) const override;
    int ftruncate(int fd, off_t length) const override;
    int fstat(int fd, struct stat* info) const override;
    int fstatAt(int folder, const char* name, struct stat* info, int flags) const override;
    int accessAt(int folder, const char* name, int mode, int flags) const override;
    int fchown(int fd, uid_t owner, gid_t group) const override;
    int fchmod(int fd, mode_t mode) const override;
    int flock(int fd, int operation) const override;
    int linkAt(int fromFolder, const char* from, int toFolder, const char* to,
               int flags) const override;
    int renameAt(int fromFolder, const char* from, int toFolder, const char* to,
                 unsigned flags) const override;
    int unlinkAt(int folder, const char* name, int flags) const override;
    ssize_t readLinkAt(int folder, const char* name, char* buffer, std::size_t size) const override;
    int mkdirAt(int folder, const char* name, mode_t mode) const override;
    int readFolder(int folder, std::vector<std::string>& names) const override;
};

}  // namespace pilot
