#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "NameHash.h"

namespace pilot::storage {

namespace {

using steps::Descriptor;
using steps::Failure;

constexpr mode_t kPermissionBits = 07777;
constexpr int kAttempts = 16;  // rounds against other programs before giving up

// Stable across runs and builds, so that a later save finds the name again.
std::string temporaryName(std::string_view target) {
    return "." + stableHash(target) + ".brevanta-tmp";
}

bool unnamedFilesUnsupported(int error) {
    // EISDIR: a kernel that does not know O_TMPFILE; EOPNOTSUPP: a file system without them.
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Whether the name in the place's folder still leads to the open file.
int stillNamed(const Place& place, const std::string& name, int fd, const SystemCalls& os,
               bool& named) {
    return steps::stillNamed(os, place.folder.get(), name.c_str(), AT_SYMLINK_NOFOLLOW, fd, named);
}

// Removes a temporary file of this name that no save holds any more. While a save of the
// same target still works with it, waits for it to finish, or with `wait` false leaves it.
// Anything else of that name (a folder, a link) is not ours and stays: the save fails with
// EEXIST then.
int clearTemporary(const Place& place, const std::string& name, const SystemCalls& os,
                   bool wait = true) {
    Descriptor fd = steps::openAt(os, place.folder.get(), name.c_str(),
                                  O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (!fd.valid()) {
        if (errno == ENOENT) {
            return 0;
        }
        return errno == ELOOP ? EEXIST : errno;
    }
    struct stat info {};
    if (os.fstat(fd.get(), &info) != 0) {
        return errno;
    }
    if (!S_ISREG(info.st_mode)) {
        return EEXIST;
    }
    if (!wait) {
        if (os.flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            return errno == EWOULDBLOCK ? fd.close() : errno;
        }
    } else if (const int error = steps::lockExclusive(os, fd.get())) {
        return error;
    }
    bool named = false;
    if (const int error = stillNamed(place, name, fd.get(), os, named)) {
        return error;
    }
    if (named && os.unlinkAt(place.folder.get(), name.c_str(), 0) != 0 && errno != ENOENT) {
        return errno;
    }
    return fd.close();
}

// Creates the temporary file under its name, locked.
std::variant<Descriptor, Failure> createNamedTemporary(const Place& place, const std::string& name,
                                                       mode_t mode, const SystemCalls& os) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        Descriptor fd = steps::openAt(os, place.folder.get(), name.c_str(),
                                      O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (!fd.valid()) {
            if (errno != EEXIST) {
                return Failure{errno};
            }
            if (const int error = clearTemporary(place, name, os)) {
                return Failure{error};
            }
            continue;
        }
        // Between its creation and the lock, another save may have taken the file for a
        // stale one and removed it: then it is made anew.
        bool named = false;
        int error = steps::lockExclusive(os, fd.get());
        if (error == 0) {
            error = stillNamed(place, name, fd.get(), os, named);
        }
        if (error != 0) {
            os.unlinkAt(place.folder.get(), name.c_str(), 0);  // the failure to report is the first
            return Failure{error};
        }
        if (named) {
            return fd;
        }
    }
    return Failure{EEXIST};
}

// Gives the new file the old one's owner, group and permission bits. Only a privileged
// process may hand a file to another user; anybody may give it a group they belong to.
int keepOwnerAndMode(int fd, const struct stat& old, const SystemCalls& os) {
    struct stat now {};
    if (os.fstat(fd, &now) != 0) {
        return errno;
    }
    // EPERM: not allowed to; EINVAL: an owner this user namespace cannot name.
    const auto refused = [](int error) { return error == EPERM || error == EINVAL; };
    if (now.st_uid != old.st_uid) {
        if (os.fchown(fd, old.st_uid, old.st_gid) == 0) {
            now.st_gid = old.st_gid;
        } else if (!refused(errno)) {
            return errno;
        }
    }
    if (now.st_gid != old.st_gid && os.fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 &&
        !refused(errno)) {
        return errno;
    }
    if (os.fchmod(fd, old.st_mode & kPermissionBits) != 0) {
        return errno;
    }
    return 0;
}

// A written file on its way to the target's name: without a name of its own, or under the
// temporary name (removed again unless it reached the target).
class Content {
public:
    Content(const Place& place, const SystemCalls& os) : m_place(place), m_os(os) {}
    ~Content() {
        if (m_named) {
            m_os.unlinkAt(m_place.folder.get(), m_temporary.c_str(), 0);
        }
    }
    Content(const Content&) = delete;
    Content& operator=(const Content&) = delete;

    // Creates the file, unnamed when `unnamed` and the file system can, and writes it; 0 or
    // the errno. A new file gets `mode`, narrowed by the umask.
    [[nodiscard]] int write(std::string_view bytes, const struct stat* old, mode_t mode, bool sync,
                            bool unnamed) {
        if (old) {
            mode = old->st_mode & 0777;
        }
        if (unnamed) {
            m_fd = steps::openAt(m_os, m_place.folder.get(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC,
                                 mode);
            if (!m_fd.valid() && !unnamedFilesUnsupported(errno)) {
                return errno;
            }
        }
        if (!m_fd.valid()) {
            auto created = createNamedTemporary(m_place, m_temporary, mode, m_os);
            if (auto* failed = std::get_if<Failure>(&created)) {
                return failed->error;
            }
            m_fd = std::move(std::get<Descriptor>(created));
            m_named = true;
        }
        int error = steps::writeAll(m_os, m_fd.get(), bytes);
        if (error == 0 && old) {
            error = keepOwnerAndMode(m_fd.get(), *old, m_os);
        }
        if (error == 0 && sync) {
            error = steps::syncFile(m_os, m_fd.get());
        }
        if (error == 0 && m_os.fstat(m_fd.get(), &m_written) != 0) {
            error = errno;
        }
        return error;
    }

    // Removes a temporary file of the target that a killed save left, unless a save still
    // works with it; for a write that does not need the name itself.
    [[nodiscard]] int clearStaleTemporary() {
        return clearTemporary(m_place, m_temporary, m_os, false);
    }

    [[nodiscard]] bool named() const { return m_named; }
    [[nodiscard]] const struct stat& written() const { return m_written; }

    // Links an unnamed file into the folder under `name`; 0, EEXIST, or another errno.
    // ENOENT here means that /proc, through which the link is made, is missing.
    [[nodiscard]] int link(const std::string& name) {
        const std::string self = "/proc/self/fd/" + std::to_string(m_fd.get());
        if (m_os.linkAt(AT_FDCWD, self.c_str(), m_place.folder.get(), name.c_str(),
                        AT_SYMLINK_FOLLOW) != 0) {
            return errno;
        }
        return 0;
    }

    // An unnamed file takes the temporary name, locked from its first moment under it; a
    // stale file of that name goes first.
    [[nodiscard]] int nameTemporary() {
        if (const int error = steps::lockExclusive(m_os, m_fd.get())) {
            return error;
        }
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            const int error = link(m_temporary);
            if (error == 0) {
                m_named = true;
                return 0;
            }
            if (error != EEXIST) {
                return error;
            }
            if (const int cleared = clearTemporary(m_place, m_temporary, m_os)) {
                return cleared;
            }
        }
        return EEXIST;
    }

    [[nodiscard]] int renameTo(const std::string& name, unsigned flags) {
        if (m_os.renameAt(m_place.folder.get(), m_temporary.c_str(), m_place.folder.get(),
                          name.c_str(), flags) != 0) {
            return errno;
        }
        m_named = false;
        return 0;
    }

    // The temporary name as a second name of the target, where renaming without replacing
    // is not supported; the temporary name then goes.
    [[nodiscard]] int linkTemporaryTo(const std::string& name) {
        if (m_os.linkAt(m_place.folder.get(), m_temporary.c_str(), m_place.folder.get(),
                        name.c_str(), 0) != 0) {
            return errno;
        }
        if (m_os.unlinkAt(m_place.folder.get(), m_temporary.c_str(), 0) != 0) {
            return errno;
        }
        m_named = false;
        return 0;
    }

    [[nodiscard]] int sync() { return steps::syncFile(m_os, m_fd.get()); }
    [[nodiscard]] int close() { return m_fd.close(); }

private:
    const Place& m_place;
    const SystemCalls& m_os;
    std::string m_temporary = temporaryName(m_place.name);
    Descriptor m_fd{m_os, -1};
    bool m_named = false;
    struct stat m_written {};
};

// The last steps of a write that put the file in place: the folder or the file under its
// name synced where asked, the file closed.
std::variant<struct stat, Failure> finish(const Place& place, Content& content,
                                          Durability durability, const SystemCalls& os) {
    int error = 0;
    if (durability == Durability::Synced) {
        error = syncFolder(place, os);
    } else if (durability == Durability::SyncedWithName) {
        error = content.sync();
    }
    if (error == 0) {
        error = content.close();
    }
    if (error != 0) {
        return Failure{error};
    }
    return content.written();
}

}  // namespace

std::variant<struct stat, Failure> replaceFile(Place& place, std::string_view bytes,
                                               const struct stat* old, Durability durability,
                                               const SystemCalls& os) {
    const bool sync = durability == Durability::Synced || old != nullptr;
    for (const bool unnamed : {true, false}) {
        Content content(place, os);
        if (const int error = content.write(bytes, old, kNewFileMode, sync, unnamed)) {
            return Failure{error};
        }
        if (!content.named()) {
            const int error = content.nameTemporary();
            if (error == ENOENT && unnamed) {
                continue;  // no /proc to link through: once more with a named file
            }
            if (error != 0) {
                return Failure{error};
            }
        }
        if (const int error = content.renameTo(place.name, 0)) {
            return Failure{error};
        }
        return finish(place, content, durability, os);
    }
    return Failure{ENOENT};
}

std::variant<struct stat, Exists, Failure> createFile(Place& place, std::string_view bytes,
                                                      Durability durability, const SystemCalls& os,
                                                      mode_t mode) {
    const bool sync = durability == Durability::Synced;
    for (const bool unnamed : {true, false}) {
        Content content(place, os);
        if (const int error = content.write(bytes, nullptr, mode, sync, unnamed)) {
            return Failure{error};
        }
        int error = 0;
        if (!content.named()) {
            error = content.clearStaleTemporary();
            // Something not ours under the temporary name is in no new file's way.
            if (error == EEXIST) {
                error = 0;
            }
            // Linking never replaces: the file appears whole under its name, or not at all.
            if (error == 0) {
                error = content.link(place.name);
            }
            if (error == ENOENT && unnamed) {
                continue;
            }
        } else {
            error = content.renameTo(place.name, RENAME_NOREPLACE);
            if (error == EINVAL || error == ENOSYS) {
                error = content.linkTemporaryTo(place.name);
            }
        }
        if (error == EEXIST) {
            return Exists{};
        }
        if (error != 0) {
            return Failure{error};
        }
        auto finished = finish(place, content, durability, os);
        if (const auto* failed = std::get_if<Failure>(&finished)) {
            return *failed;
        }
        return std::get<struct stat>(finished);
    }
    return Failure{ENOENT};
}

}  // namespace pilot::storage
