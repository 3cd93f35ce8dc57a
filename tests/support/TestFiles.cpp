#include "TestFiles.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

#include <fcntl.h>
#include <grp.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

TempDir::TempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate =
            std::filesystem::temp_directory_path() / ("brevanta-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

StateFolder::StateFolder() {
    ::setenv("XDG_STATE_HOME", m_dir.path().c_str(), 1);
}

StateFolder::~StateFolder() {
    ::unsetenv("XDG_STATE_HOME");
}

std::filesystem::path historyRoot() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state == nullptr) {
        throw std::runtime_error("the test program has no state folder of its own");
    }
    return std::filesystem::path(state) / "brevanta" / "history";
}

std::string textOf(const pilot::PilotRecord& record) {
    return {record.bytes().begin(), record.bytes().end()};
}

std::optional<pilot::IoError> errorOf(
    const std::variant<pilot::FileStamp, pilot::ChangedOnDisk, pilot::IoError>& result) {
    if (const auto* error = std::get_if<pilot::IoError>(&result)) {
        return *error;
    }
    if (std::holds_alternative<pilot::ChangedOnDisk>(result)) {
        throw std::runtime_error("the save asked about a changed file");
    }
    return std::nullopt;
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    writeBytes(path, std::string(bytes.begin(), bytes.end()));
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write test file " + path.string());
    }
}

void writeRecord(const std::filesystem::path& path, const pilot::PilotRecord& record) {
    writeBytes(path, std::vector<std::uint8_t>(record.bytes().begin(), record.bytes().end()));
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    const std::string text = readText(path);
    return {text.begin(), text.end()};
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read test file " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

pilot::PilotRecord patternedRecord(std::uint32_t seed) {
    std::mt19937 random(seed);
    pilot::PilotRecord::Bytes bytes{};
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return pilot::PilotRecord(bytes);
}

ReadOnlyMount::ReadOnlyMount(const std::filesystem::path& folder) : m_folder(folder) {
    std::filesystem::create_directories(folder);
    m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
}

ReadOnlyMount::~ReadOnlyMount() {
    // A window test may still have its current directory in the mount (a file dialog moves
    // it there): detach the mount then, so that it goes once the folder is left.
    if (m_mounted && ::umount(m_folder.c_str()) != 0) {
        ::umount2(m_folder.c_str(), MNT_DETACH);
    }
}

bool ReadOnlyMount::populate(const std::vector<std::pair<std::string, std::string>>& files) {
    if (!m_mounted || ::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_REMOUNT, "size=64k") != 0) {
        return false;
    }
    for (const auto& [name, content] : files) {
        writeBytes(m_folder / name, content);
    }
    return ::mount("tmpfs", m_folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
}

TinyDisk::TinyDisk(std::filesystem::path folder, const std::string& size)
    : m_folder(std::move(folder)) {
    std::filesystem::create_directories(m_folder);
    m_mounted = ::mount("tmpfs", m_folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
}

TinyDisk::~TinyDisk() {
    if (m_mounted) {
        ::umount(m_folder.c_str());
    }
}

bool TinyDisk::fill(const std::string& name) const {
    const int fd = ::open((m_folder / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string chunk(512, 'x');
    int error = 0;
    while (fd >= 0 && error == 0) {
        if (::write(fd, chunk.data(), chunk.size()) < 0) {
            error = errno;
        }
    }
    ::close(fd);
    return error == ENOSPC;
}

int runAsUser(uid_t uid, gid_t gid, const std::vector<gid_t>& groups,
              const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("cannot start a process");
    }
    if (child == 0) {
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setresgid(gid, gid, gid) != 0 ||
            ::setresuid(uid, uid, uid) != 0) {
            ::_exit(kCannotSwitchUser);
        }
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        throw std::runtime_error("the process as another user did not end normally");
    }
    return WEXITSTATUS(status);
}

}  // namespace testing_support
