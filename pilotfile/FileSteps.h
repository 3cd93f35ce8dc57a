#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "SystemCalls.h"

// The small steps every file operation of the storage layer is made of, each through the
// system-call seam and each returning 0 or the errno of its failure. The storage layer
// speaks errno throughout; its public functions turn the errno into the user's IoError once.
namespace pilot::steps {

// A failed step: the errno it left.
struct Failure {
    int error = 0;
};

// An open file descriptor, closed on every path; `close()` reports the close's own failure.
class Descriptor {
public:
    Descriptor(const SystemCalls& os, int fd) : m_os(&os), m_fd(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept;
    Descriptor& operator=(Descriptor&& other) noexcept;

    [[nodiscard]] bool valid() const { return m_fd >= 0; }
    [[nodiscard]] int get() const { return m_fd; }

    // 0 or the errno of the failed close. An interrupted close has still released the
    // descriptor, so EINTR counts as done.
    [[nodiscard]] int close();

private:
    const SystemCalls* m_os;
    int m_fd = -1;
};

// Opens with the flags; the descriptor is invalid and errno set when it failed.
[[nodiscard]] Descriptor openAt(const SystemCalls& os, int folder, const char* name, int flags,
                                mode_t mode = 0);

// Short writes and interruptions go on; a write that makes no progress is a full device.
[[nodiscard]] int writeAll(const SystemCalls& os, int fd, std::string_view bytes);

[[nodiscard]] int syncFile(const SystemCalls& os, int fd);

// Reads from the current position until the buffer is full or the file ends; `filled`
// tells how far it got.
[[nodiscard]] int readFully(const SystemCalls& os, int fd, std::span<std::uint8_t> buffer,
                            std::size_t& filled);

// Reads the start of the file into the buffer (zeros after a shorter file's end), whatever
// the position.
[[nodiscard]] int readHead(const SystemCalls& os, int fd, std::span<std::uint8_t> buffer);

// Waits for an exclusive advisory lock on the open file. A lock another program keeps for
// more than a few seconds is given up on with EBUSY (the file is held by someone else)
// rather than waited for without end.
[[nodiscard]] int lockExclusive(const SystemCalls& os, int fd);

[[nodiscard]] bool sameFile(const struct stat& a, const struct stat& b);

// The folder of a path opened with `flags` (O_DIRECTORY added), and the path's last name in
// it. A folder that does not exist fails with ENOTDIR: a missing folder makes the path
// invalid, where a missing file in an existing folder is ENOENT. A path that ends in a
// folder's own name ("pilots/", "pilots/.") gives the empty name.
struct FolderAndName {
    Descriptor folder;
    std::string name;
};
[[nodiscard]] int openFolderOf(const SystemCalls& os, int base, const std::filesystem::path& path,
                               int flags, FolderAndName& opened);

// Opens a file to read it, without waiting (opening a named pipe would otherwise block until
// some writer came), and gives what fstat says of it. A folder, pipe or device where a file
// is expected fails with EACCES; a missing folder with ENOTDIR.
[[nodiscard]] int openFileToRead(const SystemCalls& os, const std::filesystem::path& path,
                                 Descriptor& file, struct stat& info);

// Whether `name` in the folder (fstatat's flags) still leads to the open file: nobody has
// removed it or put another file in its place. Asked once a lock on the file is held.
[[nodiscard]] int stillNamed(const SystemCalls& os, int folder, const char* name, int flags, int fd,
                             bool& named);

}  // namespace pilot::steps
