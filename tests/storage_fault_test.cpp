// Every system call of a save, a set, an append and a report failed in turn, and the process
// killed before each one in turn: the target always holds its old or its new content whole,
// the error is the failed call's, and no temporary file is left behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ByteFiles.h"
#include "FaultyCalls.h"
#include "IoError.h"
#include "PilotFileIO.h"
#include "PilotRecord.h"
#include "PilotReport.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::IoError;
using pilot::PilotRecord;
using testing_support::callsFor;
using testing_support::errorOf;
using testing_support::FaultyCalls;
using testing_support::kModes;
using Mode = testing_support::FileSystemMode;
using testing_support::namesIn;
using testing_support::TempDir;
using testing_support::textOf;
using Call = FaultyCalls::Call;

const PilotRecord kOld = testing_support::patternedRecord(61);
const PilotRecord kNew = testing_support::patternedRecord(62);
const std::string kEarlierForms = "earlier form\r\n";
const std::string kForm = "Name of Applicant: Ace\r\nScores:\r\n";
const std::string kSeparator = "---------------------------------------------\r\n";

PilotRecord promoted(PilotRecord record) {
    record.setU8(pilot::Field::Rank, 4);
    return record;
}

// One operation on a target named "T" in a folder, and what the target holds before and
// after it (nothing: the name is free).
struct Operation {
    const char* name;
    std::optional<std::string> before;
    std::string after;
    std::function<std::optional<IoError>(const fs::path&, const pilot::SystemCalls&)> run;
};

std::vector<Operation> operations() {
    const std::string report = reports::pilotReport(kNew, "/pilots/T");
    return {
        {"save over a pilot", textOf(kOld), textOf(kNew),
         [](const fs::path& target, const pilot::SystemCalls& os) {
             return pilot::savePilotFile(target, kNew, {}, os);
         }},
        {"save a new pilot", std::nullopt, textOf(kNew),
         [](const fs::path& target, const pilot::SystemCalls& os) {
             return pilot::savePilotFile(target, kNew, {}, os);
         }},
        {"checked save", textOf(kOld), textOf(kNew),
         [](const fs::path& target, const pilot::SystemCalls& os) {
             const auto loaded = pilot::loadPilotFileWithStamp(target);
             return errorOf(pilot::savePilotFileChecked(
                 target, kNew, std::get<pilot::LoadedPilot>(loaded).stamp, {}, os));
         }},
        {"set", textOf(kOld), textOf(promoted(kOld)),
         [](const fs::path& target, const pilot::SystemCalls& os) {
             return pilot::updatePilotFile(
                 target, [](PilotRecord& record) { record = promoted(record); }, {}, os);
         }},
        {"report over a report", std::string(5000, 'r'), report,
         [report](const fs::path& target, const pilot::SystemCalls& os) {
             return pilot::writeFileSafely(target, report, pilot::Durability::Synced, os);
         }},
        {"first form", std::nullopt, kForm,
         [](const fs::path& target, const pilot::SystemCalls& os) {
             return testing_support::errorOf(
                 pilot::createOrAppend(target, kForm, kSeparator + kForm, os));
         }},
        {"further form", kEarlierForms, kEarlierForms + kSeparator + kForm,
         [](const fs::path& target, const pilot::SystemCalls& os) {
             return testing_support::errorOf(
                 pilot::createOrAppend(target, kForm, kSeparator + kForm, os));
         }},
    };
}

void prepare(const TempDir& dir, const Operation& operation) {
    if (operation.before) {
        testing_support::writeBytes(dir / "T", *operation.before);
    }
}

// The target holds the old or the new content whole, and nothing else is in the folder.
void expectWholeAndAlone(const TempDir& dir, const Operation& operation) {
    const std::set<std::string> names = namesIn(dir.path());
    if (names.empty()) {
        EXPECT_FALSE(operation.before.has_value()) << "the old file is gone";
        return;
    }
    EXPECT_EQ(names, std::set<std::string>{"T"});
    const std::string content = testing_support::readText(dir / "T");
    EXPECT_TRUE(content == operation.after || (operation.before && content == *operation.before))
        << "torn: " << content.size() << " bytes";
}

// Whether the file system of the test's folder has unnamed temporary files (an overlay of
// an older kernel has not): without them every save goes the named way.
bool unnamedFilesWork(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR, 0600);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

// Runs the operation in a child process that ends (as if killed) before call `number`;
// true when the child was killed, false when it finished first.
bool runKilledAt(const Operation& operation, const Mode& mode, const TempDir& dir, int number) {
    const pid_t child = ::fork();
    if (child == 0) {
        FaultyCalls os = callsFor(mode);
        os.killAt(number);
        const auto error = operation.run(dir / "T", os);
        ::_exit(error ? 1 : 0);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 1) << "the operation failed without a fault";
    return WEXITSTATUS(status) == FaultyCalls::kKilledStatus;
}

TEST(StorageFaults, EveryFailedCallLeavesTheOldOrTheNewContentAndTheCallsError) {
    for (const Mode& mode : kModes) {
        for (const Operation& operation : operations()) {
            int calls = 0;
            for (int number = 1;; ++number) {
                TempDir dir;
                prepare(dir, operation);
                FaultyCalls os = callsFor(mode);
                os.failAt(number);
                const auto error = operation.run(dir / "T", os);
                if (!os.failed()) {
                    EXPECT_EQ(error, std::nullopt) << operation.name;
                    expectWholeAndAlone(dir, operation);
                    EXPECT_EQ(testing_support::readText(dir / "T"), operation.after);
                    calls = number - 1;
                    break;
                }
                SCOPED_TRACE(std::string(operation.name) + ", " + mode.name + ", call " +
                             std::to_string(number) + " of kind " +
                             std::to_string(static_cast<int>(*os.failed())));
                const int failure = FaultyCalls::errnoFor(*os.failed());
                if (os.failedHarmlessClose()) {
                    EXPECT_EQ(error, std::nullopt);
                } else {
                    ASSERT_TRUE(error.has_value()) << "a failure reported as success";
                    EXPECT_TRUE(*error == IoError::fromErrno(failure) ||
                                *error == IoError::fromErrno(failure, IoError::Transfer::Reading))
                        << error->code;
                }
                expectWholeAndAlone(dir, operation);
            }
            EXPECT_GT(calls, 5) << operation.name << ", " << mode.name;
        }
    }
}

// Killed before any call: a file system with unnamed temporary files is left with nothing
// but the target, except when the kill falls between the two steps that give a replacing
// file its temporary name and then the target's; elsewhere the temporary file may stay. The
// next save of the target removes what was left, and succeeds.
TEST(StorageFaults, AKilledSaveLeavesAWholeFileAndTheNextSaveClearsWhatItLeft) {
    for (const Mode& mode : kModes) {
        for (const Operation& operation : operations()) {
            std::vector<Call> sequence;
            {
                TempDir dir;
                prepare(dir, operation);
                FaultyCalls os = callsFor(mode);
                ASSERT_EQ(operation.run(dir / "T", os), std::nullopt);
                sequence = os.log();
            }
            for (int number = 1; number <= static_cast<int>(sequence.size()) + 1; ++number) {
                SCOPED_TRACE(std::string(operation.name) + ", " + mode.name +
                             ", killed before call " + std::to_string(number));
                TempDir dir;
                prepare(dir, operation);
                const bool killed = runKilledAt(operation, mode, dir, number);
                EXPECT_EQ(killed, number <= static_cast<int>(sequence.size()));
                std::set<std::string> left = namesIn(dir.path());
                left.erase("T");
                if (!left.empty()) {
                    ASSERT_EQ(left.size(), 1u);
                    EXPECT_TRUE(left.begin()->ends_with(".brevanta-tmp")) << *left.begin();
                    if (mode.unnamedFiles && unnamedFilesWork(dir.path())) {
                        EXPECT_EQ(sequence[number - 1], Call::RenameAt);
                        EXPECT_EQ(sequence[number - 2], Call::LinkAt);
                    }
                }
                if (fs::exists(dir / "T")) {
                    const std::string content = testing_support::readText(dir / "T");
                    EXPECT_TRUE(content == operation.after ||
                                (operation.before && content == *operation.before));
                }
                ASSERT_EQ(pilot::writeFileSafely(dir / "T", operation.after), std::nullopt);
                EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"T"});
            }
        }
    }
}

// Another program replaces the file while this one waits for its lock: the lock is then on
// a file without a name, and the work starts over on the file that has it.
TEST(StorageRaces, AFileReplacedWhileTheLockIsAwaitedIsWorkedOnAnew) {
    const PilotRecord other = testing_support::patternedRecord(63);
    const auto replaceTarget = [&](const TempDir& dir) {
        return [&dir, &other] {
            testing_support::writeRecord(dir / "other", other);
            fs::rename(dir / "other", dir / "T");
        };
    };
    {
        TempDir dir;
        testing_support::writeRecord(dir / "T", kOld);
        FaultyCalls os;
        os.before(Call::Flock, replaceTarget(dir));
        ASSERT_EQ(pilot::updatePilotFile(
                      dir / "T", [](PilotRecord& record) { record = promoted(record); }, {}, os),
                  std::nullopt);
        EXPECT_EQ(testing_support::readText(dir / "T"), textOf(promoted(other)));
    }
    {
        TempDir dir;
        testing_support::writeRecord(dir / "T", kOld);
        const auto loaded = pilot::loadPilotFileWithStamp(dir / "T");
        FaultyCalls os;
        os.before(Call::Flock, replaceTarget(dir));
        const auto result = pilot::savePilotFileChecked(
            dir / "T", kNew, std::get<pilot::LoadedPilot>(loaded).stamp, {}, os);
        ASSERT_TRUE(std::holds_alternative<pilot::ChangedOnDisk>(result));
        EXPECT_EQ(std::get<pilot::ChangedOnDisk>(result).current,
                  std::get<pilot::LoadedPilot>(pilot::loadPilotFileWithStamp(dir / "T")).stamp);
        EXPECT_EQ(testing_support::readText(dir / "T"), textOf(other));
    }
    {
        TempDir dir;
        testing_support::writeBytes(dir / "T", kEarlierForms);
        fs::create_hard_link(dir / "T", dir / "old inode");
        FaultyCalls os;
        os.before(Call::Flock, [&dir] {
            testing_support::writeBytes(dir / "other", std::string("replaced\r\n"));
            fs::rename(dir / "other", dir / "T");
        });
        ASSERT_EQ(pilot::appendToFile(dir / "T", kForm, os), std::nullopt);
        EXPECT_EQ(testing_support::readText(dir / "T"), "replaced\r\n" + kForm);
        EXPECT_EQ(testing_support::readText(dir / "old inode"), kEarlierForms);
    }
}

// What makes a reported save survive a power loss: the data synced before the file takes
// its name, and the folder synced after.
TEST(StorageDurability, TheFolderIsSyncedAfterTheNameChangesHands) {
    struct Case {
        const char* what;
        bool existing;
        pilot::Durability durability;
        bool syncBeforeName;
        bool syncAfterName;
    };
    const Case cases[] = {
        {"replace, synced", true, pilot::Durability::Synced, true, true},
        {"create, synced", false, pilot::Durability::Synced, true, true},
        {"replace, synced later", true, pilot::Durability::SyncedLater, true, false},
        {"create, synced later", false, pilot::Durability::SyncedLater, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (c.existing) {
            testing_support::writeRecord(dir / "T", kOld);
        }
        FaultyCalls os;
        ASSERT_EQ(pilot::writeFileSafely(dir / "T", textOf(kNew), c.durability, os), std::nullopt);
        const auto& log = os.log();
        const auto named = std::find_if(log.begin(), log.end(), [](Call call) {
            return call == Call::RenameAt || call == Call::LinkAt;
        });
        const auto last = std::find_if(log.rbegin(), log.rend(), [](Call call) {
            return call == Call::RenameAt || call == Call::LinkAt;
        });
        ASSERT_NE(named, log.end());
        EXPECT_EQ(std::find(log.begin(), named, Call::Fsync) != named, c.syncBeforeName);
        EXPECT_EQ(std::find(log.rbegin(), last, Call::Fsync) != last, c.syncAfterName);
    }
    TempDir dir;
    FaultyCalls os;
    EXPECT_EQ(pilot::syncFileSystem(dir.path(), os), std::nullopt);
    EXPECT_EQ(std::count(os.log().begin(), os.log().end(), Call::Syncfs), 1);
}

}  // namespace
