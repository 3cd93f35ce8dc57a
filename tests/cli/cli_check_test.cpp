// brevanta-cli check, several files in one call, the error texts, help and version.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "PilotRecord.h"
#include "ProblemCases.h"
#include "TestFiles.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::runCli;
using testing_support::TempDir;
using testing_support::writeRecord;

// check prints each problem in the words of the core's checks, which the window shows too.
TEST(CliCheck, ReportsEachProblemInTheEditorsWords) {
    TempDir dir;
    for (const auto& c : testing_support::problemCases()) {
        SCOPED_TRACE(c.name);
        writeRecord(dir / "pilot.TFR", c.record());
        const auto result = runCli({"check", "pilot.TFR"}, dir.path());
        EXPECT_EQ(result.err, "");
        std::string expected;
        for (const pilot::Problem& problem : c.problems) {
            expected += "pilot.TFR: " + std::string(pilot::severityName(problem.severity)) + ": " +
                        problem.message + "\n";
        }
        EXPECT_EQ(result.out, expected);
        EXPECT_EQ(result.status, c.problems.empty() ? 0 : 1);
    }
}

TEST(CliCheck, ListsEveryWarningOfEveryFile) {
    TempDir dir;
    PilotRecord record = PilotRecord::newPilot();
    record.setU8(Field::Rank, 7);
    record.setI32(Field::TotalScore, 1);
    writeRecord(dir / "a.TFR", record);
    writeRecord(dir / "b.TFR", PilotRecord::newPilot());
    writeRecord(dir / "c.TFR", record);
    const auto result = runCli({"check", "a.TFR", "b.TFR", "c.TFR"}, dir.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out,
              "a.TFR: error: Rank 7 is not in the list (0 to 5)\n"
              "a.TFR: warning: Total score 1 differs from the sum of the mission scores, 0\n"
              "c.TFR: error: Rank 7 is not in the list (0 to 5)\n"
              "c.TFR: warning: Total score 1 differs from the sum of the mission scores, 0\n");
}

// show, check and report --output-dir take a roster: a missing file is reported with the
// window's text, the others are still processed, and the status says a file failed.
TEST(CliSeveralFiles, OneMissingFileDoesNotStopTheOthers) {
    TempDir dir;
    fs::create_directories(dir / "out");
    PilotRecord doubtful = PilotRecord::newPilot();
    doubtful.setU8(Field::Rank, 9);
    writeRecord(dir / "one.TFR", PilotRecord::newPilot());
    writeRecord(dir / "two.TFR", doubtful);
    const std::string missing =
        "brevanta-cli: gone.TFR: error 2: Datei nicht gefunden. (the file does not exist)\n";

    auto result = runCli({"show", "one.TFR", "gone.TFR", "two.TFR"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, missing);
    EXPECT_EQ(result.out.find("==> one.TFR <==\n"), 0u);
    EXPECT_NE(result.out.find("==> two.TFR <==\n"), std::string::npos);
    EXPECT_NE(result.out.find("\nRank: 9 (unknown)\n"), std::string::npos);

    result = runCli({"show", "--json", "one.TFR", "gone.TFR", "two.TFR"}, dir.path());
    EXPECT_EQ(result.status, 2);
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json.at("one.TFR").at("Rank").at("value"), 0);
    EXPECT_EQ(json.at("two.TFR").at("Rank").at("value"), 9);
    EXPECT_FALSE(json.contains("gone.TFR"));

    result = runCli({"check", "one.TFR", "gone.TFR", "two.TFR"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, missing);
    EXPECT_EQ(result.out, "two.TFR: error: Rank 9 is not in the list (0 to 5)\n");

    result =
        runCli({"report", "--output-dir", "out", "one.TFR", "gone.TFR", "two.TFR"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, missing);
    EXPECT_TRUE(fs::exists(dir / "out/one.TXT"));
    EXPECT_TRUE(fs::exists(dir / "out/two.TXT"));
}

TEST(CliErrors, ShowTheWindowsCodesAndTexts) {
    struct Broken {
        std::string name;
        std::function<void(const fs::path&)> make;
        std::string text;
    };
    const std::vector<Broken> cases = {
        {"gone.TFR", [](const fs::path&) {},
         "error 2: Datei nicht gefunden. (the file does not exist)"},
        {"no/folder.TFR", [](const fs::path&) {},
         "error 3: Ungültiger Dateiname. (the name is not valid or its folder does not exist)"},
        {"empty.TFR", [](const fs::path& p) { testing_support::writeBytes(p, std::string()); },
         "error 100: Lesen nach Dateiende (EOF) (it holds fewer than the 1928 bytes of a pilot "
         "record)"},
        {"short.TFR",
         [](const fs::path& p) { testing_support::writeBytes(p, std::string(1927, 'x')); },
         "error 100: Lesen nach Dateiende (EOF) (it holds fewer than the 1928 bytes of a pilot "
         "record)"},
        {"folder.TFR", [](const fs::path& p) { fs::create_directory(p); },
         "error 5: Dateizugriff verweigert. (access denied: it is a folder, not a file)"},
    };
    TempDir dir;
    for (const Broken& broken : cases) {
        SCOPED_TRACE(broken.name);
        broken.make(dir / broken.name);
        const auto result = runCli({"show", broken.name}, dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "brevanta-cli: " + broken.name + ": " + broken.text + "\n");
    }
}

TEST(CliErrors, AWriteProtectedPilotIsNotChanged) {
    TempDir dir;
    const auto path = dir / "locked.TFR";
    writeRecord(path, PilotRecord::newPilot());
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto result = runCli({"set", "locked.TFR", "Rank=2"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err,
              "brevanta-cli: locked.TFR: error 5: Dateizugriff verweigert. (access denied: no "
              "permission, a read-only disk, or not a regular file)\n");
    EXPECT_EQ(testing_support::recordOf(path), PilotRecord::newPilot());
}

TEST(CliErrors, NothingIsCreatedOnAReadOnlyFileSystem) {
    TempDir dir;
    testing_support::ReadOnlyMount mount(dir / "ro");
    if (!mount.mounted()) {
        GTEST_SKIP() << "no read-only tmpfs can be mounted here";
    }
    writeRecord(dir / "ace.TFR", PilotRecord::newPilot());
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {"new", "ro/new.TFR"},
             {"report", "ace.TFR", "-o", "ro/ace.TXT"},
             {"bsf", "ace.TFR", "ro/form.TXT", "--battle", "1"},
             {"merge", "ace.TFR", "ace.TFR", "ace.TFR", "-o", "ro/merged.TFR"},
         }) {
        SCOPED_TRACE(arguments.front());
        const auto result = runCli(arguments, dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("brevanta-cli: ro/"), std::string::npos) << result.err;
        EXPECT_TRUE(fs::is_empty(dir / "ro"));
    }
}

TEST(CliUsage, HelpOnTheProgramAndEveryCommandAndTheVersion) {
    for (const std::string command :
         {"", "show", "report", "bsf", "new", "set", "diff", "merge", "check", "verify", "table"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> arguments;
        if (!command.empty()) {
            arguments.push_back(command);
        }
        arguments.push_back("--help");
        const auto result = runCli(arguments);
        EXPECT_EQ(result.status, 0);
        EXPECT_NE(result.out.find("Usage: "), std::string::npos) << result.out;
    }
    const auto version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "brevanta-cli 1.0.0\n");
}

TEST(CliUsage, UsageErrorsEndWithStatus2) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"fly"}, {"show"}, {"set", "a.TFR"}, {"diff", "a.TFR"}, {"show", "--xml", "a"}}) {
        const auto result = runCli(arguments);
        EXPECT_EQ(result.status, 2) << (arguments.empty() ? "" : arguments.front());
        EXPECT_NE(result.err, "");
    }
}

}  // namespace
