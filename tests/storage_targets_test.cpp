// What a save meets at its target: a name as long as the file system allows, a named pipe, a
// disk that fills up while appending, a file of another user's group, and the temporary
// files of saves that were killed or are still at work.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ByteFiles.h"
#include "FaultyCalls.h"
#include "IoError.h"
#include "PilotFileIO.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::IoError;
using pilot::PilotRecord;
using testing_support::errorOf;
using testing_support::FaultyCalls;
using testing_support::namesIn;
using testing_support::TempDir;
using testing_support::textOf;

const PilotRecord kOld = testing_support::patternedRecord(71);
const PilotRecord kNew = testing_support::patternedRecord(72);
const std::string kSeparator = "---------------------------------------------\r\n";

// Every way the storage layer writes a file; `creates` when it makes a file of a free name.
struct Writer {
    const char* name;
    bool creates;
    std::function<std::optional<IoError>(const fs::path&, const pilot::SystemCalls&)> write;
};

std::vector<Writer> writers() {
    return {
        {"save", true,
         [](const fs::path& path, const pilot::SystemCalls& os) {
             return pilot::savePilotFile(path, kNew, {}, os);
         }},
        {"checked save", true,
         [](const fs::path& path, const pilot::SystemCalls& os) {
             return errorOf(pilot::savePilotFileChecked(path, kNew, pilot::AnyFile{}, {}, os));
         }},
        {"set", false,
         [](const fs::path& path, const pilot::SystemCalls& os) {
             return pilot::updatePilotFile(
                 path, [](PilotRecord& record) { record.setU8(pilot::Field::Rank, 2); }, {}, os);
         }},
        {"report", true,
         [](const fs::path& path, const pilot::SystemCalls& os) {
             return pilot::writeFileSafely(path, "report\r\n", pilot::Durability::Synced, os);
         }},
        {"form", true,
         [](const fs::path& path, const pilot::SystemCalls& os) {
             return testing_support::errorOf(
                 pilot::createOrAppend(path, "form\r\n", kSeparator + "form\r\n", os));
         }},
        {"append", false,
         [](const fs::path& path, const pilot::SystemCalls& os) {
             return pilot::appendToFile(path, "more\r\n", os);
         }},
    };
}

// The temporary name of a save does not grow with the target's: 255 bytes is as long as
// a name gets, and it can be saved over as often as created.
TEST(StorageNames, EveryNameTheFileSystemAllowsIsWrittenAgainAndAgain) {
    for (const bool unnamedFiles : {true, false}) {
        for (const std::size_t length : {236u, 250u, 255u}) {
            TempDir dir;
            const std::string name = std::string(length - 4, 'n') + ".TFR";
            for (const Writer& writer : writers()) {
                SCOPED_TRACE(std::string(writer.name) + ", " + std::to_string(length) +
                             (unnamedFiles ? ", unnamed" : ", named"));
                FaultyCalls os;
                if (!unnamedFiles) {
                    os.withoutUnnamedFiles();
                }
                testing_support::writeRecord(dir / name, kOld);
                EXPECT_EQ(writer.write(dir / name, os), std::nullopt);
                if (writer.creates) {
                    fs::remove(dir / name);
                    EXPECT_EQ(writer.write(dir / name, os), std::nullopt);
                }
                EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{name});
            }
        }
    }
}

// A named pipe is refused at once, whether a reader holds it open or not, and nothing is
// written into it.
TEST(StorageTargets, ANamedPipeIsRefusedWithoutWaiting) {
    for (const bool withReader : {false, true}) {
        TempDir dir;
        const fs::path pipe = dir / "F.TXT";
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
        const int reader = withReader ? ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK) : -1;
        for (const Writer& writer : writers()) {
            SCOPED_TRACE(std::string(writer.name) + (withReader ? " with a reader" : ""));
            const auto started = std::chrono::steady_clock::now();
            EXPECT_EQ(writer.write(pipe, pilot::PosixCalls{}), IoError{IoError::AccessDenied});
            EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
            EXPECT_TRUE(fs::is_fifo(pipe));
        }
        if (withReader) {
            char byte = 0;
            EXPECT_LE(::read(reader, &byte, 1), 0);
            ::close(reader);
        }
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"F.TXT"});
    }
}

// Appending to a 4000-byte form file on a full disk gets part of the text into the last
// block before the disk refuses more; the file is cut back to its 4000 bytes.
TEST(StorageTargets, AnAppendThatFillsTheDiskLeavesTheFileAsItWas) {
    TempDir dir;
    testing_support::TinyDisk disk(dir / "disk", "8k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const std::string earlier(4000, 'e');
    testing_support::writeBytes(dir / "disk" / "FORMS.TXT", earlier);
    ASSERT_TRUE(disk.fill("filler"));
    const std::string form(300, 'f');
    EXPECT_EQ(testing_support::errorOf(
                  pilot::createOrAppend(dir / "disk" / "FORMS.TXT", form, kSeparator + form)),
              IoError{IoError::DiskFull});
    EXPECT_EQ(pilot::appendToFile(dir / "disk" / "FORMS.TXT", form), IoError{IoError::DiskFull});
    EXPECT_EQ(testing_support::readText(dir / "disk" / "FORMS.TXT"), earlier);
    EXPECT_EQ(testing_support::errorOf(
                  pilot::createOrAppend(dir / "disk" / "NEW.TXT", form, kSeparator + form)),
              IoError{IoError::DiskFull});
    EXPECT_EQ(namesIn(dir / "disk"), (std::set<std::string>{"FORMS.TXT", "filler"}));
}

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

// Who saves a file of owner 1000, group 3000, mode 0660 in a folder of that group: a group
// member becomes the owner (only root can hand a file to someone else) and keeps the group,
// so the owner may still write it; someone outside the group cannot give it that group.
TEST(StorageOwners, TheGroupStaysWhereverTheSaverMayKeepIt) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to play other users";
    }
    struct Saver {
        const char* who;
        uid_t uid;
        std::vector<gid_t> groups;  // the first is the primary group
        mode_t mode;
        uid_t owner;
        gid_t group;
    };
    const Saver savers[] = {
        {"a member of the file's group", 2000, {2000, 3000}, 0660, 2000, 3000},
        {"the owner, after a member saved", 1000, {1000, 3000}, 0660, 1000, 3000},
        {"someone outside the group", 4000, {4000}, 0666, 4000, 4000},
        {"root", 0, {0}, 0660, 1000, 3000},
    };
    for (const Saver& saver : savers) {
        SCOPED_TRACE(saver.who);
        TempDir dir;
        const fs::path shared = dir / "shared";
        fs::create_directory(shared);
        ASSERT_EQ(::chown(shared.c_str(), 0, 3000), 0);
        ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
        const fs::path pilot = shared / "P.TFR";
        testing_support::writeRecord(pilot, kOld);
        ASSERT_EQ(::chown(pilot.c_str(), 1000, 3000), 0);
        ASSERT_EQ(::chmod(pilot.c_str(), saver.mode), 0);
        const int status =
            testing_support::runAsUser(saver.uid, saver.groups.front(), saver.groups,
                                       [&] { return pilot::savePilotFile(pilot, kNew) ? 1 : 0; });
        if (status == testing_support::kCannotSwitchUser) {
            GTEST_SKIP() << "this system does not let root become another user";
        }
        EXPECT_EQ(status, 0);
        const struct stat info = statOf(pilot);
        EXPECT_EQ(info.st_uid, saver.owner);
        EXPECT_EQ(info.st_gid, saver.group);
        EXPECT_EQ(info.st_mode & 07777, saver.mode);
        EXPECT_EQ(testing_support::readText(pilot), textOf(kNew));
        EXPECT_EQ(namesIn(shared), std::set<std::string>{"P.TFR"});
    }
}

// The temporary name a save of `target` uses, as a save without unnamed files shows it.
std::string temporaryNameOf(const fs::path& target) {
    FaultyCalls os;
    os.withoutUnnamedFiles();
    EXPECT_EQ(pilot::savePilotFile(target, kOld, {}, os), std::nullopt);
    for (const std::string& name : os.opened()) {
        if (name.ends_with(".brevanta-tmp")) {
            return name;
        }
    }
    ADD_FAILURE() << "no temporary file";
    return {};
}

// A file of the temporary name that another save still holds is waited for, not taken;
// anything of that name that is no file of ours (a folder) stays, and a save that needs the
// name is refused.
// Another target's temporary file is none of this save's business.
TEST(StorageTemporaryFiles, OnlyAStaleTemporaryFileOfTheTargetIsRemoved) {
    for (const bool unnamedFiles : {true, false}) {
        SCOPED_TRACE(unnamedFiles ? "unnamed" : "named");
        TempDir dir;
        const std::string temporary = temporaryNameOf(dir / "T");
        const std::string others = temporaryNameOf(dir / "U");
        ASSERT_NE(temporary, others);
        fs::remove(dir / "U");
        testing_support::writeBytes(dir / others, std::string("another save's"));

        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            const int fd = ::open((dir / temporary).c_str(), O_RDWR | O_CREAT, 0600);
            ::flock(fd, LOCK_EX);
            ::write(ready[1], "x", 1);
            ::usleep(300'000);
            ::unlink((dir / temporary).c_str());  // as the live save renames it away
            ::_exit(0);
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        const auto started = std::chrono::steady_clock::now();
        FaultyCalls os;
        if (!unnamedFiles) {
            os.withoutUnnamedFiles();
        }
        EXPECT_EQ(pilot::savePilotFile(dir / "T", kNew, {}, os), std::nullopt);
        EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(200));
        ::waitpid(holder, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(testing_support::readText(dir / "T"), textOf(kNew));
        EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"T", others}));

        fs::create_directory(dir / temporary);
        EXPECT_EQ(pilot::savePilotFile(dir / "T", kOld, {}, os), IoError{EEXIST});
        EXPECT_EQ(testing_support::readText(dir / "T"), textOf(kNew));
        EXPECT_TRUE(fs::is_directory(dir / temporary));
        // A new file written without a name never needs the temporary one.
        fs::remove(dir / "T");
        EXPECT_EQ(pilot::savePilotFile(dir / "T", kOld, {}, os),
                  unnamedFiles ? std::nullopt : std::optional(IoError{EEXIST}));
        EXPECT_TRUE(fs::is_directory(dir / temporary));
    }
}

}  // namespace
