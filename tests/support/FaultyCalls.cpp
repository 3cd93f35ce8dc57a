#include "FaultyCalls.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace testing_support {

FaultyCalls callsFor(const FileSystemMode& mode) {
    FaultyCalls os;
    if (!mode.unnamedFiles) {
        os.withoutUnnamedFiles();
    }
    return os;
}

int FaultyCalls::errnoFor(Call kind) {
    switch (kind) {
        case Call::OpenAt:
            return EMFILE;
        case Call::Write:
            return ENOSPC;
        case Call::AccessAt:
            return EACCES;
        case Call::Fchmod:
            return EPERM;
        case Call::Flock:
            return ENOLCK;
        case Call::LinkAt:
            return EMLINK;
        case Call::RenameAt:
            return EXDEV;
        case Call::UnlinkAt:
            return EBUSY;
        case Call::MkdirAt:
            return ENOSPC;
        default:
            return EIO;
    }
}

bool FaultyCalls::fails(Call kind) const {
    if (m_before && m_beforeKind == kind) {
        std::exchange(m_before, nullptr)();
    }
    ++m_count;
    m_log.push_back(kind);
    if (m_count == m_killAt) {
        ::_exit(kKilledStatus);
    }
    if (m_count != m_failAt) {
        return false;
    }
    m_failed = kind;
    errno = errnoFor(kind);
    return true;
}

int FaultyCalls::openAt(int folder, const char* name, int flags, mode_t mode) const {
    m_opened.emplace_back(name);
    if (fails(Call::OpenAt)) {
        return -1;
    }
    if (!m_unnamedFiles && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return PosixCalls::openAt(folder, name, flags, mode);
}

int FaultyCalls::close(int fd) const {
    const bool written = std::find(m_writtenTo.begin(), m_writtenTo.end(), fd) != m_writtenTo.end();
    std::erase(m_writtenTo, fd);
    const bool fail = fails(Call::Close);
    // A close releases the descriptor even when it reports a failure.
    PosixCalls::close(fd);
    if (!fail) {
        return 0;
    }
    m_harmlessClose = !written;
    errno = errnoFor(Call::Close);
    return -1;
}

ssize_t FaultyCalls::read(int fd, void* buffer, std::size_t size) const {
    return fails(Call::Read) ? -1 : PosixCalls::read(fd, buffer, size);
}

ssize_t FaultyCalls::pread(int fd, void* buffer, std::size_t size, off_t offset) const {
    return fails(Call::Pread) ? -1 : PosixCalls::pread(fd, buffer, size, offset);
}

ssize_t FaultyCalls::write(int fd, const void* data, std::size_t size) const {
    if (std::find(m_writtenTo.begin(), m_writtenTo.end(), fd) == m_writtenTo.end()) {
        m_writtenTo.push_back(fd);
    }
    if (fails(Call::Write)) {
        // The worst a device can do: take part of the bytes, then refuse the rest.
        const int error = errno;
        PosixCalls::write(fd, data, size / 2);
        errno = error;
        return -1;
    }
    return PosixCalls::write(fd, data, size);
}

int FaultyCalls::fsync(int fd) const {
    return fails(Call::Fsync) ? -1 : PosixCalls::fsync(fd);
}

int FaultyCalls::syncfs(int fd) const {
    return fails(Call::Syncfs) ? -1 : PosixCalls::syncfs(fd);
}

int FaultyCalls::ftruncate(int fd, off_t length) const {
    return fails(Call::Ftruncate) ? -1 : PosixCalls::ftruncate(fd, length);
}

int FaultyCalls::fstat(int fd, struct stat* info) const {
    return fails(Call::Fstat) ? -1 : PosixCalls::fstat(fd, info);
}

int FaultyCalls::fstatAt(int folder, const char* name, struct stat* info, int flags) const {
    return fails(Call::FstatAt) ? -1 : PosixCalls::fstatAt(folder, name, info, flags);
}

int FaultyCalls::accessAt(int folder, const char* name, int mode, int flags) const {
    return fails(Call::AccessAt) ? -1 : PosixCalls::accessAt(folder, name, mode, flags);
}

int FaultyCalls::fchown(int fd, uid_t owner, gid_t group) const {
    return fails(Call::Fchown) ? -1 : PosixCalls::fchown(fd, owner, group);
}

int FaultyCalls::fchmod(int fd, mode_t mode) const {
    return fails(Call::Fchmod) ? -1 : PosixCalls::fchmod(fd, mode);
}

int FaultyCalls::flock(int fd, int operation) const {
    return fails(Call::Flock) ? -1 : PosixCalls::flock(fd, operation);
}

int FaultyCalls::linkAt(int fromFolder, const char* from, int toFolder, const char* to,
                        int flags) const {
    return fails(Call::LinkAt) ? -1 : PosixCalls::linkAt(fromFolder, from, toFolder, to, flags);
}

int FaultyCalls::renameAt(int fromFolder, const char* from, int toFolder, const char* to,
                          unsigned flags) const {
    return fails(Call::RenameAt) ? -1 : PosixCalls::renameAt(fromFolder, from, toFolder, to, flags);
}

int FaultyCalls::unlinkAt(int folder, const char* name, int flags) const {
    return fails(Call::UnlinkAt) ? -1 : PosixCalls::unlinkAt(folder, name, flags);
}

ssize_t FaultyCalls::readLinkAt(int folder, const char* name, char* buffer,
                                std::size_t size) const {
    return fails(Call::ReadLinkAt) ? -1 : PosixCalls::readLinkAt(folder, name, buffer, size);
}

int FaultyCalls::mkdirAt(int folder, const char* name, mode_t mode) const {
    return fails(Call::MkdirAt) ? -1 : PosixCalls::mkdirAt(folder, name, mode);
}

int FaultyCalls::readFolder(int folder, std::vector<std::string>& names) const {
    return fails(Call::ReadFolder) ? -1 : PosixCalls::readFolder(folder, names);
}

}  // namespace testing_support
