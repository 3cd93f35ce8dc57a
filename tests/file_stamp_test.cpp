// The stamp a load and a save give, and the checked save that compares it with the file
// under the lock: whatever another program did to the file, the user is asked at most once.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "IoError.h"
#include "PilotFileIO.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::ChangedOnDisk;
using pilot::FileStamp;
using pilot::IoError;
using pilot::PilotRecord;
using testing_support::TempDir;
using testing_support::textOf;

const PilotRecord kLoaded = testing_support::patternedRecord(81);
const PilotRecord kTheirs = testing_support::patternedRecord(82);
const PilotRecord kMine = testing_support::patternedRecord(83);

FileStamp stampOfLoad(const fs::path& path) {
    auto loaded = pilot::loadPilotFileWithStamp(path);
    EXPECT_TRUE(std::holds_alternative<pilot::LoadedPilot>(loaded));
    return std::get<pilot::LoadedPilot>(loaded).stamp;
}

// Writes over the file in place, as the game does: same inode, new modification time.
void writeInPlace(const fs::path& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    const timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 5, 0}};
    ASSERT_EQ(::futimens(fd, later), 0);
    ::close(fd);
}

TEST(FileStamps, TheLoadAndTheSaveStampDescribeTheFileTheyTouched) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kLoaded);
    const FileStamp loaded = stampOfLoad(dir / "P.TFR");
    struct stat info {};
    ASSERT_EQ(::stat((dir / "P.TFR").c_str(), &info), 0);
    EXPECT_EQ(loaded.inode, info.st_ino);
    EXPECT_EQ(loaded.size, 1928);
    EXPECT_EQ(loaded.content, kLoaded.bytes());

    const auto saved = pilot::savePilotFileChecked(dir / "P.TFR", kMine, loaded);
    ASSERT_TRUE(std::holds_alternative<FileStamp>(saved));
    EXPECT_EQ(std::get<FileStamp>(saved), stampOfLoad(dir / "P.TFR"));
    EXPECT_EQ(std::get<FileStamp>(saved).content, kMine.bytes());
    EXPECT_FALSE(pilot::changedSince(dir / "P.TFR", std::get<FileStamp>(saved)));
    EXPECT_EQ(pilot::currentStamp(dir / "P.TFR"), std::get<FileStamp>(saved));
}

// What another program did between the load and the save, whether the save asks, and that a
// second save with the stamp it gave never asks again.
TEST(FileStamps, AChangedFileIsReportedOnceAndThenSaved) {
    struct Change {
        const char* what;
        std::function<void(const fs::path&)> make;
        bool asks;
    };
    const std::vector<Change> changes = {
        {"nothing", [](const fs::path&) {}, false},
        {"the same bytes written again",
         [](const fs::path& p) { writeInPlace(p, textOf(kLoaded)); }, false},
        {"other bytes written in place",
         [](const fs::path& p) { writeInPlace(p, textOf(kTheirs)); }, true},
        {"replaced by another file",
         [](const fs::path& p) {
             testing_support::writeRecord(p.string() + ".new", kTheirs);
             fs::rename(p.string() + ".new", p);
         },
         true},
        {"cut short", [](const fs::path& p) { writeInPlace(p, textOf(kLoaded).substr(0, 100)); },
         true},
        {"emptied", [](const fs::path& p) { writeInPlace(p, ""); }, true},
        {"grown", [](const fs::path& p) { writeInPlace(p, textOf(kLoaded) + "tail"); }, true},
        {"removed", [](const fs::path& p) { fs::remove(p); }, false},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        TempDir dir;
        const fs::path pilot = dir / "P.TFR";
        testing_support::writeRecord(pilot, kLoaded);
        const FileStamp loaded = stampOfLoad(pilot);
        change.make(pilot);
        const std::string theirs = fs::exists(pilot) ? testing_support::readText(pilot) : "";
        EXPECT_EQ(pilot::changedSince(pilot, loaded), change.asks);

        auto result = pilot::savePilotFileChecked(pilot, kMine, loaded);
        if (change.asks) {
            ASSERT_TRUE(std::holds_alternative<ChangedOnDisk>(result));
            EXPECT_EQ(testing_support::readText(pilot), theirs) << "written before asking";
            result =
                pilot::savePilotFileChecked(pilot, kMine, std::get<ChangedOnDisk>(result).current);
        }
        ASSERT_TRUE(std::holds_alternative<FileStamp>(result));
        EXPECT_EQ(testing_support::readText(pilot), textOf(kMine));
    }
}

// A name that is no regular file any more gets the error a save there gets, not a question.
TEST(FileStamps, AFolderWhereThePilotWasIsAnErrorNotAQuestion) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kLoaded);
    const FileStamp loaded = stampOfLoad(dir / "P.TFR");
    fs::remove(dir / "P.TFR");
    fs::create_directory(dir / "P.TFR");
    const auto result = pilot::savePilotFileChecked(dir / "P.TFR", kMine, loaded);
    ASSERT_TRUE(std::holds_alternative<IoError>(result));
    EXPECT_EQ(std::get<IoError>(result), IoError{IoError::AccessDenied});
}

// A user who can write the file but no longer read it: the check cannot look at the bytes,
// so a different modification time asks once, and the stamp it gives saves.
TEST(FileStamps, AFileThatCannotBeReadAnyMoreIsAskedAboutOnce) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to play another user";
    }
    TempDir dir;
    const fs::path folder = dir / "own";
    fs::create_directory(folder);
    ASSERT_EQ(::chown(folder.c_str(), 2000, 2000), 0);
    const fs::path pilot = folder / "P.TFR";
    testing_support::writeRecord(pilot, kLoaded);
    ASSERT_EQ(::chown(pilot.c_str(), 2000, 2000), 0);
    enum Step { Saved = 0, NotLoaded, NotAsked, NotSavedAfterAsking };
    const int status = testing_support::runAsUser(2000, 2000, {2000}, [&] {
        auto loaded = pilot::loadPilotFileWithStamp(pilot);
        if (!std::holds_alternative<pilot::LoadedPilot>(loaded)) {
            return NotLoaded;
        }
        writeInPlace(pilot, textOf(kTheirs));
        ::chmod(pilot.c_str(), 0200);
        const auto asked =
            pilot::savePilotFileChecked(pilot, kMine, std::get<pilot::LoadedPilot>(loaded).stamp);
        if (!std::holds_alternative<ChangedOnDisk>(asked)) {
            return NotAsked;
        }
        const auto saved =
            pilot::savePilotFileChecked(pilot, kMine, std::get<ChangedOnDisk>(asked).current);
        return std::holds_alternative<FileStamp>(saved) ? Saved : NotSavedAfterAsking;
    });
    if (status == testing_support::kCannotSwitchUser) {
        GTEST_SKIP() << "this system does not let root become another user";
    }
    EXPECT_EQ(status, Saved);
    EXPECT_EQ(testing_support::readText(pilot), textOf(kMine));
}

}  // namespace
