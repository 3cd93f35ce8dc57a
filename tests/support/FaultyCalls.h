#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SystemCalls.h"

namespace testing_support {

// The storage layer's system calls, numbered as they are made (from 1). On request one of
// them fails with the errno its kind typically fails with, or the process ends instead of
// making it (as if killed at that moment); a file system without unnamed temporary files can
// be played, and an action can run before a kind of call (another program's doing).
class FaultyCalls : public pilot::PosixCalls {
public:
    enum class Call {
        OpenAt,
        Close,
        Read,
        Pread,
        Write,
        Fsync,
        Syncfs,
        Ftruncate,
        Fstat,
        FstatAt,
        AccessAt,
        Fchown,
        Fchmod,
        Flock,
        LinkAt,
        RenameAt,
        UnlinkAt,
        ReadLinkAt,
        MkdirAt,
        ReadFolder,
    };
    static constexpr int kKilledStatus = 77;

    // The errno a failed call of the kind leaves; none of them is one the storage layer
    // works around (a failed open is EMFILE, not EACCES, which has a second way). A failed
    // write has written half of its bytes first.
    [[nodiscard]] static int errnoFor(Call kind);

    void failAt(int number) { m_failAt = number; }
    void killAt(int number) { m_killAt = number; }
    void withoutUnnamedFiles() { m_unnamedFiles = false; }
    void before(Call kind, std::function<void()> action) {
        m_beforeKind = kind;
        m_before = std::move(action);
    }

    [[nodiscard]] int calls() const { return m_count; }
    [[nodiscard]] const std::vector<Call>& log() const { return m_log; }
    // The kind of the call that was failed, if any was.
    [[nodiscard]] std::optional<Call> failed() const { return m_failed; }
    // Whether the failed call was the close of a descriptor never written to (a lock or a
    // folder), which loses nothing.
    [[nodiscard]] bool failedHarmlessClose() const { return m_harmlessClose; }
    // The names given to openAt, in order.
    [[nodiscard]] const std::vector<std::string>& opened() const { return m_opened; }

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

private:
    // Counts the call; true (errno set) when it is to fail.
    bool fails(Call kind) const;

    int m_failAt = 0;
    int m_killAt = 0;
    bool m_unnamedFiles = true;
    std::optional<Call> m_beforeKind;
    // The calls are const, as the storage layer sees them; what they count is not.
    mutable std::function<void()> m_before;
    mutable int m_count = 0;
    mutable std::vector<Call> m_log;
    mutable std::optional<Call> m_failed;
    mutable bool m_harmlessClose = false;
    mutable std::vector<int> m_writtenTo;
    mutable std::vector<std::string> m_opened;
};

// The two kinds of file systems a save meets: with unnamed temporary files, and without
// (played by FaultyCalls).
struct FileSystemMode {
    const char* name;
    bool unnamedFiles;
};
inline constexpr FileSystemMode kModes[] = {{"unnamed temporary files", true},
                                            {"named temporary files", false}};

// Calls that play the mode's file system.
[[nodiscard]] FaultyCalls callsFor(const FileSystemMode& mode);

}  // namespace testing_support
