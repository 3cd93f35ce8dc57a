// Several brevanta-cli at work on one file at once, one killed at random moments, one
// pointed at a named pipe: no update is lost, no form is mixed, no file is torn, nothing
// waits for ever.

#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "BsfText.h"
#include "CliRun.h"
#include "PilotRecord.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::namesIn;
using testing_support::recordOf;
using testing_support::runCli;
using testing_support::startCli;
using testing_support::TempDir;
using testing_support::waitForCli;

TEST(CliRaces, TwoSetsOnOneFileAtOnceBothTakeEffect) {
    TempDir dir;
    int lost = 0;
    for (int round = 1; round <= 100; ++round) {
        testing_support::writeRecord(dir / "P.TFR", PilotRecord::newPilot());
        const std::string value = std::to_string(round);
        auto first = startCli({"set", "P.TFR", "Skill=" + value}, dir.path());
        auto second = startCli({"set", "P.TFR", "Captures=" + value}, dir.path());
        ASSERT_EQ(waitForCli(first)->status, 0);
        ASSERT_EQ(waitForCli(second)->status, 0);
        const PilotRecord record = recordOf(dir / "P.TFR");
        lost += record.u16(Field::Skill) != round || record.u16(Field::Captures) != round;
    }
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"P.TFR"});
}

TEST(CliRaces, TwoFormsToOneNewFileAtOnceAreEachWhole) {
    TempDir dir;
    const PilotRecord pilot = testing_support::patternedRecord(91);
    testing_support::writeRecord(dir / "P.TFR", pilot);
    const auto form = [&](const std::string& medal) {
        reports::BsfInput input;
        input.medal = medal;
        input.mode = reports::BsfInput::Mode::CombatChamber;
        input.craft = 0;
        input.fromMission = 0;
        input.toMission = 3;
        return reports::bsfFormText(input, pilot);
    };
    const std::string separator = std::string(reports::kBsfSeparatorLine) + "\r\n";
    const std::string aThenB = form("A") + separator + form("B");
    const std::string bThenA = form("B") + separator + form("A");
    int mixed = 0;
    for (int round = 0; round < 100; ++round) {
        fs::remove(dir / "F.TXT");
        auto first =
            startCli({"bsf", "P.TFR", "F.TXT", "--combat", "1", "--medal", "A"}, dir.path());
        auto second =
            startCli({"bsf", "P.TFR", "F.TXT", "--combat", "1", "--medal", "B"}, dir.path());
        ASSERT_EQ(waitForCli(first)->status, 0);
        ASSERT_EQ(waitForCli(second)->status, 0);
        const std::string forms = testing_support::readText(dir / "F.TXT");
        mixed += forms != aThenB && forms != bThenA;
    }
    EXPECT_EQ(mixed, 0);
}

// A set killed at any moment leaves the pilot whole, with its old or its new value, and at
// most the one temporary file of a save killed between its last two steps, which the next
// set removes.
TEST(CliRaces, ASetKilledAtRandomLeavesAWholeFileAndNoTemporaryFile) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", PilotRecord::newPilot());
    std::mt19937 random(92);
    std::uniform_int_distribution<int> delay(0, 6000);
    for (int round = 1; round <= 200; ++round) {
        auto set = startCli({"set", "P.TFR", "Skill=" + std::to_string(round)}, dir.path());
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        testing_support::killCli(set);
        ASSERT_EQ(fs::file_size(dir / "P.TFR"), pilot::kRecordSize);
        PilotRecord expected = recordOf(dir / "P.TFR");
        ASSERT_LE(expected.u16(Field::Skill), round);
        expected.setU16(Field::Skill, 0);
        ASSERT_EQ(expected, PilotRecord::newPilot());
        ASSERT_LE(namesIn(dir.path()).size(), 2u);
    }
    ASSERT_EQ(runCli({"set", "P.TFR", "Skill=7"}, dir.path()).status, 0);
    EXPECT_EQ(recordOf(dir / "P.TFR").u16(Field::Skill), 7);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"P.TFR"});
}

// Every command that reads or writes a file refuses a named pipe at once.
TEST(CliTargets, ANamedPipeIsRefusedAtOnce) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", PilotRecord::newPilot());
    ASSERT_EQ(::mkfifo((dir / "F.TXT").c_str(), 0666), 0);
    const std::vector<std::vector<std::string>> commands = {
        {"bsf", "P.TFR", "F.TXT", "--battle", "1"},
        {"report", "P.TFR", "-o", "F.TXT"},
        {"set", "F.TXT", "Rank=1"},
        {"new", "F.TXT", "--force"},
        {"show", "F.TXT"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.front());
        auto running = startCli(command, dir.path());
        const auto result = waitForCli(running, std::chrono::seconds(5));
        ASSERT_TRUE(result.has_value()) << "still waiting on the pipe";
        EXPECT_EQ(result->status, 2);
        EXPECT_EQ(result->err,
                  "brevanta-cli: F.TXT: error 5: Dateizugriff verweigert. (access denied: no "
                  "permission, a read-only disk, or not a regular file)\n");
    }
}

// Names up to 255 bytes, as long as the file system allows, are created and saved over.
TEST(CliTargets, TheLongestNamesAreSavedAgain) {
    TempDir dir;
    for (const std::size_t length : {236u, 255u}) {
        SCOPED_TRACE(length);
        const std::string pilot = std::string(length - 4, 'p') + ".TFR";
        const std::string report = std::string(length - 4, 'r') + ".TXT";
        for (const auto& command : std::vector<std::vector<std::string>>{
                 {"new", pilot},
                 {"new", pilot, "--force"},
                 {"set", pilot, "Rank=2"},
                 {"report", pilot, "-o", report},
                 {"report", pilot, "-o", report},
             }) {
            const auto result = runCli(command, dir.path());
            EXPECT_EQ(result.status, 0) << command.front() << ": " << result.err;
        }
        EXPECT_EQ(recordOf(dir / pilot).u8(Field::Rank), 2);
        EXPECT_TRUE(fs::exists(dir / report));
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 4u);
}

}  // namespace
