// brevanta-cli verify: forms written by bsf verify against their pilot, in one file or
// from standard input; a doctored score is caught with the mission named; text that is no
// form, and every kind of bad input, ends with its message and status.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "PilotRecord.h"
#include "TestFiles.h"

namespace {

using namespace std::string_literals;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::readText;
using testing_support::runCli;
using testing_support::TempDir;
using testing_support::writeBytes;

const char* const kSearchedBoth =
    " (its lines end at the scores, so battles and combat chamber ranges were searched)";

// Unique scores; the battles and crafts the forms take are finished as they claim.
PilotRecord verifiedPilot() {
    PilotRecord record = testing_support::patternedRecord(210);
    record.setU8(Field::BattleLastMission, 0, 0);
    record.setU8(Field::BattleLastMission, 1, 1);
    record.setU8(Field::BattleLastMission, 3, 3);
    record.setU8(Field::BattleLastMission, 8, 19);
    for (std::size_t mission = 2; mission <= 4; ++mission) {
        record.setU8(Field::CombatCompleted, 1, 2, mission);
    }
    record.setU8(Field::CombatCompleted, 1, 6, 7);
    return record;
}

struct Submitted {
    std::vector<std::string> options;  // of bsf, after PILOT and OUT
    std::string verdict;               // the line verify prints for it
};

const std::vector<Submitted> kSubmitted = {
    {{"--battle", "4", "--battle-no", "17", "--medal", "Silver Wing", "--highscore", "2"},
     "form 1 (Battle No 17, Silver Wing): battle 4, missions 1-3 match"},
    {{"--combat", "TIE Bomber", "--from", "3", "--to", "5", "--battle-no", "18"},
     "form 2 (Battle No 18): TIE Bomber, missions 3-5 match"s + kSearchedBoth},
    {{"--battle", "20", "--last", "8", "--highscore", "1,8", "--medal", "Imperial Cross"},
     "form 3 (Imperial Cross): battle 20, missions 1-8 match"},
    {{"--battle", "1", "--id-line", "", "--battle-no", "19"},
     "form 4 (Battle No 19): holds no scores, so there is nothing to verify"},
    {{"--combat", "7", "--from", "8", "--to", "8", "--id-line", "Zo\xC3\xAB"},
     "form 5: Missile Boat, mission 8 matches"s + kSearchedBoth},
    {{"--battle", "2", "--last", "1", "--battle-no", "\xC3\x9Cn\xC3\xAF"},
     "form 6 (Battle No \xC3\x9Cn\xC3\xAF): battle 2, mission 1 matches"},
};

// Writes every submitted form into one file with bsf, as a member appends them.
std::string submittedForms(const TempDir& dir) {
    for (const Submitted& submitted : kSubmitted) {
        std::vector<std::string> arguments = {"bsf", "P.TFR", "F.TXT"};
        arguments.insert(arguments.end(), submitted.options.begin(), submitted.options.end());
        const auto result = runCli(arguments, dir.path());
        EXPECT_EQ(result.status, 0) << result.err;
    }
    return readText(dir / "F.TXT");
}

std::string allVerdicts() {
    std::string lines;
    for (const Submitted& submitted : kSubmitted) {
        lines += submitted.verdict + "\n";
    }
    return lines;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(CliVerify, EveryFormBsfWritesVerifiesAgainstItsPilot) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", verifiedPilot());
    const std::string forms = submittedForms(dir);
    std::string lineFeeds;
    for (const char c : forms) {
        if (c != '\r') {
            lineFeeds += c;
        }
    }
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        std::string input;
    } runs[] = {
        {"file", {"verify", "F.TXT", "P.TFR"}, ""},
        {"forms from standard input", {"verify", "-", "P.TFR"}, forms},
        {"line feeds only", {"verify", "-", "P.TFR"}, lineFeeds},
        {"pilot from standard input",
         {"verify", "F.TXT", "-"},
         testing_support::textOf(verifiedPilot())},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.name);
        const auto result = runCli(run.arguments, dir.path(), run.input);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, allVerdicts());
    }
}

// A changed score is caught with its mission; a claim the pilot's progress does not bear
// out fails as well; the other forms still match.
TEST(CliVerify, ADoctoredFormIsCaughtWithTheMissionNamed) {
    TempDir dir;
    const PilotRecord pilot = verifiedPilot();
    testing_support::writeRecord(dir / "P.TFR", pilot);
    const std::string forms = submittedForms(dir);
    const std::string score = std::to_string(pilot.i32(Field::BattleMissionScore, 3, 1));
    const std::string combatScore = std::to_string(pilot.i32(Field::CombatScore, 2, 3));
    std::string doctored =
        replaced(forms, "Mission 2: " + score + "  * Highscore", "Mission 2: 12000  * Highscore");
    doctored = replaced(doctored, "Mission 2: " + combatScore + "\r\n", "Mission 2: -5\r\n");
    writeBytes(dir / "D.TXT", doctored);
    PilotRecord unfinished = pilot;
    unfinished.setU8(Field::BattleLastMission, 6, 19);
    unfinished.setU8(Field::CombatCompleted, 0, 6, 7);
    testing_support::writeRecord(dir / "U.TFR", unfinished);

    auto result = runCli({"verify", "D.TXT", "P.TFR"}, dir.path());
    EXPECT_EQ(result.status, 1);
    std::string expected = allVerdicts();
    expected = replaced(expected, kSubmitted[0].verdict,
                        "form 1 (Battle No 17, Silver Wing): no battle holds these scores; "
                        "nearest battle 4: mission 2 is " +
                            score + " in the pilot, 12000 in the form");
    expected = replaced(expected, kSubmitted[1].verdict,
                        "form 2 (Battle No 18): no battle or combat chamber range holds these "
                        "scores; nearest TIE Bomber, missions 3-5: mission 4 is " +
                            combatScore + " in the pilot, -5 in the form" + kSearchedBoth);
    EXPECT_EQ(result.out, expected);

    result = runCli({"verify", "F.TXT", "U.TFR"}, dir.path());
    EXPECT_EQ(result.status, 1);
    expected = replaced(allVerdicts(), "battle 20, missions 1-8 match",
                        "battle 20, missions 1-8 match, but its last completed mission is 6");
    expected = replaced(expected, "mission 8 matches",
                        "mission 8 matches, but mission 8 is not marked completed");
    EXPECT_EQ(result.out, expected);
}

// Scores that two battles hold name both; the JSON array carries the same as data.
TEST(CliVerify, JsonNamesEveryMatchAndTheNearest) {
    TempDir dir;
    PilotRecord pilot = verifiedPilot();
    for (std::size_t mission = 0; mission < 3; ++mission) {
        pilot.setI32(Field::BattleMissionScore, pilot.i32(Field::BattleMissionScore, 3, mission),
                     10, mission);
    }
    pilot.setU8(Field::BattleLastMission, 2, 10);
    testing_support::writeRecord(dir / "P.TFR", pilot);
    const std::string forms = submittedForms(dir);
    const std::string score = std::to_string(pilot.i32(Field::BattleMissionScore, 19, 4));
    writeBytes(dir / "F.TXT", replaced(forms, "Mission 5: " + score + " ", "Mission 5: 77 ") +
                                  "---------------------------------------------\r\nnonsense\r\n");

    const auto result = runCli({"verify", "--json", "F.TXT", "P.TFR"}, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err,
              "brevanta-cli: F.TXT: form 7, line 53: expected \"Name of Applicant:\", found "
              "\"nonsense\"\n");
    const auto json = nlohmann::json::parse(result.out);
    ASSERT_EQ(json.size(), 7u);
    const auto& first = json[0];
    EXPECT_EQ(first["form"], 1);
    EXPECT_EQ(first["line"], 1);
    EXPECT_EQ(first["battleNo"], "17");
    EXPECT_EQ(first["medal"], "Silver Wing");
    EXPECT_EQ(first["highscore"], nlohmann::json::array({2}));
    EXPECT_EQ(first["outcome"], "match");
    EXPECT_EQ(first["matches"], nlohmann::json::parse(R"([
        {"battle": 4, "missions": [1, 3], "unfinished": []},
        {"battle": 11, "missions": [1, 3], "unfinished": [3]}])"));
    EXPECT_EQ(json[1]["matches"][0]["craft"], "TIE Bomber");
    EXPECT_EQ(json[1]["bothKinds"], true);
    EXPECT_EQ(json[2]["outcome"], "no match");
    EXPECT_EQ(json[2]["nearest"],
              nlohmann::json::parse(R"([{"battle": 20, "missions": [1, 8], "differences": [
                  {"mission": 5, "pilot": )" +
                                    score + R"(, "form": 77}]}])"));
    EXPECT_EQ(json[3]["outcome"], "no scores");
    EXPECT_EQ(json[4]["idLine"], "Zo\xC3\xAB");
    EXPECT_EQ(json[6]["outcome"], "no form");
    EXPECT_EQ(json[6]["error"]["line"], 53);
}

// Battle b, mission m scores 100 b + m + 1, one of each; battle 1 has its first mission
// finished.
PilotRecord rosterPilot() {
    PilotRecord record = PilotRecord::newPilot();
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            record.setI32(Field::BattleMissionScore,
                          static_cast<std::int32_t>(100 * battle + mission + 1), battle, mission);
        }
    }
    record.setU8(Field::BattleLastMission, 1, 0);
    return record;
}

struct BadInput {
    const char* name;
    std::vector<std::string> arguments;
    std::string forms;  // written to F.TXT, or given as standard input with "-"
    int status;
    std::string out;
    std::string err;
};

const std::string kHead =
    "Name of Applicant: Ace\r\nBattle No:         17\r\nName of Medal:     Cross\r\n"
    "Applicant's Email: ace@x\r\nScores:\r\n";

// What is no form, or cannot be read, ends with status 2 and its message, naming the form
// and line; nothing else stops: the forms after a bad one are still verified.
TEST(CliVerify, BadInputEndsWithItsMessageAndStatus) {
    TempDir dir;
    testing_support::writeRecord(dir / "P.TFR", rosterPilot());
    std::filesystem::create_directory(dir / "folder");
    ::mkfifo((dir / "pipe").c_str(), 0666);
    const std::string good = kHead + "Mission 1: 1 \r\n";
    const std::string goodLine = "form 2 (Battle No 17, Cross): battle 1, mission 1 matches\n";
    const std::string separator = "---------------------------------------------\r\n";
    std::string manyForms;
    std::string manyLines;
    for (int form = 1; form <= 3000; ++form) {
        manyForms += (form == 1 ? "" : separator) + good;
        manyLines += "form " + std::to_string(form) +
                     " (Battle No 17, Cross): battle 1, "
                     "mission 1 matches\n";
    }
    const std::vector<BadInput> cases = {
        {"missing",
         {"verify", "gone.TXT", "P.TFR"},
         "",
         2,
         "",
         "brevanta-cli: gone.TXT: error 2: Datei nicht gefunden. (the file does not exist)\n"},
        {"a folder",
         {"verify", "folder", "P.TFR"},
         "",
         2,
         "",
         "brevanta-cli: folder: error 5: Dateizugriff verweigert. (access denied: it is a folder, "
         "not a file)\n"},
        {"a named pipe",
         {"verify", "pipe", "P.TFR"},
         "",
         2,
         "",
         "brevanta-cli: pipe: error 5: Dateizugriff verweigert. (access denied: no permission, a "
         "read-only disk, or not a regular file)\n"},
        {"no pilot",
         {"verify", "F.TXT", "gone.TFR"},
         good,
         2,
         "",
         "brevanta-cli: gone.TFR: error 2: Datei nicht gefunden. (the file does not exist)\n"},
        {"both from standard input",
         {"verify", "-", "-"},
         good,
         2,
         "",
         "brevanta-cli: verify: the forms and the pilot cannot both come from standard input\n"},
        {"empty", {"verify", "F.TXT", "P.TFR"}, "", 2, "", "brevanta-cli: F.TXT: holds no form\n"},
        {"blank lines",
         {"verify", "-", "P.TFR"},
         "\r\n \r\n",
         2,
         "",
         "brevanta-cli: -: holds no form\n"},
        {"not a form",
         {"verify", "F.TXT", "P.TFR"},
         "Dear admin,\r\n" + separator + good,
         2,
         goodLine,
         "brevanta-cli: F.TXT: form 1, line 1: expected \"Name of Applicant:\", found \"Dear "
         "admin,\"\n"},
        {"binary",
         {"verify", "F.TXT", "P.TFR"},
         "\x1B[2J\xE9\xFF\0\r\n"s + separator + good,
         2,
         goodLine,
         "brevanta-cli: F.TXT: form 1, line 1: expected \"Name of Applicant:\", found "
         "\"?[2J\xC3\xA9\xC3\xBF?\"\n"},
        {"ten megabytes",
         {"verify", "-", "P.TFR"},
         "Name of Applicant: " + std::string(10'000'000, 'a') + "\r\n" + kHead.substr(24) +
             "Mission 1: 1 \r\n",
         0,
         "form 1 (Battle No 17, Cross): battle 1, mission 1 matches\n",
         ""},
        {"thousands of forms", {"verify", "F.TXT", "P.TFR"}, manyForms, 0, manyLines, ""},
        {"beyond the limit",
         {"verify", "-", "P.TFR"},
         std::string((64 << 20) + 1, '\n'),
         2,
         "",
         "brevanta-cli: -: larger than 64 MB, far more than a form file holds\n"},
    };
    for (const BadInput& bad : cases) {
        SCOPED_TRACE(bad.name);
        const bool fromInput = bad.arguments[1] == "-";
        if (!fromInput) {
            writeBytes(dir / "F.TXT", bad.forms);
        }
        auto running = testing_support::startCli(bad.arguments, dir.path(),
                                                 fromInput ? bad.forms : std::string());
        const auto result = testing_support::waitForCli(running, std::chrono::seconds(60));
        ASSERT_TRUE(result.has_value()) << "still running";
        EXPECT_EQ(result->status, bad.status);
        EXPECT_EQ(result->out, bad.out);
        EXPECT_EQ(result->err, bad.err);
    }
}

}  // namespace
