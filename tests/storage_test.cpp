#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ByteFiles.h"
#include "IoError.h"
#include "PilotFileIO.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::IoError;
using pilot::PilotRecord;
using testing_support::namesIn;
using testing_support::TempDir;

std::vector<std::uint8_t> recordBytes(const PilotRecord& record) {
    return {record.bytes().begin(), record.bytes().end()};
}

// The record's bytes cut or padded with `fill` to a file of `size` bytes.
std::vector<std::uint8_t> fileContent(const PilotRecord& record, std::size_t size,
                                      std::uint8_t fill) {
    std::vector<std::uint8_t> content(size, fill);
    std::copy_n(record.bytes().begin(), std::min(size, record.bytes().size()), content.begin());
    return content;
}

mode_t permissions(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::optional<IoError> loadError(const fs::path& path) {
    const auto loaded = pilot::loadPilotFile(path);
    if (const auto* error = std::get_if<IoError>(&loaded)) {
        return *error;
    }
    return std::nullopt;
}

// Limits the size of any file the process writes, as a quota would, for one block.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limited{bytes, m_old.rlim_max};
        m_active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    [[nodiscard]] bool active() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_active = false;
};

TEST(StorageLoad, FileSizesDecideBetweenRecordAndEndOfFile) {
    const PilotRecord pattern = testing_support::patternedRecord(21);
    struct Case {
        std::size_t size;
        std::optional<int> error;
    };
    const std::vector<Case> cases = {
        {1928, std::nullopt},      {2000, std::nullopt},      {1927, IoError::ReadPastEnd},
        {1, IoError::ReadPastEnd}, {0, IoError::ReadPastEnd},
    };
    for (const Case& c : cases) {
        TempDir dir;
        testing_support::writeBytes(dir / "pilot.TFR", fileContent(pattern, c.size, 0xEE));
        const auto loaded = pilot::loadPilotFile(dir / "pilot.TFR");
        if (c.error) {
            ASSERT_TRUE(std::holds_alternative<IoError>(loaded)) << c.size;
            EXPECT_EQ(std::get<IoError>(loaded).code, *c.error) << c.size;
        } else {
            ASSERT_TRUE(std::holds_alternative<PilotRecord>(loaded)) << c.size;
            EXPECT_EQ(std::get<PilotRecord>(loaded), pattern) << c.size;
        }
    }
}

TEST(StorageLoad, FailuresCarryTheirCodes) {
    TempDir dir;
    testing_support::writeBytes(dir / "plain.TFR", recordBytes(PilotRecord::newPilot()));
    fs::create_directory(dir / "folder.TFR");
    // A pipe without a writer must not keep the load waiting for one.
    ASSERT_EQ(::mkfifo((dir / "pipe.TFR").c_str(), 0600), 0);
    struct Case {
        fs::path path;
        int code;
    };
    const std::vector<Case> cases = {
        {dir / "pipe.TFR", IoError::AccessDenied},
        {"/dev/null", IoError::AccessDenied},
        {dir / "missing.TFR", IoError::FileNotFound},
        {dir / "no-such-folder" / "pilot.TFR", IoError::InvalidPath},
        {dir / "plain.TFR" / "pilot.TFR", IoError::InvalidPath},
        {dir / "folder.TFR", IoError::AccessDenied},
        {fs::path(), IoError::InvalidPath},
        {dir / (std::string(300, 'n') + ".TFR"), IoError::InvalidPath},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(loadError(c.path), IoError{c.code}) << c.path;
    }
}

TEST(StorageLoad, WriteProtectedFileStillLoads) {
    TempDir dir;
    const PilotRecord pattern = testing_support::patternedRecord(22);
    testing_support::writeRecord(dir / "locked.TFR", pattern);
    fs::permissions(dir / "locked.TFR", fs::perms::owner_read | fs::perms::group_read);
    const auto loaded = pilot::loadPilotFile(dir / "locked.TFR");
    ASSERT_TRUE(std::holds_alternative<PilotRecord>(loaded));
    EXPECT_EQ(std::get<PilotRecord>(loaded), pattern);
}

TEST(StorageSave, RoundTripIsByteIdentical) {
    TempDir dir;
    const PilotRecord pattern = testing_support::patternedRecord(23);
    testing_support::writeRecord(dir / "in.TFR", pattern);
    const auto loaded = pilot::loadPilotFile(dir / "in.TFR");
    ASSERT_TRUE(std::holds_alternative<PilotRecord>(loaded));
    EXPECT_EQ(pilot::savePilotFile(dir / "out.TFR", std::get<PilotRecord>(loaded)), std::nullopt);
    EXPECT_EQ(pilot::savePilotFile(dir / "in.TFR", std::get<PilotRecord>(loaded)), std::nullopt);
    EXPECT_EQ(testing_support::readBytes(dir / "out.TFR"), recordBytes(pattern));
    EXPECT_EQ(testing_support::readBytes(dir / "in.TFR"), recordBytes(pattern));
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"in.TFR", "out.TFR"}));
}

TEST(StorageSave, LongerFileIsCutToOneRecord) {
    TempDir dir;
    const PilotRecord pattern = testing_support::patternedRecord(24);
    testing_support::writeBytes(dir / "long.TFR", fileContent(pattern, 2000, 0x77));
    auto loaded = pilot::loadPilotFile(dir / "long.TFR");
    ASSERT_TRUE(std::holds_alternative<PilotRecord>(loaded));
    PilotRecord& record = std::get<PilotRecord>(loaded);
    record.setU8(pilot::Field::Rank, 4);
    ASSERT_EQ(pilot::savePilotFile(dir / "long.TFR", record), std::nullopt);
    std::vector<std::uint8_t> expected = recordBytes(pattern);
    expected[2] = 4;
    EXPECT_EQ(testing_support::readBytes(dir / "long.TFR"), expected);
}

TEST(StorageSave, RefusedTargetsStayUntouched) {
    const std::vector<std::uint8_t> old(pilot::kRecordSize, 0x42);
    struct Case {
        const char* what;
        fs::perms mode;  // of an existing target
        int code;
    };
    const std::vector<Case> cases = {
        {"read-only for all", fs::perms(0444), IoError::AccessDenied},
        {"owner read only", fs::perms(0400), IoError::AccessDenied},
        {"no permissions at all", fs::perms::none, IoError::AccessDenied},
    };
    for (const Case& c : cases) {
        TempDir dir;
        testing_support::writeBytes(dir / "old.TFR", old);
        fs::permissions(dir / "old.TFR", c.mode);
        EXPECT_EQ(pilot::savePilotFile(dir / "old.TFR", PilotRecord::newPilot()), IoError{c.code})
            << c.what;
        fs::permissions(dir / "old.TFR", fs::perms::owner_read);
        EXPECT_EQ(testing_support::readBytes(dir / "old.TFR"), old) << c.what;
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"old.TFR"}) << c.what;
    }
}

TEST(StorageSave, UnusableNamesCarryTheirCodes) {
    TempDir dir;
    fs::create_directory(dir / "folder.TFR");
    testing_support::writeBytes(dir / "plain.TFR", std::string("x"));
    struct Case {
        fs::path path;
        int code;
    };
    const std::vector<Case> cases = {
        {dir / "folder.TFR", IoError::AccessDenied},
        {dir / "no-such-folder" / "pilot.TFR", IoError::InvalidPath},
        {dir / "plain.TFR" / "pilot.TFR", IoError::InvalidPath},
        {fs::path(), IoError::InvalidPath},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::savePilotFile(c.path, PilotRecord::newPilot()), IoError{c.code}) << c.path;
    }
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"folder.TFR", "plain.TFR"}));
    EXPECT_TRUE(fs::is_empty(dir / "folder.TFR"));
}

TEST(StorageSave, ExistingFileKeepsItsPermissionBits) {
    for (const mode_t mode : {0640u, 0600u, 0666u, 0604u, 0200u, 0755u}) {
        TempDir dir;
        testing_support::writeBytes(dir / "pilot.TFR", std::string("old"));
        ASSERT_EQ(::chmod((dir / "pilot.TFR").c_str(), mode), 0);
        EXPECT_EQ(pilot::savePilotFile(dir / "pilot.TFR", PilotRecord::newPilot()), std::nullopt)
            << std::oct << mode;
        EXPECT_EQ(permissions(dir / "pilot.TFR"), mode) << std::oct << mode;
    }
}

TEST(StorageSave, NewFileFollowsTheUmask) {
    TempDir dir;
    for (const mode_t mask : {022u, 077u, 002u}) {
        const mode_t old = ::umask(mask);
        const fs::path target = dir / ("new" + std::to_string(mask) + ".TFR");
        const auto error = pilot::savePilotFile(target, PilotRecord::newPilot());
        ::umask(old);
        EXPECT_EQ(error, std::nullopt);
        EXPECT_EQ(permissions(target), 0666 & ~mask) << std::oct << mask;
    }
}

TEST(StorageSave, RootHandsTheSavedFileBackToItsOwner) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    TempDir dir;
    testing_support::writeBytes(dir / "pilot.TFR", std::string("old"));
    ASSERT_EQ(::chown((dir / "pilot.TFR").c_str(), 4321, 4322), 0);
    ASSERT_EQ(pilot::savePilotFile(dir / "pilot.TFR", PilotRecord::newPilot()), std::nullopt);
    struct stat info {};
    ASSERT_EQ(::stat((dir / "pilot.TFR").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
}

// However the link names its file (a full path, a path from the link's own folder, another
// link), the file is replaced and every link stays.
TEST(StorageSave, SymbolicLinkStaysAndItsFileIsReplaced) {
    struct Case {
        const char* what;
        std::vector<std::pair<fs::path, fs::path>> links;  // made in order: name, target
    };
    const std::vector<Case> cases = {
        {"full path", {{"link.TFR", "@/real/pilot.TFR"}}},
        {"from the link's folder", {{"link.TFR", "real/pilot.TFR"}}},
        {"through a second link",
         {{"real/second.TFR", "pilot.TFR"}, {"link.TFR", "real/second.TFR"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        fs::create_directory(dir / "real");
        testing_support::writeBytes(dir / "real" / "pilot.TFR", std::string("old"));
        for (const auto& [name, target] : c.links) {
            const std::string text = target.string();
            fs::create_symlink(text.starts_with('@') ? dir.path() / text.substr(2) : target,
                               dir / name);
        }
        const PilotRecord pattern = testing_support::patternedRecord(25);
        ASSERT_EQ(pilot::savePilotFile(dir / "link.TFR", pattern), std::nullopt);
        EXPECT_TRUE(fs::is_symlink(dir / "link.TFR"));
        EXPECT_EQ(testing_support::readBytes(dir / "real" / "pilot.TFR"), recordBytes(pattern));
        std::set<std::string> expected = {"pilot.TFR"};
        if (c.links.size() > 1) {
            expected.insert("second.TFR");
        }
        EXPECT_EQ(namesIn(dir / "real"), expected);
    }
}

TEST(StorageSave, RelativeNameResolvesAgainstTheCurrentFolder) {
    TempDir dir;
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const auto error = pilot::savePilotFile("Noname.TFR", PilotRecord::newPilot());
    fs::current_path(before);
    EXPECT_EQ(error, std::nullopt);
    EXPECT_EQ(testing_support::readBytes(dir / "Noname.TFR"), recordBytes(PilotRecord::newPilot()));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Noname.TFR"});
}

TEST(StorageSave, FullDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    testing_support::TinyDisk disk(dir / "disk");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const PilotRecord old = testing_support::patternedRecord(26);
    ASSERT_EQ(pilot::savePilotFile(dir / "disk" / "pilot.TFR", old), std::nullopt);
    ASSERT_TRUE(disk.fill("filler"));

    EXPECT_EQ(pilot::savePilotFile(dir / "disk" / "pilot.TFR", PilotRecord::newPilot()),
              IoError{IoError::DiskFull});
    EXPECT_EQ(pilot::savePilotFile(dir / "disk" / "other.TFR", PilotRecord::newPilot()),
              IoError{IoError::DiskFull});
    EXPECT_EQ(testing_support::readBytes(dir / "disk" / "pilot.TFR"), recordBytes(old));
    EXPECT_EQ(namesIn(dir / "disk"), (std::set<std::string>{"filler", "pilot.TFR"}));
}

TEST(StorageSave, WriteCutShortKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const PilotRecord old = testing_support::patternedRecord(27);
    testing_support::writeRecord(dir / "pilot.TFR", old);
    std::optional<IoError> error;
    std::optional<IoError> newFileError;
    {
        // The first write gets 1000 bytes through, the next one fails: the save must not
        // stop at the short write nor pass it off as done.
        const FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        error = pilot::savePilotFile(dir / "pilot.TFR", PilotRecord::newPilot());
        // A new name is written in place, and removed again when the write fails.
        newFileError = pilot::savePilotFile(dir / "new.TFR", PilotRecord::newPilot());
    }
    EXPECT_EQ(error, IoError{EFBIG});
    EXPECT_EQ(newFileError, IoError{EFBIG});
    EXPECT_EQ(testing_support::readBytes(dir / "pilot.TFR"), recordBytes(old));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"pilot.TFR"});
}

TEST(StorageSave, LinkToNowhereIsReplacedByTheFile) {
    TempDir dir;
    fs::create_symlink(dir / "missing" / "target.TFR", dir / "dangling.TFR");
    const PilotRecord pattern = testing_support::patternedRecord(28);
    ASSERT_EQ(pilot::savePilotFile(dir / "dangling.TFR", pattern), std::nullopt);
    EXPECT_FALSE(fs::is_symlink(dir / "dangling.TFR"));
    EXPECT_EQ(testing_support::readBytes(dir / "dangling.TFR"), recordBytes(pattern));
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"dangling.TFR"});
}

TEST(StorageReadOnlyDisk, LoadsButRefusesEverySave) {
    TempDir dir;
    testing_support::ReadOnlyMount mount(dir / "ro");
    if (!mount.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const PilotRecord pattern = testing_support::patternedRecord(28);
    const auto bytes = recordBytes(pattern);
    ASSERT_TRUE(mount.populate({{"pilot.TFR", std::string(bytes.begin(), bytes.end())}}));

    const auto loaded = pilot::loadPilotFile(dir / "ro" / "pilot.TFR");
    ASSERT_TRUE(std::holds_alternative<PilotRecord>(loaded));
    EXPECT_EQ(std::get<PilotRecord>(loaded), pattern);
    for (const char* name : {"pilot.TFR", "new.TFR"}) {
        EXPECT_EQ(pilot::savePilotFile(dir / "ro" / name, PilotRecord::newPilot()),
                  IoError{IoError::AccessDenied})
            << name;
    }
    EXPECT_EQ(pilot::appendToFile(dir / "ro" / "pilot.TFR", "more"),
              IoError{IoError::AccessDenied});
    EXPECT_EQ(testing_support::readBytes(dir / "ro" / "pilot.TFR"), bytes);
    EXPECT_EQ(namesIn(dir / "ro"), std::set<std::string>{"pilot.TFR"});
}

TEST(StorageAppend, AppendsToAnExistingFileOnly) {
    TempDir dir;
    testing_support::writeBytes(dir / "form.TXT", std::string("first\r\n"));
    ASSERT_EQ(pilot::appendToFile(dir / "form.TXT", "second\r\n"), std::nullopt);
    ASSERT_EQ(pilot::appendToFile(dir / "form.TXT", ""), std::nullopt);
    EXPECT_EQ(testing_support::readText(dir / "form.TXT"), "first\r\nsecond\r\n");

    testing_support::writeBytes(dir / "locked.TXT", std::string("kept"));
    fs::permissions(dir / "locked.TXT", fs::perms(0444));
    fs::create_directory(dir / "folder.TXT");
    struct Case {
        fs::path path;
        int code;
    };
    const std::vector<Case> cases = {
        {dir / "missing.TXT", IoError::FileNotFound},
        {dir / "no-such-folder" / "form.TXT", IoError::InvalidPath},
        {dir / "folder.TXT", IoError::AccessDenied},
        {dir / "locked.TXT", IoError::AccessDenied},
        {fs::path(), IoError::InvalidPath},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::appendToFile(c.path, "text\r\n"), IoError{c.code}) << c.path;
    }
    EXPECT_FALSE(fs::exists(dir / "missing.TXT"));
    EXPECT_EQ(testing_support::readText(dir / "locked.TXT"), "kept");
}

TEST(StorageAppend, WriteTextSafelyReplacesTheWholeContent) {
    TempDir dir;
    testing_support::writeBytes(dir / "report.TXT", std::string(5000, 'o'));
    ASSERT_EQ(pilot::writeFileSafely(dir / "report.TXT", "new\r\n"), std::nullopt);
    ASSERT_EQ(pilot::writeFileSafely(dir / "empty.TXT", ""), std::nullopt);
    EXPECT_EQ(testing_support::readText(dir / "report.TXT"), "new\r\n");
    EXPECT_EQ(testing_support::readText(dir / "empty.TXT"), "");
}

}  // namespace
