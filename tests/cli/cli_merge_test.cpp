// brevanta-cli merge, end to end on pilot files made here, and as git's merge driver.

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "PilotRecord.h"
#include "TestFiles.h"
#include "Totals.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::recordOf;
using testing_support::runCli;
using testing_support::TempDir;
using testing_support::writeRecord;
using Edit = std::function<void(PilotRecord&)>;

// Mission scores of battle 1 and two kill counters, with the totals the editor stores.
PilotRecord basePilot() {
    PilotRecord record = PilotRecord::newPilot();
    record.setI32(Field::BattleMissionScore, 100, 0, 0);
    record.setI32(Field::BattleMissionScore, 200, 0, 1);
    record.setU16(Field::ShipKills, 5, 0);
    record.setI32(Field::TotalScore, 300);
    record.setU16(Field::Kills, 5);
    record.setByte(12, 0x40);
    return record;
}

PilotRecord edited(PilotRecord record, const Edit& edit) {
    edit(record);
    record.setI32(Field::TotalScore, pilot::storedTotalScore(record));
    record.setU16(Field::Kills, pilot::storedKillsTotal(record));
    return record;
}

// The user typed a score and chose a rank (and a reserved byte changed); the game flew battle 2 and
// counted kills.
const PilotRecord kBase = basePilot();
const PilotRecord kMine = edited(kBase, [](PilotRecord& record) {
    record.setI32(Field::BattleMissionScore, 150, 0, 0);
    record.setU8(Field::Rank, 3);
    record.setByte(12, 0x42);
});
const PilotRecord kTheirs = edited(kBase, [](PilotRecord& record) {
    record.setI32(Field::BattleMissionScore, 900, 1, 0);
    record.setU8(Field::BattleLastMission, 1, 1);
    record.setU16(Field::ShipKills, 7, 4);
});
// Both of them, with the totals of both.
const PilotRecord kMerged = edited(kMine, [](PilotRecord& record) {
    record.setI32(Field::BattleMissionScore, 900, 1, 0);
    record.setU8(Field::BattleLastMission, 1, 1);
    record.setU16(Field::ShipKills, 7, 4);
});

// The game also changed the score the user typed, the rank and a reserved byte.
const PilotRecord kColliding = edited(kTheirs, [](PilotRecord& record) {
    record.setI32(Field::BattleMissionScore, 180, 0, 0);
    record.setU8(Field::Rank, 4);
    record.setByte(12, 0x41);
});
const std::string kConflicts =
    "Rank (Rank): base Flight Cadet, mine Captain, theirs Commander\n"
    "Reserved byte 12 (Reserved11): base 0x40, mine 0x42, theirs 0x41\n"
    "Battle 1, mission 1: score (BattleMissionScore[0][0]): base 100, mine 150, theirs 180\n";

// Keeps per-user state of the runs in the test's folder.
class CliMerge : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* value = std::getenv("XDG_STATE_HOME")) {
            m_stateHome = value;
        }
        ::setenv("XDG_STATE_HOME", (m_dir / "state").c_str(), 1);
        writeRecord(m_dir / "BASE.TFR", kBase);
        writeRecord(m_dir / "MINE.TFR", kMine);
        writeRecord(m_dir / "THEIRS.TFR", kTheirs);
        writeRecord(m_dir / "COLLIDING.TFR", kColliding);
    }
    void TearDown() override {
        if (m_stateHome) {
            ::setenv("XDG_STATE_HOME", m_stateHome->c_str(), 1);
        } else {
            ::unsetenv("XDG_STATE_HOME");
        }
    }

    TempDir m_dir;
    std::optional<std::string> m_stateHome;
};

TEST_F(CliMerge, WritesTheMergeOrListsTheConflictsAndWritesNothing) {
    const PilotRecord theirsDecided = edited(kMerged, [](PilotRecord& record) {
        record.setI32(Field::BattleMissionScore, 180, 0, 0);
        record.setU8(Field::Rank, 4);
        record.setByte(12, 0x41);
    });
    struct Case {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::optional<PilotRecord> written;  // nothing: OUT is not created
    };
    const std::vector<Case> cases = {
        {{"BASE.TFR", "MINE.TFR", "THEIRS.TFR"}, 0, "", kMerged},
        {{"BASE.TFR", "THEIRS.TFR", "MINE.TFR"}, 0, "", kMerged},
        {{"BASE.TFR", "MINE.TFR", "BASE.TFR"}, 0, "", kMine},
        {{"BASE.TFR", "MINE.TFR", "COLLIDING.TFR"}, 1, kConflicts, std::nullopt},
        {{"BASE.TFR", "MINE.TFR", "COLLIDING.TFR", "--prefer", "mine"}, 0, kConflicts, kMerged},
        {{"BASE.TFR", "MINE.TFR", "COLLIDING.TFR", "--prefer=theirs"},
         0,
         kConflicts,
         theirsDecided},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"merge", "-o", "OUT.TFR"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(testing::PrintToString(arguments));
        fs::remove(m_dir / "OUT.TFR");
        const auto result = runCli(arguments, m_dir.path());
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.out, c.out);
        if (c.written) {
            EXPECT_EQ(result.err, "");
            EXPECT_EQ(recordOf(m_dir / "OUT.TFR"), *c.written);
        } else {
            EXPECT_FALSE(fs::exists(m_dir / "OUT.TFR"));
            EXPECT_EQ(result.err,
                      "brevanta-cli: merge: 3 conflicting items; nothing written to OUT.TFR "
                      "(--prefer mine or --prefer theirs decides)\n");
        }
    }
}

// As git calls it, the merge replaces MINE; with conflicts MINE stays as it was.
TEST_F(CliMerge, ReplacesMineOrLeavesItAsItWas) {
    auto result = runCli({"merge", "BASE.TFR", "MINE.TFR", "-", "-o", "MINE.TFR"}, m_dir.path(),
                         testing_support::textOf(kColliding));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(recordOf(m_dir / "MINE.TFR"), kMine);
    result = runCli({"merge", "-", "MINE.TFR", "THEIRS.TFR", "-o", "MINE.TFR"}, m_dir.path(),
                    testing_support::textOf(kBase));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(recordOf(m_dir / "MINE.TFR"), kMerged);
}

TEST_F(CliMerge, RefusesOrFailsWithStatus2AndWritesNothing) {
    testing_support::writeBytes(m_dir / "SHORT.TFR", std::string(100, 'x'));
    writeRecord(m_dir / "LOCKED.TFR", kBase);
    fs::permissions(m_dir / "LOCKED.TFR", fs::perms::owner_read | fs::perms::group_read);
    struct Case {
        std::vector<std::string> arguments;
        std::string err;  // how standard error starts
    };
    const std::string noFile =
        "brevanta-cli: merge: -o needs a file name: the merge is not written to standard output\n";
    const std::vector<Case> cases = {
        {{"BASE.TFR", "-", "-", "-o", "OUT.TFR"},
         "brevanta-cli: merge: only one of BASE, MINE and THEIRS can be read from standard "
         "input\n"},
        {{"BASE.TFR", "MINE.TFR", "THEIRS.TFR", "-o", "-"}, noFile},
        {{"BASE.TFR", "MINE.TFR", "THEIRS.TFR", "--output="}, noFile},
        {{"BASE.TFR", "GONE.TFR", "SHORT.TFR", "-o", "OUT.TFR"},
         "brevanta-cli: GONE.TFR: error 2: Datei nicht gefunden.\n"
         "brevanta-cli: SHORT.TFR: error 100: Lesen nach Dateiende (EOF)\n"},
        {{"BASE.TFR", "MINE.TFR", "THEIRS.TFR", "-o", "LOCKED.TFR"},
         "brevanta-cli: LOCKED.TFR: error 5: Dateizugriff verweigert.\n"},
        {{"BASE.TFR", "MINE.TFR", "THEIRS.TFR", "-o", "OUT.TFR", "--prefer", "both"},
         "brevanta-cli: --prefer: both not in {mine,theirs}\n"},
        {{"BASE.TFR", "MINE.TFR", "THEIRS.TFR"}, "brevanta-cli: --output is required\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"merge"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        SCOPED_TRACE(testing::PrintToString(arguments));
        const auto result = runCli(arguments, m_dir.path(), testing_support::textOf(kMine));
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with(c.err)) << result.err;
        EXPECT_FALSE(fs::exists(m_dir / "OUT.TFR"));
        EXPECT_EQ(recordOf(m_dir / "LOCKED.TFR"), kBase);
    }
}

struct GitRun {
    int status = -1;
    std::string output;  // standard output and error
};

// Runs git in the repository with a home and configuration of the test's own.
GitRun git(const fs::path& repository, const std::string& arguments) {
    const fs::path home = repository.parent_path() / "home";
    const fs::path output = repository.parent_path() / "git.out";
    fs::create_directories(home);
    const std::string command = "cd '" + repository.string() + "' && HOME='" + home.string() +
                                "' XDG_CONFIG_HOME='" + home.string() +
                                "' GIT_CONFIG_NOSYSTEM=1 git " + arguments + " >'" +
                                output.string() + "' 2>&1";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing_support::readText(output)};
}

// Players who keep their pilots in git: with the driver configured, a branch where the game
// flew a mission merges into one where the pilot was edited by hand, field by field; a pilot
// whose fields collide is left as the current branch has it, and git reports the conflict.
TEST_F(CliMerge, MergesPilotsAsGitsMergeDriver) {
    if (std::system("git --version >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "git is not installed";
    }
    const fs::path repository = m_dir / "roster";
    fs::create_directories(repository);
    const std::string driver = std::string(BREVANTA_CLI_PATH) + " merge %O %A %B -o %A";
    for (const std::string& step : {
             std::string("init -q"),
             std::string("config user.name Tester"),
             std::string("config user.email tester@example.org"),
             std::string("config merge.brevanta.name 'Brevanta pilot files, field by field'"),
             "config merge.brevanta.driver '" + driver + "'",
         }) {
        ASSERT_EQ(git(repository, step).status, 0) << step;
    }
    testing_support::writeBytes(repository / ".gitattributes",
                                std::string("*.TFR merge=brevanta\n"));
    const auto commit = [&](const PilotRecord& ace, const PilotRecord& rookie) {
        writeRecord(repository / "ACE.TFR", ace);
        writeRecord(repository / "ROOKIE.TFR", rookie);
        return git(repository, "add -A").status == 0 &&
               git(repository, "commit -q -m step").status == 0;
    };
    ASSERT_TRUE(commit(kBase, kBase));
    ASSERT_EQ(git(repository, "branch game").status, 0);
    ASSERT_TRUE(commit(kMine, kMine));
    ASSERT_EQ(git(repository, "checkout -q game").status, 0);
    ASSERT_TRUE(commit(kTheirs, kColliding));
    ASSERT_EQ(git(repository, "checkout -q -").status, 0);

    const GitRun merge = git(repository, "merge --no-edit game");
    EXPECT_EQ(merge.status, 1) << merge.output;
    EXPECT_NE(merge.output.find(kConflicts), std::string::npos) << merge.output;
    EXPECT_NE(merge.output.find("CONFLICT"), std::string::npos) << merge.output;
    EXPECT_EQ(recordOf(repository / "ACE.TFR"), kMerged);
    EXPECT_EQ(recordOf(repository / "ROOKIE.TFR"), kMine);
    EXPECT_EQ(git(repository, "diff --name-only --diff-filter=U").output, "ROOKIE.TFR\n");

    // Deciding the conflicts for the game, everything else merged.
    testing_support::writeBytes(m_dir / "ROOKIE.base.TFR",
                                git(repository, "show :1:ROOKIE.TFR").output);
    const auto decided = runCli({"merge", "../ROOKIE.base.TFR", "ROOKIE.TFR", "-", "-o",
                                 "ROOKIE.TFR", "--prefer", "theirs"},
                                repository, git(repository, "show :3:ROOKIE.TFR").output);
    EXPECT_EQ(decided.status, 0) << decided.err;
    EXPECT_EQ(recordOf(repository / "ROOKIE.TFR"), kColliding);
}

}  // namespace
