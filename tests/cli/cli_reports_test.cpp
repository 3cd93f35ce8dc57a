// brevanta-cli report and bsf: the same bytes as the editor's report and form for the same
// record and inputs.

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "BsfText.h"
#include "CliRun.h"
#include "PilotRecord.h"
#include "PilotReport.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using reports::BsfInput;
using testing_support::readText;
using testing_support::runCli;
using testing_support::TempDir;
using testing_support::writeRecord;

// A pilot with existing battles, so that every part of the report has lines.
PilotRecord reportedPilot(std::uint32_t seed) {
    PilotRecord record = testing_support::patternedRecord(seed);
    record.setU8(Field::PilotStatus, 1);
    record.setU8(Field::Rank, 4);
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        record.setU8(Field::BattleStatus, battle % 4, battle);
    }
    return record;
}

std::string reportFor(const PilotRecord& record, const fs::path& reportPath) {
    return reports::pilotReport(record, reportPath.string());
}

struct DefaultName {
    std::string pilot;           // relative to the working folder
    std::string argument;        // how the pilot is named on the command line
    std::string expectedReport;  // relative to the working folder
};

TEST(CliReport, WritesBesideThePilotUnderItsNameWithTXT) {
    const std::vector<DefaultName> cases = {
        {"ace.TFR", "ace.TFR", "ace.TXT"},
        {"ace", "ace", "ace.TXT"},
        {"ace.tfr", "ace.tfr", "ace.TXT"},
        {"report.text.TFR", "report.text.TFR", "report.text.TXT"},
        {"wing/ace.TFR", "wing/../wing/./ace.TFR", "wing/ace.TXT"},
    };
    for (const DefaultName& name : cases) {
        SCOPED_TRACE(name.argument);
        TempDir dir;
        fs::create_directories(dir / "wing");
        const PilotRecord record = reportedPilot(1);
        writeRecord(dir / name.pilot, record);
        const auto result = runCli({"report", name.argument}, dir.path());
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, "");
        const fs::path report = dir / name.expectedReport;
        EXPECT_EQ(readText(report), reportFor(record, report));
    }
}

TEST(CliReport, WritesTheNamedFileOrStandardOutput) {
    TempDir dir;
    const PilotRecord record = reportedPilot(2);
    writeRecord(dir / "ace.TFR", record);

    auto result = runCli({"report", "ace.TFR", "-o", "Ace Report.txt"}, dir.path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readText(dir / "Ace Report.txt"), reportFor(record, dir / "Ace Report.txt"));

    result = runCli({"report", "ace.TFR", "-o", "-"}, dir.path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, reportFor(record, dir / "ace.TXT"));
    EXPECT_FALSE(fs::exists(dir / "ace.TXT"));
}

TEST(CliReport, OutputDirNamesEachReportAndGoesOnPastABadFile) {
    TempDir dir;
    fs::create_directories(dir / "reports");
    const PilotRecord first = reportedPilot(3);
    const PilotRecord second = reportedPilot(4);
    writeRecord(dir / "first.TFR", first);
    writeRecord(dir / "second.TFR", second);
    const auto result = runCli({"report", "--output-dir", "./reports/../reports/", "first.TFR",
                                "missing.TFR", "second.TFR"},
                               dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(
        result.err,
        "brevanta-cli: missing.TFR: error 2: Datei nicht gefunden. (the file does not exist)\n");
    EXPECT_EQ(readText(dir / "reports/first.TXT"), reportFor(first, dir / "reports/first.TXT"));
    EXPECT_EQ(readText(dir / "reports/second.TXT"), reportFor(second, dir / "reports/second.TXT"));
    EXPECT_FALSE(fs::exists(dir / "reports/missing.TXT"));
}

std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A folder every report would fail in is refused once, before any pilot is read: one line
// for a whole roster, and nothing created.
TEST(CliReport, AnUnusableOutputDirIsRefusedOnceUpFront) {
    TempDir dir;
    writeRecord(dir / "a.TFR", reportedPilot(10));
    writeRecord(dir / "b.TFR", reportedPilot(11));
    writeRecord(dir / "c.TFR", reportedPilot(12));
    testing_support::writeBytes(dir / "plain", std::string("not a folder"));
    testing_support::ReadOnlyMount mount(dir / "ro");
    const struct {
        const char* folder;
        const char* error;
        bool needsMount;
    } cases[] = {
        {"missing", "brevanta-cli: report: the output folder missing does not exist\n", false},
        {"missing/deeper",
         "brevanta-cli: report: the output folder missing/deeper does not exist\n", false},
        {"plain", "brevanta-cli: report: plain is not a folder\n", false},
        {"plain/x",
         "brevanta-cli: plain/x: error 3: Ungültiger Dateiname. (the name is not valid or its "
         "folder does not exist)\n",
         false},
        {"ro",
         "brevanta-cli: ro: error 5: Dateizugriff verweigert. (access denied: no permission, a "
         "read-only disk, or not a regular file)\n",
         true},
    };
    for (const auto& folder : cases) {
        SCOPED_TRACE(folder.folder);
        if (folder.needsMount && !mount.mounted()) {
            continue;
        }
        const auto before = entriesOf(dir.path());
        const auto result =
            runCli({"report", "--output-dir", folder.folder, "a.TFR", "b.TFR", "gone.TFR", "c.TFR"},
                   dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, folder.error);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(entriesOf(dir.path()), before);
    }
    if (!mount.mounted()) {
        GTEST_SKIP() << "no read-only tmpfs here; the other folders were checked";
    }
    EXPECT_TRUE(fs::is_empty(dir / "ro"));
}

TEST(CliReport, NeverWritesOverThePilotItself) {
    TempDir dir;
    const PilotRecord record = reportedPilot(5);
    writeRecord(dir / "X.TXT", record);
    const auto before = testing_support::readBytes(dir / "X.TXT");

    auto result = runCli({"report", "X.TXT"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("would replace the pilot file itself"), std::string::npos);
    result = runCli({"report", "X.TXT", "-o", (dir / "X.TXT").string()}, dir.path());
    EXPECT_EQ(result.status, 2);
    result = runCli({"report", "X.TXT", "--output-dir", "."}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(testing_support::readBytes(dir / "X.TXT"), before);

    fs::create_directories(dir / "out");
    result = runCli({"report", "X.TXT", "--output-dir", "out"}, dir.path());
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readText(dir / "out/X.TXT"), reportFor(record, dir / "out/X.TXT"));
}

TEST(CliReport, TwoPilotsOfOneNameDoNotShareAReport) {
    TempDir dir;
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    fs::create_directories(dir / "out");
    const PilotRecord first = reportedPilot(6);
    writeRecord(dir / "a/ace.TFR", first);
    writeRecord(dir / "b/ace.TFR", reportedPilot(7));
    const auto result =
        runCli({"report", "--output-dir", "out", "a/ace.TFR", "b/ace.TFR"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("b/ace.TFR"), std::string::npos) << result.err;
    EXPECT_EQ(readText(dir / "out/ace.TXT"), reportFor(first, dir / "out/ace.TXT"));
}

TEST(CliReport, RefusesOneOutputForSeveralPilotsAndReportsWriteErrors) {
    TempDir dir;
    writeRecord(dir / "a.TFR", reportedPilot(8));
    writeRecord(dir / "b.TFR", reportedPilot(9));
    auto result = runCli({"report", "a.TFR", "b.TFR", "-o", "both.TXT"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_FALSE(fs::exists(dir / "both.TXT"));

    result = runCli({"report", "a.TFR", "-o", "no/such/folder.TXT"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err,
              "brevanta-cli: no/such/folder.TXT: error 3: Ungültiger Dateiname. (the name is not "
              "valid or its folder does not exist)\n");
}

// The form's inputs on the command line, and the same inputs as the form window gives them.
struct FormCase {
    std::vector<std::string> arguments;
    BsfInput input;
};

BsfInput texts(BsfInput::Mode mode) {
    BsfInput input;
    input.idLine = "Lt Ace/Vessk Wing 1";
    input.battleNumber = "17";
    input.medal = "Imperial Cross";
    input.email = "ace@vessk.example";
    input.mode = mode;
    return input;
}

std::vector<std::string> textArguments() {
    return {"--id-line", "Lt Ace/Vessk Wing 1", "--battle-no", "17",
            "--medal",   "Imperial Cross",      "--email",     "ace@vessk.example"};
}

std::vector<FormCase> formCases() {
    std::vector<FormCase> cases;
    BsfInput battle = texts(BsfInput::Mode::Battle);
    battle.battle = 3;
    battle.lastMission = 2;
    battle.highscore[0] = battle.highscore[2] = true;
    cases.push_back({{"--battle", "4", "--last", "3", "--highscore", "1,3"}, battle});

    BsfInput recorded = texts(BsfInput::Mode::Battle);  // the battle's last mission: 8
    recorded.battle = 19;
    recorded.lastMission = 7;
    recorded.highscore[7] = true;
    cases.push_back({{"--battle", "20", "--highscore", "8"}, recorded});

    BsfInput none = texts(BsfInput::Mode::Battle);  // no mission finished: the head alone
    none.battle = 0;
    cases.push_back({{"--battle", "1"}, none});

    BsfInput beyond = texts(BsfInput::Mode::Battle);  // a last mission of 12: the head alone
    beyond.battle = 1;
    cases.push_back({{"--battle", "2"}, beyond});

    BsfInput combat = texts(BsfInput::Mode::CombatChamber);
    combat.craft = 6;
    combat.fromMission = 2;
    combat.toMission = 4;
    cases.push_back({{"--combat", "Missile Boat", "--from", "3", "--to", "5"}, combat});

    BsfInput opened = texts(BsfInput::Mode::CombatChamber);  // the window's range 1 to 4
    opened.craft = 0;
    opened.fromMission = 0;
    opened.toMission = 3;
    cases.push_back({{"--combat", "1"}, opened});

    BsfInput single = texts(BsfInput::Mode::CombatChamber);
    single.craft = 2;
    single.fromMission = 7;
    single.toMission = 7;
    cases.push_back({{"--combat", "tie bomber", "--from", "8", "--to", "8"}, single});
    return cases;
}

PilotRecord formPilot() {
    PilotRecord record = testing_support::patternedRecord(30);
    record.setU8(Field::BattleLastMission, 0, 0);
    record.setU8(Field::BattleLastMission, 12, 1);
    record.setU8(Field::BattleLastMission, 8, 19);
    return record;
}

TEST(CliBsf, WritesTheFormWindowsBytes) {
    const PilotRecord record = formPilot();
    for (const FormCase& form : formCases()) {
        SCOPED_TRACE(form.arguments.front() + " " + form.arguments[1]);
        TempDir dir;
        writeRecord(dir / "ace.TFR", record);
        std::vector<std::string> arguments{"bsf", "ace.TFR", "form.TXT"};
        const auto textArgs = textArguments();
        arguments.insert(arguments.end(), textArgs.begin(), textArgs.end());
        arguments.insert(arguments.end(), form.arguments.begin(), form.arguments.end());
        const auto result = runCli(arguments, dir.path());
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(readText(dir / "form.TXT"), reports::bsfFormText(form.input, record));
    }
}

TEST(CliBsf, AppendsFurtherFormsAfterASeparatorLine) {
    TempDir dir;
    const PilotRecord record = formPilot();
    writeRecord(dir / "ace.TFR", record);
    const auto cases = formCases();
    std::string expected;
    for (const FormCase& form : cases) {
        std::vector<std::string> arguments{"bsf", "ace.TFR", "forms.TXT"};
        const auto textArgs = textArguments();
        arguments.insert(arguments.end(), textArgs.begin(), textArgs.end());
        arguments.insert(arguments.end(), form.arguments.begin(), form.arguments.end());
        ASSERT_EQ(runCli(arguments, dir.path()).status, 0);
        if (!expected.empty()) {
            expected += std::string(reports::kBsfSeparatorLine) + "\r\n";
        }
        expected += reports::bsfFormText(form.input, record);
    }
    EXPECT_EQ(readText(dir / "forms.TXT"), expected);
}

TEST(CliBsf, TakesTextsAsTheFormWindowsSingleByteText) {
    struct Text {
        std::string argument;  // UTF-8, or not
        std::string written;
    };
    const std::vector<Text> cases = {
        {"Lt Ace", "Lt Ace"},
        {"J\xC3\xBCrgen \xC3\x84rger", "J\xFCrgen \xC4rger"},
        {"\xC3\xBF", "\xFF"},
        {"5 \xE2\x82\xAC", "5 ?"},
        {"\xF0\x9F\x9A\x80!", "?!"},
        {"a\xFF"
         "b",
         "a?b"},
        {"a\xC3", "a?"},
        {"\xC0\xAF", "??"},
        {"\xED\xA0\x80", "???"},
        {"", ""},
    };
    TempDir dir;
    const PilotRecord record = formPilot();
    writeRecord(dir / "ace.TFR", record);
    for (const Text& text : cases) {
        SCOPED_TRACE(text.written);
        fs::remove(dir / "form.TXT");
        const auto result = runCli({"bsf", "ace.TFR", "form.TXT", "--id-line", text.argument,
                                    "--medal", text.argument, "--battle", "1"},
                                   dir.path());
        ASSERT_EQ(result.status, 0) << result.err;
        BsfInput input;
        input.idLine = input.medal = text.written;
        input.mode = BsfInput::Mode::Battle;
        input.battle = 0;
        EXPECT_EQ(readText(dir / "form.TXT"), reports::bsfFormText(input, record));
    }
}

TEST(CliBsf, RefusesIncompleteOrContradictoryChoicesAndWritesNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--battle", "0"},
        {"--battle", "21"},
        {"--battle", "1", "--last", "9"},
        {"--battle", "1", "--highscore", "2,9"},
        {"--last", "3"},
        {"--battle", "1", "--combat", "1"},
        {"--combat", "8"},
        {"--combat", "Starfighter"},
        {"--combat", "1", "--from", "5", "--to", "4"},
        {"--from", "1", "--to", "2"},
        {"--battle", "1", "--output-everything"},
    };
    TempDir dir;
    writeRecord(dir / "ace.TFR", formPilot());
    for (const auto& choice : cases) {
        SCOPED_TRACE(choice.empty() ? std::string("nothing") : choice.front());
        std::vector<std::string> arguments{"bsf", "ace.TFR", "form.TXT"};
        arguments.insert(arguments.end(), choice.begin(), choice.end());
        const auto result = runCli(arguments, dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err, "");
        EXPECT_FALSE(fs::exists(dir / "form.TXT"));
    }
}

TEST(CliBsf, NeverAppendsToThePilotOrWritesForAMissingOne) {
    TempDir dir;
    writeRecord(dir / "ace.TFR", formPilot());
    auto result = runCli({"bsf", "ace.TFR", "./ace.TFR", "--battle", "1"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(testing_support::recordOf(dir / "ace.TFR"), formPilot());

    result = runCli({"bsf", "gone.TFR", "form.TXT", "--battle", "1"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err,
              "brevanta-cli: gone.TFR: error 2: Datei nicht gefunden. (the file does not exist)\n");
    EXPECT_FALSE(fs::exists(dir / "form.TXT"));
}

}  // namespace
