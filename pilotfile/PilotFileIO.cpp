#include "PilotFileIO.h"

#include <cerrno>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pilot {

namespace {

namespace fs = std::filesystem;

constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask when the file is created

// An open file descriptor, closed on every path; `close()` reports the close's own failure,
// where data still buffered by the system can be lost.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    [[nodiscard]] bool valid() const { return m_fd >= 0; }
    [[nodiscard]] int get() const { return m_fd; }

    // 0 or the errno of the failed close. An interrupted close has still released the
    // descriptor, and a writer has synced its data before, so EINTR counts as done.
    [[nodiscard]] int close() {
        if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR) {
            return errno;
        }
        return 0;
    }

private:
    int m_fd = -1;
};

// 0, or the errno of the first write that failed; short writes and interruptions go on.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC;  // no progress at all: the device takes nothing more
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int syncFile(int fd) {
    while (::fsync(fd) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

IoError errorAt(int errnoValue, const fs::path& path,
                IoError::Transfer transfer = IoError::Transfer::Writing) {
    return IoError::fromErrno(errnoValue, path.string(), transfer);
}

// A file that can be written to: a regular file with at least one write bit set (a file
// without any counts as write-protected, also for root, who could write it anyway) that
// the process may write.
std::optional<IoError> checkWritable(const struct stat& info, const fs::path& path) {
    if (!S_ISREG(info.st_mode) || (info.st_mode & kAnyWriteBit) == 0) {
        return IoError{IoError::AccessDenied};
    }
    if (::access(path.c_str(), W_OK) != 0) {
        return errorAt(errno, path);
    }
    return std::nullopt;
}

// The file a save replaces and what it keeps of the old one.
struct SaveTarget {
    fs::path path;
    std::optional<struct stat> existing;
};

std::variant<SaveTarget, IoError> saveTarget(const fs::path& path) {
    SaveTarget target{path, std::nullopt};
    // Saving through a symbolic link replaces the file it points to and keeps the link.
    std::error_code ignored;
    if (fs::is_symlink(fs::symlink_status(path, ignored))) {
        if (auto resolved = fs::canonical(path, ignored); !ignored) {
            target.path = std::move(resolved);
        }
    }
    struct stat info {};
    if (::stat(target.path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            return errorAt(errno, target.path);
        }
        return target;  // a new file; a missing folder shows when the temporary file is made
    }
    if (const auto error = checkWritable(info, target.path)) {
        return *error;
    }
    target.existing = info;
    return target;
}

// A file being written that is removed again unless it was completed: a temporary file
// renamed into place, or a new file created under the target's own name.
class TemporaryFile {
public:
    TemporaryFile(FileDescriptor fd, fs::path path)
        : m_fd(std::move(fd)), m_path(std::move(path)) {}
    ~TemporaryFile() {
        if (!m_renamed) {
            ::unlink(m_path.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    [[nodiscard]] FileDescriptor& fd() { return m_fd; }

    [[nodiscard]] int renameTo(const fs::path& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0) {
            return errno;
        }
        m_renamed = true;
        return 0;
    }
    void keep() { m_renamed = true; }

private:
    FileDescriptor m_fd;
    fs::path m_path;
    bool m_renamed = false;
};

// The first name tried is derived from the target and the process, which is cheap and
// unique unless a crashed run left it behind; further tries take random names.
std::variant<std::unique_ptr<TemporaryFile>, IoError> createTemporaryFile(const fs::path& target,
                                                                          mode_t mode) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string stem = target.filename().string();
    stem.insert(stem.begin(), '.');
    stem.push_back('.');
    std::string suffix = std::to_string(::getpid());
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = folder / (stem + suffix + ".brevanta-tmp");
        FileDescriptor fd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        const int error = errno;
        if (fd.valid()) {
            return std::make_unique<TemporaryFile>(std::move(fd), candidate);
        }
        if (error != EEXIST) {
            return errorAt(error, candidate);
        }
        suffix = std::to_string(random());
    }
    return errorAt(EEXIST, target);
}

// Gives the new file the old one's owner and permission bits. Only root can hand a file to
// someone else; for anybody else the saved file simply becomes theirs.
int keepOwnerAndMode(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) {
        return errno;
    }
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
        return errno;
    }
    if (::fchmod(fd, old.st_mode & kPermissionBits) != 0) {
        return errno;
    }
    return 0;
}

}  // namespace

std::variant<PilotRecord, IoError> loadPilotFile(const fs::path& path) {
    if (path.empty()) {
        return IoError{IoError::InvalidPath};
    }
    // Without waiting: opening a named pipe would otherwise block until some writer came.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid()) {
        return errorAt(errno, path);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return errorAt(errno, path, IoError::Transfer::Reading);
    }
    // A folder, pipe or device where a pilot file is expected.
    if (!S_ISREG(info.st_mode)) {
        return IoError{IoError::AccessDenied};
    }
    PilotRecord::Bytes buffer{};
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got = ::read(file.get(), buffer.data() + filled, buffer.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errorAt(errno, path, IoError::Transfer::Reading);
        }
        if (got == 0) {
            return IoError{IoError::ReadPastEnd};
        }
        filled += static_cast<std::size_t>(got);
    }
    if (const int error = file.close()) {
        return errorAt(error, path, IoError::Transfer::Reading);
    }
    return PilotRecord(buffer);
}

std::variant<LoadedPilot, IoError> loadPilotFileWithStamp(const fs::path& path) {
    auto loaded = loadPilotFile(path);
    if (auto* error = std::get_if<IoError>(&loaded)) {
        return *error;
    }
    const auto& record = std::get<PilotRecord>(loaded);
    auto stamp = currentStamp(path).value_or(FileStamp{});
    stamp.content = record.bytes();
    return LoadedPilot{record, stamp};
}

std::variant<FileStamp, ChangedOnDisk, IoError> savePilotFileChecked(
    const fs::path& path, const PilotRecord& record, const std::optional<FileStamp>& expected) {
    if (expected && changedSince(path, *expected)) {
        return ChangedOnDisk{currentStamp(path).value_or(FileStamp{})};
    }
    if (const auto error = savePilotFile(path, record)) {
        return *error;
    }
    auto stamp = currentStamp(path).value_or(FileStamp{});
    stamp.content = record.bytes();
    return stamp;
}

std::optional<IoError> savePilotFile(const fs::path& path, const PilotRecord& record) {
    const auto& bytes = record.bytes();
    return writeFileSafely(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

namespace {

// Writes, syncs where asked, and closes; 0 or the errno of the first step that failed.
int completeFile(TemporaryFile& file, std::string_view bytes,
                 const std::optional<struct stat>& old) {
    const int fd = file.fd().get();
    int error = writeAll(fd, bytes);
    if (error == 0 && old) {
        error = keepOwnerAndMode(fd, *old);
    }
    // The old content is only given up once the new one is on the disk.
    if (error == 0 && old) {
        error = syncFile(fd);
    }
    if (error == 0) {
        error = file.fd().close();
    }
    return error;
}

// A name that does not exist yet is created and written in place: there is no old content
// to protect, and a failed write removes the partial file again. Nothing when another
// program created the name meanwhile.
std::optional<std::optional<IoError>> writeNewFile(const fs::path& path, std::string_view bytes) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
    if (!fd.valid()) {
        if (errno == EEXIST) {
            return std::nullopt;
        }
        return errorAt(errno, path);
    }
    TemporaryFile file(std::move(fd), path);
    if (const int error = completeFile(file, bytes, std::nullopt)) {
        return errorAt(error, path);
    }
    file.keep();
    return std::optional<IoError>{};
}

}  // namespace

std::optional<IoError> writeFileSafely(const fs::path& path, std::string_view bytes) {
    if (path.empty()) {
        return IoError{IoError::InvalidPath};
    }
    auto checked = saveTarget(path);
    if (const auto* error = std::get_if<IoError>(&checked)) {
        return *error;
    }
    const SaveTarget& target = std::get<SaveTarget>(checked);
    if (!target.existing) {
        if (auto written = writeNewFile(target.path, bytes)) {
            return *written;
        }
        // The name exists after all (made meanwhile, or a link to nowhere): replace it.
    }
    const mode_t mode = target.existing ? (target.existing->st_mode & 0777) : kNewFileMode;
    auto created = createTemporaryFile(target.path, mode);
    if (const auto* error = std::get_if<IoError>(&created)) {
        return *error;
    }
    TemporaryFile& temporary = *std::get<std::unique_ptr<TemporaryFile>>(created);
    int error = completeFile(temporary, bytes, target.existing);
    if (error == 0) {
        error = temporary.renameTo(target.path);
    }
    if (error != 0) {
        return errorAt(error, target.path);
    }
    return std::nullopt;
}

std::optional<IoError> appendToFile(const fs::path& path, std::string_view bytes) {
    if (path.empty()) {
        return IoError{IoError::InvalidPath};
    }
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    if (!file.valid()) {
        return errorAt(errno, path);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return errorAt(errno, path);
    }
    if (const auto error = checkWritable(info, path)) {
        return error;
    }
    int error = writeAll(file.get(), bytes);
    if (error == 0) {
        error = syncFile(file.get());
    }
    if (error == 0) {
        error = file.close();
    }
    if (error != 0) {
        return errorAt(error, path);
    }
    return std::nullopt;
}

}  // namespace pilot
