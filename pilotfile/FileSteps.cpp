#include "FileSteps.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>

namespace pilot::steps {

Descriptor::~Descriptor() {
    if (m_fd >= 0) {
        m_os->close(m_fd);
    }
}

Descriptor::Descriptor(Descriptor&& other) noexcept
    : m_os(other.m_os), m_fd(std::exchange(other.m_fd, -1)) {}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            m_os->close(m_fd);
        }
        m_os = other.m_os;
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

int Descriptor::close() {
    if (m_os->close(std::exchange(m_fd, -1)) != 0 && errno != EINTR) {
        return errno;
    }
    return 0;
}

Descriptor openAt(const SystemCalls& os, int folder, const char* name, int flags, mode_t mode) {
    int fd = -1;
    do {
        fd = os.openAt(folder, name, flags, mode);
    } while (fd < 0 && errno == EINTR);
    return Descriptor(os, fd);
}

int writeAll(const SystemCalls& os, int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = os.write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return ENOSPC;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

int syncFile(const SystemCalls& os, int fd) {
    while (os.fsync(fd) != 0) {
        if (errno != EINTR) {
            return errno;
        }
    }
    return 0;
}

namespace {

// Reads until the buffer is full or the file ends; `readSome(rest, at)` reads into the rest
// of the buffer, `at` bytes in.
template <typename ReadSome>
int fill(std::span<std::uint8_t> buffer, std::size_t& filled, ReadSome readSome) {
    filled = 0;
    while (filled < buffer.size()) {
        const ssize_t got = readSome(buffer.subspan(filled), filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    return 0;
}

}  // namespace

int readFully(const SystemCalls& os, int fd, std::span<std::uint8_t> buffer, std::size_t& filled) {
    return fill(buffer, filled, [&](std::span<std::uint8_t> rest, std::size_t) {
        return os.read(fd, rest.data(), rest.size());
    });
}

int readHead(const SystemCalls& os, int fd, std::span<std::uint8_t> buffer) {
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    std::size_t filled = 0;
    return fill(buffer, filled, [&](std::span<std::uint8_t> rest, std::size_t at) {
        return os.pread(fd, rest.data(), rest.size(), static_cast<off_t>(at));
    });
}

int stillNamed(const SystemCalls& os, int folder, const char* name, int flags, int fd,
               bool& named) {
    struct stat open {};
    struct stat current {};
    if (os.fstat(fd, &open) != 0) {
        return errno;
    }
    if (os.fstatAt(folder, name, &current, flags) != 0) {
        if (errno != ENOENT) {
            return errno;
        }
        named = false;
        return 0;
    }
    named = sameFile(open, current);
    return 0;
}

int lockExclusive(const SystemCalls& os, int fd) {
    using namespace std::chrono_literals;
    constexpr auto kPatience = 10s;
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    auto pause = 100us;
    while (os.flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return errno;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return EBUSY;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, 20ms);
    }
    return 0;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int openFolderOf(const SystemCalls& os, int base, const std::filesystem::path& path, int flags,
                 FolderAndName& opened) {
    const std::string name = path.filename().string();
    const bool folderOnly = name.empty() || name == "." || name == "..";
    const std::filesystem::path folder =
        folderOnly ? path : (path.has_parent_path() ? path.parent_path() : ".");
    opened.folder = openAt(os, base, folder.c_str(), flags | O_DIRECTORY | O_CLOEXEC);
    if (!opened.folder.valid()) {
        return errno == ENOENT ? ENOTDIR : errno;
    }
    opened.name = folderOnly ? std::string() : name;
    return 0;
}

int openFileToRead(const SystemCalls& os, const std::filesystem::path& path, Descriptor& file,
                   struct stat& info) {
    FolderAndName place{Descriptor(os, -1), {}};
    if (const int error = openFolderOf(os, AT_FDCWD, path, O_PATH, place)) {
        return error;
    }
    file = openAt(os, place.folder.get(), place.name.empty() ? "." : place.name.c_str(),
                  O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (!file.valid()) {
        return errno;
    }
    if (os.fstat(file.get(), &info) != 0) {
        return errno;
    }
    return S_ISREG(info.st_mode) ? 0 : EACCES;
}

}  // namespace pilot::steps
