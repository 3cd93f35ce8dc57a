// brevanta-cli and the history: every command that writes over a pilot keeps what it
// replaces, history lists and shows the versions, restore writes one back and diff compares
// one with the file; a history that cannot be written is a warning, never a failure.

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "History.h"
#include "PilotRecord.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::PilotRecord;
using pilot::history::Origin;
using testing_support::recordOf;
using testing_support::runCli;
using testing_support::TempDir;

const PilotRecord kAce = testing_support::patternedRecord(31);

std::vector<pilot::history::Entry> versionsOf(const fs::path& pilot) {
    auto entries = pilot::history::PilotHistory(testing_support::historyRoot(), pilot).entries();
    return std::get<std::vector<pilot::history::Entry>>(entries);
}

PilotRecord withRank(PilotRecord record, std::uint8_t rank) {
    record.setU8(pilot::Field::Rank, rank);
    return record;
}

TEST(CliHistory, EveryCommandThatWritesOverAPilotKeepsWhatItReplaces) {
    struct Case {
        const char* what;
        std::vector<std::string> arguments;
        std::vector<PilotRecord> kept;  // newest first
        PilotRecord after;
    };
    const std::vector<Case> cases = {
        {"set", {"set", "P.TFR", "Rank=4"}, {kAce}, withRank(kAce, 4)},
        {"set the value it has",
         {"set", "P.TFR", "Captures=" + std::to_string(kAce.u16(pilot::Field::Captures))},
         {},
         kAce},
        {"new --force", {"new", "--force", "P.TFR"}, {kAce}, PilotRecord::newPilot()},
        {"merge into the pilot",
         {"merge", "BASE.TFR", "P.TFR", "THEIRS.TFR", "-o", "P.TFR"},
         {kAce},
         withRank(kAce, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        testing_support::writeRecord(dir / "P.TFR", kAce);
        testing_support::writeRecord(dir / "BASE.TFR", kAce);
        testing_support::writeRecord(dir / "THEIRS.TFR", withRank(kAce, 4));
        const auto result = runCli(c.arguments, dir.path());
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_TRUE(recordOf(dir / "P.TFR") == c.after);
        const auto versions = versionsOf(dir / "P.TFR");
        ASSERT_EQ(versions.size(), c.kept.size());
        for (std::size_t i = 0; i < versions.size(); ++i) {
            EXPECT_TRUE(versions[i].record == c.kept[i]);
            EXPECT_EQ(versions[i].origin, Origin::Replaced);
        }
    }
    TempDir dir;
    ASSERT_EQ(runCli({"new", "FRESH.TFR"}, dir.path()).status, 0);
    EXPECT_TRUE(versionsOf(dir / "FRESH.TFR").empty());
}

// Two sets, then the listing, a version shown, a version compared and written back, and
// the listing of every pilot, all in a state folder of the test's own.
TEST(CliHistory, VersionsAreListedShownComparedAndRestored) {
    TempDir dir;
    const testing_support::Environment state = {{"XDG_STATE_HOME", (dir / "state").string()}};
    const auto cli = [&](const std::vector<std::string>& arguments, const std::string& input = {}) {
        return runCli(arguments, dir.path(), input, state);
    };
    const auto versions = [&] {
        auto entries =
            pilot::history::PilotHistory(dir / "state" / "brevanta" / "history", dir / "P.TFR")
                .entries();
        return std::get<std::vector<pilot::history::Entry>>(entries);
    };
    testing_support::writeRecord(dir / "P.TFR", kAce);
    ASSERT_EQ(cli({"set", "P.TFR", "Rank=4"}).status, 0);
    ASSERT_EQ(cli({"set", "P.TFR", "Rank=5", "Skill=7"}).status, 0);
    PilotRecord latest = withRank(kAce, 5);
    latest.setU16(pilot::Field::Skill, 7);

    const auto listed = cli({"history", "P.TFR"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    const std::vector<pilot::history::Entry> kept = versions();
    ASSERT_EQ(kept.size(), 2u);
    const auto line = [&](std::size_t number, const char* differences) {
        return std::to_string(number) + "    " +
               pilot::history::localTimeText(kept[number - 1].time) + "  replaced" +
               std::string(20, ' ') + differences + "\n";
    };
    EXPECT_EQ(listed.out, line(1, "2 fields differ") + line(2, "2 fields differ"));

    // A version shows as show shows the same record from a file.
    testing_support::writeRecord(dir / "V.TFR", withRank(kAce, 4));
    for (const bool json : {false, true}) {
        std::vector<std::string> show = {"history", "P.TFR", "--show", "1"};
        std::vector<std::string> plain = {"show", "V.TFR"};
        if (json) {
            show.push_back("--json");
            plain.push_back("--json");
        }
        const auto shown = cli(show);
        EXPECT_EQ(shown.status, 0) << shown.err;
        EXPECT_EQ(shown.out, cli(plain).out);
    }

    const auto compared = cli({"diff", "P.TFR", "--kept", "2"});
    EXPECT_EQ(compared.status, 1) << compared.err;
    EXPECT_EQ(compared.out, cli({"diff", "-", "P.TFR"}, testing_support::textOf(kAce)).out);

    const auto restored = cli({"restore", "P.TFR", "2"});
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_TRUE(testing_support::readText(dir / "P.TFR") == testing_support::textOf(kAce));
    const auto after = versions();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_TRUE(after[0].record == latest);
    const auto same = cli({"diff", "P.TFR", "--kept", "3"});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    const auto all = cli({"history", "--all"});
    EXPECT_EQ(all.status, 0);
    EXPECT_EQ(all.out, "3    " + pilot::history::localTimeText(after[0].time) + "  " +
                           (dir / "P.TFR").string() + "\n");
}

TEST(CliHistory, NumbersAndCombinationsWithoutAVersionAreRefused) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kAce);
    ASSERT_EQ(runCli({"set", "P.TFR", "Rank=4"}, dir.path()).status, 0);
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"restore", "P.TFR", "2"},
         "brevanta-cli: restore: P.TFR has 1 kept version, numbered 1 (the newest) to 1\n"},
        {{"history", "P.TFR", "--show", "5"},
         "brevanta-cli: history: P.TFR has 1 kept version, numbered 1 (the newest) to 1\n"},
        {{"diff", "Q.TFR", "--kept", "1"}, "brevanta-cli: diff: Q.TFR has 0 kept versions\n"},
        {{"diff", "P.TFR", "Q.TFR", "--kept", "1"},
         "brevanta-cli: diff: compare A with B, or PILOT with its kept version --kept N\n"},
        {{"history"}, "brevanta-cli: history: name one PILOT, or --all\n"},
        {{"history", "P.TFR", "--all"}, "brevanta-cli: history: name one PILOT, or --all\n"},
        {{"history", "P.TFR", "--json"}, "brevanta-cli: history: --json goes with --show N\n"},
    };
    for (const Case& c : cases) {
        const auto result = runCli(c.arguments, dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, c.message);
        EXPECT_EQ(result.out, "");
    }
    EXPECT_TRUE(recordOf(dir / "P.TFR") == withRank(kAce, 4));
}

// A pilot that is gone still lists its versions, and restore brings it back.
TEST(CliHistory, ADeletedPilotIsBroughtBack) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kAce);
    ASSERT_EQ(runCli({"new", "--force", "P.TFR"}, dir.path()).status, 0);
    fs::remove(dir / "P.TFR");
    const auto listed = runCli({"history", "P.TFR"}, dir.path());
    EXPECT_EQ(listed.status, 0);
    EXPECT_TRUE(listed.out.ends_with("  replaced                    -\n")) << listed.out;
    EXPECT_EQ(listed.err,
              "brevanta-cli: warning: P.TFR cannot be read (Datei nicht gefunden.); no "
              "differences counted\n");
    ASSERT_EQ(runCli({"restore", "P.TFR", "1"}, dir.path()).status, 0);
    EXPECT_TRUE(recordOf(dir / "P.TFR") == kAce);
}

// Where the history cannot be written the command does its work all the same, says so on
// standard error and keeps its exit status.
TEST(CliHistory, AHistoryThatCannotBeWrittenIsAWarning) {
    TempDir dir;
    testing_support::writeBytes(dir / "state", std::string("a file, not a folder"));
    testing_support::writeRecord(dir / "P.TFR", kAce);
    const testing_support::Environment environment = {{"XDG_STATE_HOME", (dir / "state").string()}};
    const auto set = runCli({"set", "P.TFR", "Rank=4"}, dir.path(), {}, environment);
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.err, "brevanta-cli: warning: no earlier version of P.TFR kept: " +
                           (dir / "state" / "brevanta" / "history").string() + "/" +
                           pilot::history::pilotFolderName(dir / "P.TFR") +
                           ": Ungültiger Dateiname.\n");
    EXPECT_TRUE(recordOf(dir / "P.TFR") == withRank(kAce, 4));

    const auto forced =
        runCli({"new", "--force", "P.TFR"}, dir.path(), {}, {{"XDG_STATE_HOME", ""}, {"HOME", ""}});
    EXPECT_EQ(forced.status, 0);
    EXPECT_EQ(forced.err,
              "brevanta-cli: warning: no earlier version of P.TFR kept: P.TFR: neither "
              "XDG_STATE_HOME nor HOME names a folder for it.\n");
    EXPECT_TRUE(recordOf(dir / "P.TFR") == PilotRecord::newPilot());
}

}  // namespace
