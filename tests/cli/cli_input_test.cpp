// What brevanta-cli makes of its command line: empty option values, "-" for the standard
// streams, unknown commands and every other usage error.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Arguments.h"
#include "BsfText.h"
#include "CliRun.h"
#include "PilotRecord.h"
#include "PilotReport.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::PilotRecord;
using reports::BsfInput;
using testing_support::readText;
using testing_support::runCli;
using testing_support::TempDir;
using testing_support::textOf;

const PilotRecord kPilot = testing_support::patternedRecord(95);

BsfInput battleForm() {
    BsfInput input;
    input.mode = BsfInput::Mode::Battle;
    input.battle = 0;
    input.lastMission = 1;
    return input;
}

// "--text=" leaves that text empty and reads the next word as what it is.
TEST(CliInput, AnEmptyValueAfterTheEqualsSignIsTheEmptyText) {
    struct Text {
        std::string option;
        std::string value;
        std::string BsfInput::*field;
    };
    const std::vector<Text> texts = {
        {"--id-line=", "Ace", &BsfInput::idLine},
        {"--battle-no=", "17", &BsfInput::battleNumber},
        {"--medal=", "Cross", &BsfInput::medal},
        {"--email=", "ace@x", &BsfInput::email},
    };
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kPilot);
    for (const Text& emptied : texts) {
        SCOPED_TRACE(emptied.option);
        fs::remove(dir / "F.TXT");
        std::vector<std::string> arguments = {"bsf", "P.TFR",  "F.TXT", "--battle",
                                              "1",   "--last", "2",     emptied.option};
        BsfInput expected = battleForm();
        for (const Text& text : texts) {
            if (&text != &emptied) {
                arguments.push_back(text.option + text.value);
                expected.*text.field = text.value;
            }
        }
        const auto result = runCli(arguments, dir.path());
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(readText(dir / "F.TXT"), reports::bsfFormText(expected, kPilot));
    }
}

TEST(CliInput, EmptyNumbersCraftsOrNamesAndLineBreaksAreRefused) {
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"bsf", "P.TFR", "F.TXT", "--battle=", "--email=x"}, "brevanta-cli: --battle: "},
        {{"bsf", "P.TFR", "F.TXT", "--battle", "1", "--last="}, "brevanta-cli: --last: "},
        {{"bsf", "P.TFR", "F.TXT", "--battle", "1", "--highscore="}, "brevanta-cli: --highscore: "},
        {{"bsf", "P.TFR", "F.TXT", "--combat="}, "brevanta-cli: bsf: unknown craft \"\""},
        {{"bsf", "P.TFR", "F.TXT", "--combat", "1", "--from="}, "brevanta-cli: --from: "},
        {{"bsf", "P.TFR", "F.TXT", "--combat", "1", "--to="}, "brevanta-cli: --to: "},
        {{"report", "P.TFR", "--output="}, "brevanta-cli: : error 3: "},
        {{"bsf", "P.TFR", "F.TXT", "--battle", "1", "--medal", "Cross\r\nScores:"},
         "brevanta-cli: bsf: --medal holds a line break"},
        {{"bsf", "P.TFR", "F.TXT", "--battle", "1", "--id-line", "Ace\n"},
         "brevanta-cli: bsf: --id-line holds a line break"},
        {{"report", "P.TFR", "--output-dir="}, "brevanta-cli: report: --output-dir names no"},
    };
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kPilot);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        const auto result = runCli(c.arguments, dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.starts_with(c.message)) << result.err;
        EXPECT_EQ(testing_support::namesIn(dir.path()), std::set<std::string>{"P.TFR"});
    }
}

// A flag given as "--json=" is the flag.
TEST(CliInput, AnEmptyValueOfAFlagIsTheFlag) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kPilot);
    const auto flagged = runCli({"show", "--json=", "P.TFR"}, dir.path());
    EXPECT_EQ(flagged.status, 0) << flagged.err;
    EXPECT_EQ(flagged.out, runCli({"show", "--json", "P.TFR"}, dir.path()).out);
}

TEST(CliInput, OptionsMayStandAmongTheFiles) {
    TempDir dir;
    testing_support::writeRecord(dir / "a.TFR", kPilot);
    testing_support::writeRecord(dir / "b.TFR", PilotRecord::newPilot());
    const auto before = runCli({"show", "--json", "a.TFR", "b.TFR"}, dir.path());
    const auto among = runCli({"show", "a.TFR", "--json", "b.TFR"}, dir.path());
    EXPECT_EQ(among.status, 0) << among.err;
    EXPECT_EQ(among.out, before.out);
    fs::create_directory(dir / "out");
    const auto reports = runCli({"report", "a.TFR", "--output-dir", "out", "b.TFR"}, dir.path());
    EXPECT_EQ(reports.status, 0) << reports.err;
    EXPECT_EQ(testing_support::namesIn(dir / "out"), (std::set<std::string>{"a.TXT", "b.TXT"}));
}

// "-" as the pilot reads standard input, and as the form's file writes standard output.
TEST(CliInput, ADashIsTheStandardStream) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", kPilot);
    const std::string pilot = textOf(kPilot);
    for (const auto& command :
         std::vector<std::vector<std::string>>{{"show"}, {"show", "--json"}, {"check"}}) {
        SCOPED_TRACE(command.back());
        auto fromFile = command;
        fromFile.push_back("P.TFR");
        auto fromInput = command;
        fromInput.push_back("-");
        const auto expected = runCli(fromFile, dir.path());
        const auto result = runCli(fromInput, dir.path(), pilot);
        EXPECT_EQ(result.status, expected.status) << result.err;
        std::string named = expected.out;  // check names the file on each line
        for (auto at = named.find("P.TFR: "); at != std::string::npos;
             at = named.find("P.TFR: ", at)) {
            named.replace(at, 7, "-: ");
        }
        EXPECT_EQ(result.out, named);
    }
    const auto diff = runCli({"diff", "-", "P.TFR"}, dir.path(), pilot);
    EXPECT_EQ(diff.status, 0) << diff.err;

    auto result = runCli({"report", "-", "-o", "R.TXT"}, dir.path(), pilot);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readText(dir / "R.TXT"), reports::pilotReport(kPilot, (dir / "R.TXT").string()));

    const std::string form = reports::bsfFormText(battleForm(), kPilot);
    result = runCli({"bsf", "-", "F.TXT", "--battle", "1", "--last", "2"}, dir.path(), pilot);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(readText(dir / "F.TXT"), form);
    for (const char* source : {"P.TFR", "-"}) {
        result = runCli({"bsf", source, "-", "--battle", "1", "--last", "2"}, dir.path(), pilot);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, form) << "no separator, no file named \"-\"";
    }
    EXPECT_FALSE(fs::exists(dir / "-"));
}

TEST(CliInput, StandardInputMustHoldAWholeRecordAndAReportNeedsAName) {
    TempDir dir;
    auto result = runCli({"show", "-"}, dir.path(), std::string(100, 'x'));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "brevanta-cli: -: error 100: Lesen nach Dateiende (EOF)\n");
    for (const auto& command : std::vector<std::vector<std::string>>{
             {"report", "-"}, {"report", "-", "-o", "-"}, {"report", "-", "--output-dir", "."}}) {
        result = runCli(command, dir.path(), textOf(kPilot));
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(
            result.err.starts_with("brevanta-cli: report: a pilot read from standard "
                                   "input"))
            << result.err;
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// The line as the option parser gets it, and the file names a list command reads itself.
TEST(CliInput, AListCommandsFileNamesAreReadBesideTheParser) {
    cli::OptionKinds kinds;
    kinds.longOptions = {
        {"--json", false}, {"--output", true}, {"--output-dir", true}, {"--medal", true}};
    kinds.shortOptions = {{'o', true}, {'h', false}};
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> words;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {{"show", "a", "b", "c"}, {"show", "a"}, {"a", "b", "c"}},
        {{"show", "--json", "a", "b"}, {"show", "--json", "a"}, {"a", "b"}},
        {{"show", "a", "--json", "b"}, {"show", "a", "--json"}, {"a", "b"}},
        {{"show", "--json=", "a"}, {"show", "--json", "a"}, {"a"}},
        {{"report", "-o", "x", "a"}, {"report", "-o", "x", "a"}, {"a"}},
        {{"report", "-ox", "a"}, {"report", "-ox", "a"}, {"a"}},
        {{"report", "-o", "-", "a"}, {"report", "-o", "-", "a"}, {"a"}},
        {{"report", "a", "--output-dir", "d", "b"},
         {"report", "a", "--output-dir", "d"},
         {"a", "b"}},
        {{"report", "--output-dir=d", "a", "b"}, {"report", "--output-dir=d", "a"}, {"a", "b"}},
        {{"report", "--output=", "a"}, {"report", "--output", "", "a"}, {"a"}},
        {{"show", "-", "-5", "a"}, {"show", "-"}, {"-", "-5", "a"}},
        {{"show", "--", "-weird", "b"}, {"show", "--", "-weird"}, {"-weird", "b"}},
        {{"show", "--xml", "a"}, {"show", "--xml", "a"}, {"a"}},
        {{"bsf", "p", "o", "--medal=", "--json"}, {"bsf", "p", "o", "--medal", "", "--json"}, {}},
        {{"set", "p", "Rank=1", "Skill=2"}, {"set", "p", "Rank=1", "Skill=2"}, {}},
        {{"--version"}, {"--version"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front() + " " + c.arguments.back());
        std::vector<std::string> storage = c.arguments;
        std::vector<char*> arguments;
        for (std::string& argument : storage) {
            arguments.push_back(argument.data());
        }
        const cli::CommandLine line =
            cli::readCommandLine(arguments, kinds, {"show", "check", "report"});
        EXPECT_EQ(line.words, c.words);
        std::vector<std::string> names;
        for (std::size_t i = 0; i < line.names.size(); ++i) {
            names.emplace_back(line.names[i]);
        }
        EXPECT_EQ(names, c.names);
    }
}

TEST(CliUsage, EveryUsageErrorStartsWithTheProgramsName) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"fly"},
        {"show"},
        {"show", "--xml", "a"},
        {"set", "a.TFR"},
        {"diff", "a.TFR"},
        {"bsf", "a.TFR"},
        {"bsf", "a.TFR", "b.TXT", "--battle", "21"},
        {"report", "a.TFR", "-o"},
        {"--frobnicate"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.empty() ? std::string("nothing") : arguments.back());
        const auto result = runCli(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_TRUE(result.err.starts_with("brevanta-cli: ")) << result.err;
    }
    EXPECT_EQ(runCli({"fly", "ACE.TFR"}).err,
              "brevanta-cli: unknown command \"fly\" (the commands: show, report, bsf, new, set, "
              "diff, merge, check; --help describes them)\n");
}

TEST(CliUsage, HelpTellsThatTheCombatRangeMustNotRunBackwards) {
    const auto help = runCli({"bsf", "--help"});
    EXPECT_NE(help.out.find("--combat refuses a --from after --to"), std::string::npos) << help.out;
}

}  // namespace
