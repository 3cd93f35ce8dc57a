// Forms read back from their text and verified against a record: every form the writer
// makes comes back with its texts and scores, also after a mail program has had it; text
// that is no form is named by line; the verdict names every matching place, or the nearest.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "BsfMatching.h"
#include "BsfReading.h"
#include "BsfText.h"
#include "FieldTable.h"
#include "PilotRecord.h"
#include "TestFiles.h"

namespace {

using namespace std::string_literals;
using pilot::Field;
using pilot::PilotRecord;
using reports::BsfInput;
using reports::BsfLineEnd;
using reports::BsfPlace;
using reports::ReadBsfForm;
using Outcome = reports::BsfVerdict::Outcome;
using Kind = BsfPlace::Kind;

std::vector<ReadBsfForm> readAll(std::string_view text) {
    std::vector<ReadBsfForm> forms;
    reports::readBsfForms(text, [&](const ReadBsfForm& form) { forms.push_back(form); });
    return forms;
}

BsfInput texts(std::string idLine, std::string battleNumber, std::string medal, std::string email) {
    BsfInput input;
    input.idLine = std::move(idLine);
    input.battleNumber = std::move(battleNumber);
    input.medal = std::move(medal);
    input.email = std::move(email);
    return input;
}

BsfInput battle(BsfInput input, std::size_t number, std::size_t last,
                std::array<bool, 8> highscore = {}) {
    input.mode = BsfInput::Mode::Battle;
    input.battle = number;
    input.lastMission = last;
    input.highscore = highscore;
    return input;
}

BsfInput combat(BsfInput input, std::size_t craft, std::size_t from, std::size_t to) {
    input.mode = BsfInput::Mode::CombatChamber;
    input.craft = craft;
    input.fromMission = from;
    input.toMission = to;
    return input;
}

// What the writer wrote: the place of its scores, if any, and how each line ends.
struct Written {
    BsfInput input;
    std::optional<BsfPlace> place;
};

Written written(const BsfInput& input) {
    if (input.mode == BsfInput::Mode::Battle && input.lastMission) {
        return {input, BsfPlace{Kind::Battle, *input.battle, 0, *input.lastMission + 1}};
    }
    if (input.mode == BsfInput::Mode::CombatChamber) {
        return {input, BsfPlace{Kind::CombatChamber, *input.craft, *input.fromMission,
                                *input.toMission - *input.fromMission + 1}};
    }
    return {input, std::nullopt};
}

const std::array<bool, 8> kHighscoreOnTwoAndEight = {false, true,  false, false,
                                                     false, false, false, true};

std::vector<Written> writtenForms() {
    const BsfInput plain = texts("Lt Ace/Vessk Wing 1", "17", "Silver Wing", "ace@example.org");
    const BsfInput odd = texts("  Zo\xEB \xA7  ", " ", "", "a\0b"s);
    return {
        written(battle(plain, 3, 2, kHighscoreOnTwoAndEight)),
        written(battle(plain, 19, 7, kHighscoreOnTwoAndEight)),
        written(battle(odd, 0, 0)),
        written(battle(texts("", "", "", ""), 5, 7)),
        written(combat(plain, 2, 2, 4)),
        written(combat(odd, 6, 7, 7)),
        written(combat(texts("", "", "", ""), 0, 0, 7)),
        written(battle(plain, 4, 0, {true})),
        written(BsfInput{}),  // no scores: a battle without a finished mission writes none
    };
}

// A pilot whose every score differs, who finished everything.
PilotRecord finishedPilot() {
    PilotRecord record = testing_support::patternedRecord(7);
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        record.setU8(Field::BattleLastMission, 8, battle);
    }
    for (std::size_t craft = 0; craft < pilot::kCraftSlots; ++craft) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            record.setU8(Field::CombatCompleted, 1, craft, mission);
        }
    }
    return record;
}

std::string withoutTrailingBlanks(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

// What may become of a form file on its way: a line end of its own, blanks cut at the ends
// of lines (the texts' trailing blanks with them), blank lines added.
struct Passage {
    const char* name;
    std::function<std::string(const std::string&)> change;
    bool cutsBlanks;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    std::string result;
    for (std::size_t at = 0;;) {
        const std::size_t found = text.find(from, at);
        result += text.substr(at, found - at);
        if (found == std::string::npos) {
            return result;
        }
        result += to;
        at = found + from.size();
    }
}

std::string cutTrailingBlanks(const std::string& text) {
    std::string result;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", at), text.size());
        result += withoutTrailingBlanks(text.substr(at, end - at));
        result += text.substr(end, 2);
        at = end + 2;
    }
    return result;
}

const std::vector<Passage> kPassages = {
    {"as written", [](const std::string& text) { return text; }, false},
    {"LF", [](const std::string& text) { return replaced(text, "\r\n", "\n"); }, false},
    {"CR", [](const std::string& text) { return replaced(text, "\r\n", "\r"); }, false},
    {"blank lines", [](const std::string& text) { return replaced(text, "\r\n", "\r\n \r\n"); },
     false},
    {"blanks cut", cutTrailingBlanks, true},
};

void expectReadBack(const ReadBsfForm& form, const Written& expected, const PilotRecord& record,
                    bool cutsBlanks) {
    EXPECT_FALSE(form.error.has_value()) << form.error->message;
    for (const reports::BsfHeadLine& head : reports::kBsfHeadLines) {
        const std::string text = expected.input.*head.text;
        EXPECT_EQ(form.texts.*head.text, cutsBlanks ? withoutTrailingBlanks(text) : text);
    }
    const reports::BsfVerdict verdict = reports::verifyBsfForm(form, record);
    if (!expected.place) {
        EXPECT_TRUE(form.scores.empty());
        EXPECT_EQ(verdict.outcome, Outcome::NoScores);
        return;
    }
    const BsfPlace& place = *expected.place;
    ASSERT_EQ(form.scores.size(), place.missions);
    for (std::size_t line = 0; line < place.missions; ++line) {
        const std::size_t mission = place.firstMission + line;
        const bool battleForm = place.kind == Kind::Battle;
        EXPECT_EQ(form.scores[line].score,
                  record.i32(battleForm ? Field::BattleMissionScore : Field::CombatScore,
                             place.index, mission));
        const BsfLineEnd end = !battleForm                         ? BsfLineEnd::Bare
                               : expected.input.highscore[mission] ? BsfLineEnd::Highscore
                               : cutsBlanks                        ? BsfLineEnd::Bare
                                                                   : BsfLineEnd::Blank;
        EXPECT_EQ(form.scores[line].end, end) << "line " << line;
    }
    EXPECT_EQ(verdict.outcome, Outcome::Matches);
    ASSERT_EQ(verdict.matches.size(), 1u);
    EXPECT_EQ(verdict.matches[0].place, place);
}

// Every form the writer makes, alone and appended to one file, comes back after every
// passage; a file started empty begins with a separator, and one whose last line had no
// end has the separator glued to it.
TEST(BsfReading, EveryWrittenFormComesBack) {
    const PilotRecord record = finishedPilot();
    const std::vector<Written> forms = writtenForms();
    const std::string separator = std::string(reports::kBsfSeparatorLine) + "\r\n";
    std::string appended;
    for (const Written& form : forms) {
        appended += (appended.empty() ? "" : separator) + reports::bsfFormText(form.input, record);
    }
    std::string glued = reports::bsfFormText(forms[4].input, record);
    glued.resize(glued.size() - 2);
    glued += separator + reports::bsfFormText(forms[0].input, record);
    const std::string text4 = reports::bsfFormText(forms[4].input, record);
    const std::string text5 = reports::bsfFormText(forms[5].input, record);

    const struct {
        const char* name;
        std::string text;
        std::vector<std::size_t> forms;
    } files[] = {
        {"one form", reports::bsfFormText(forms[1].input, record), {1}},
        {"appended", appended, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
        {"started empty", separator + reports::bsfFormText(forms[2].input, record), {2}},
        {"glued", glued, {4, 0}},
        {"without separators", text4 + text5, {4, 5}},
        {"without the last line end", text5.substr(0, text5.size() - 2), {5}},
    };
    for (const auto& file : files) {
        for (const Passage& passage : kPassages) {
            SCOPED_TRACE(std::string(file.name) + ", " + passage.name);
            const std::vector<ReadBsfForm> read = readAll(passage.change(file.text));
            ASSERT_EQ(read.size(), file.forms.size());
            for (std::size_t i = 0; i < read.size(); ++i) {
                SCOPED_TRACE("form " + std::to_string(i + 1));
                EXPECT_EQ(read[i].number, i + 1);
                expectReadBack(read[i], forms[file.forms[i]], record, passage.cutsBlanks);
            }
        }
    }
}

TEST(BsfReading, FormsAreNumberedWithTheirFirstLines) {
    const std::string head =
        "Name of Applicant:\nBattle No: 17\nName of Medal:\nApplicant's Email:\nScores:\n";
    const auto read = readAll(
        "\n\n" + head + "Mission 1:5\n---------------------------------------------\n\n" + head);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].firstLine, 3u);
    EXPECT_EQ(read[0].texts.battleNumber, "17");
    EXPECT_EQ(read[0].scores[0].line, 8u);
    EXPECT_EQ(read[1].number, 2u);
    EXPECT_EQ(read[1].firstLine, 11u);
}

const std::string kHead =
    "Name of Applicant: Ace\r\n"
    "Battle No:         17\r\n"
    "Name of Medal:     Cross\r\n"
    "Applicant's Email: ace@x\r\n"
    "Scores:\r\n";

struct Malformed {
    const char* name;
    std::string text;
    std::size_t line;
    std::string message;
};

// Each text that is no form names its first wrong line; the form after it is read as usual.
TEST(BsfReading, TextThatIsNoFormNamesTheLine) {
    const std::vector<Malformed> cases = {
        {"not a form", "hello\r\n", 1, "expected \"Name of Applicant:\", found \"hello\""},
        {"a line missing",
         "Name of Applicant: A\r\nBattle No:         1\r\nName of Medal:     M\r\nScores:\r\n", 4,
         "expected \"Applicant's Email:\", found \"Scores:\""},
        {"ends in the head", "Name of Applicant: A\r\nBattle No: 1\r\n", 2,
         "the form ends here, without \"Name of Medal:\""},
        {"ends before the scores",
         "Name of Applicant: \r\nBattle No:\r\nName of Medal:\r\nApplicant's Email:", 4,
         "the form ends here, without \"Scores:\""},
        {"text for a score", kHead + "Mission 1: abc \r\n", 6,
         "expected a score after \"Mission 1:\", found \"abc\""},
        {"no score", kHead + "Mission 1:\r\n", 6,
         "expected a score after \"Mission 1:\", found \"\""},
        {"beyond 32 bits", kHead + "Mission 1: 2147483648 \r\n", 6,
         "the score \"2147483648\" lies outside the signed 32-bit range"},
        {"below 32 bits", kHead + "Mission 1: 7 \r\nMission 2: -2147483649\r\n", 7,
         "the score \"-2147483649\" lies outside the signed 32-bit range"},
        {"a hundred digits", kHead + "Mission 1: " + std::string(100, '9') + "\r\n", 6,
         "the score \"" + std::string(40, '9') + "...\" lies outside the signed 32-bit range"},
        {"a mission left out", kHead + "Mission 1: 5 \r\nMission 3: 7 \r\n", 7,
         "expected \"Mission 2:\" or the end of the form, found \"Mission 3: 7\""},
        {"nine missions",
         kHead + "Mission 1: 1\r\nMission 2: 2\r\nMission 3: 3\r\nMission 4: 4\r\nMission 5: 5\r\n"
                 "Mission 6: 6\r\nMission 7: 7\r\nMission 8: 8\r\nMission 9: 9\r\n",
         14, "a form has at most 8 score lines, found \"Mission 9: 9\""},
        {"text after the score", kHead + "Mission 1: 1,000 \r\n", 6,
         "expected a blank or \"  * Highscore\" after the score, found \",000\""},
        {"a mark without its blank", kHead + "Mission 1: 5* Highscore\r\n", 6,
         "expected a blank or \"  * Highscore\" after the score, found \"* Highscore\""},
        {"another mark", kHead + "Mission 1: 5  * Best\r\n", 6,
         "expected a blank or \"  * Highscore\" after the score, found \"  * Best\""},
        {"binary", "\x01\x7F\x9F\xFF\0z"s, 1,
         "expected \"Name of Applicant:\", found \"???\xFF?z\""},
        {"a long line", "Name of Applicant: A\r\n" + std::string(100, 'x'), 2,
         "expected \"Battle No:\", found \"" + std::string(40, 'x') + "...\""},
    };
    for (const Malformed& malformed : cases) {
        SCOPED_TRACE(malformed.name);
        const auto read =
            readAll(malformed.text + "\r\n" + std::string(reports::kBsfSeparatorLine) + "\r\n" +
                    kHead + "Mission 1: 5 \r\n");
        ASSERT_EQ(read.size(), 2u);
        ASSERT_TRUE(read[0].error.has_value());
        EXPECT_EQ(read[0].error->line, malformed.line);
        EXPECT_EQ(read[0].error->message, malformed.message);
        EXPECT_EQ(reports::verifyBsfForm(read[0], PilotRecord{}).outcome, Outcome::NoScores);
        EXPECT_FALSE(read[1].error.has_value());
        EXPECT_EQ(read[1].scores.size(), 1u);
    }
}

TEST(BsfReading, BlankTextHoldsNoForm) {
    for (const std::string& text :
         {""s, "\r\n \t\r\n"s, "---------------------------------------------\n\n"s}) {
        EXPECT_TRUE(readAll(text).empty());
    }
}

// Ten megabytes in one line, thousands of forms and random bytes are read in one pass.
TEST(BsfReading, LargeAndRandomTextsAreReadInLinearTime) {
    std::string forms;
    for (int i = 0; i < 20000; ++i) {
        forms += kHead + "Mission 1: " + std::to_string(i) + " \r\n" +
                 std::string(reports::kBsfSeparatorLine) + "\r\n";
    }
    std::mt19937 random(5);
    std::string noise(10'000'000, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(random());
    }
    const struct {
        const char* name;
        std::string text;
        std::size_t forms;
    } texts[] = {
        {"a long head", "Name of Applicant: " + std::string(10'000'000, 'a') + "\r\n", 1},
        {"a long score", kHead + "Mission 1: " + std::string(10'000'000, '7') + "\r\n", 1},
        {"long blanks", kHead + "Mission 1: 5" + std::string(10'000'000, ' ') + "x\r\n", 1},
        {"many hyphens", std::string(10'000'000, '-'), 1},
        {"many forms", forms, 20000},
        {"noise", noise, 0},
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text.name);
        const auto start = std::chrono::steady_clock::now();
        std::size_t count = 0;
        reports::readBsfForms(text.text, [&](const ReadBsfForm& form) {
            ++count;
            EXPECT_LE(form.scores.size(), pilot::kMissions);
            (void)reports::verifyBsfForm(form, PilotRecord{});
        });
        if (text.forms > 0) {
            EXPECT_EQ(count, text.forms);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    }
}

// ---- Verdicts ----------------------------------------------------------------------------

void setScores(PilotRecord& record, Field field, std::size_t row, std::size_t first,
               const std::vector<std::int32_t>& scores) {
    for (std::size_t i = 0; i < scores.size(); ++i) {
        record.setI32(field, scores[i], row, first + i);
    }
}

// Every score unique, but for the few the cases look for; everything finished but for the
// few the cases need open.
PilotRecord verifiedPilot() {
    PilotRecord record;
    for (std::size_t row = 0; row < pilot::kBattles; ++row) {
        record.setU8(Field::BattleLastMission, 8, row);
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            record.setI32(Field::BattleMissionScore,
                          static_cast<std::int32_t>(100000 * row + mission + 17), row, mission);
            if (row < pilot::kCraftSlots) {
                record.setI32(Field::CombatScore,
                              -static_cast<std::int32_t>(1000 * row + mission + 1), row, mission);
                record.setU8(Field::CombatCompleted, 1, row, mission);
            }
        }
    }
    setScores(record, Field::BattleMissionScore, 3, 0, {5200, 7350, 4100});  // battle 4
    setScores(record, Field::BattleMissionScore, 8, 0, {5200, 7350, 4100});  // battle 9
    record.setU8(Field::BattleLastMission, 2, 8);
    setScores(record, Field::BattleMissionScore, 11, 0, {1, 2, 3, 4, 5, 6, 7, 8});  // battle 12
    setScores(record, Field::BattleMissionScore, 0, 0, {9, 10});                    // battle 1
    record.setU8(Field::BattleLastMission, 0, 0);
    setScores(record, Field::CombatScore, 2, 2, {300, 400, 500});  // TIE Bomber, missions 3-5
    record.setU8(Field::CombatCompleted, 2, 2, 4);
    return record;
}

struct VerdictCase {
    const char* name;
    std::string scoreLines;
    Outcome outcome;
    std::string text;
};

TEST(BsfVerdict, NamesEveryMatchOrTheNearest) {
    const char* const searchedBoth =
        " (its lines end at the scores, so battles and combat chamber ranges were searched)";
    const std::vector<VerdictCase> cases = {
        {"one battle", "Mission 1: 1 \r\nMission 2: 2  * Highscore\r\n", Outcome::Matches,
         "battle 12, missions 1-2 match"},
        {"two battles, one unfinished",
         "Mission 1: 5200 \r\nMission 2: 7350  * Highscore\r\nMission 3: 4100 \r\n",
         Outcome::Matches,
         "2 places match: battle 4, missions 1-3; battle 9, missions 1-3 (but its last "
         "completed mission is 2)"},
        {"finished in both", "Mission 1: 5200 \r\nMission 2: 7350 \r\n", Outcome::Matches,
         "2 places match: battle 4, missions 1-2; battle 9, missions 1-2"},
        {"nothing finished", "Mission 1: 9 \r\n", Outcome::Unfinished,
         "battle 1, mission 1 matches, but no mission of it is completed"},
        {"a doctored score",
         "Mission 1: 1 \r\nMission 2: 2 \r\nMission 3: 3 \r\nMission 4: 4 \r\nMission 5: 99 \r\n",
         Outcome::NoMatch,
         "no battle holds these scores; nearest battle 12: mission 5 is 5 in the pilot, 99 in "
         "the form"},
        {"equally near", "Mission 1: 5200 \r\nMission 2: 7350 \r\nMission 3: 4000 \r\n",
         Outcome::NoMatch,
         "no battle holds these scores; nearest battle 4: mission 3 is 4100 in the pilot, 4000 "
         "in the form; equally near battle 9: mission 3 is 4100 in the pilot, 4000 in the form"},
        {"two doctored", "Mission 1: 1 \r\nMission 2: 0 \r\nMission 3: 3 \r\nMission 4: 0 \r\n",
         Outcome::NoMatch,
         "no battle holds these scores; nearest battle 12: mission 2 is 2 in the pilot, 0 in the "
         "form; mission 4 is 4 in the pilot, 0 in the form"},
        {"none of them", "Mission 1: 123 \r\nMission 2: 456 \r\n", Outcome::NoMatch,
         "no battle holds any of these scores"},
        {"a combat chamber range", "Mission 1: 300\r\nMission 2: 400\r\n", Outcome::Matches,
         "TIE Bomber, missions 3-4 match"s + searchedBoth},
        {"not completed", "Mission 1: 300\r\nMission 2: 400\r\nMission 3: 500\r\n",
         Outcome::Unfinished,
         "TIE Bomber, missions 3-5 match, but mission 5 is not marked completed"s + searchedBoth},
        {"a battle without its blanks", "Mission 1: 1\r\nMission 2: 2\r\n", Outcome::Matches,
         "battle 12, missions 1-2 match"s + searchedBoth},
        {"a range from mission 5", "Mission 1: -4005\r\nMission 2: -4006\r\n", Outcome::Matches,
         "Assault Gunboat, missions 5-6 match"s + searchedBoth},
        {"a doctored range", "Mission 1: 300\r\nMission 2: 999\r\nMission 3: 500\r\n",
         Outcome::NoMatch,
         "no battle or combat chamber range holds these scores; nearest TIE Bomber, missions "
         "3-5: mission 4 is 400 in the pilot, 999 in the form"s +
             searchedBoth},
        {"no scores", "", Outcome::NoScores, "holds no scores, so there is nothing to verify"},
    };
    const PilotRecord record = verifiedPilot();
    for (const VerdictCase& verdictCase : cases) {
        SCOPED_TRACE(verdictCase.name);
        const auto read = readAll(kHead + verdictCase.scoreLines);
        ASSERT_EQ(read.size(), 1u);
        ASSERT_FALSE(read[0].error.has_value()) << read[0].error->message;
        const reports::BsfVerdict verdict = reports::verifyBsfForm(read[0], record);
        EXPECT_EQ(verdict.outcome, verdictCase.outcome);
        EXPECT_EQ(reports::bsfVerdictText(verdict), verdictCase.text);
    }
}

// A form of one zero score on a new pilot is held by every battle and every combat chamber
// mission: each is named, in order.
TEST(BsfVerdict, AmbiguousScoresNameEveryPlace) {
    const auto read = readAll(kHead + "Mission 1: 0\r\n");
    const reports::BsfVerdict verdict = reports::verifyBsfForm(read.at(0), PilotRecord::newPilot());
    ASSERT_EQ(verdict.matches.size(), pilot::kBattles + pilot::kShownCrafts * pilot::kMissions);
    EXPECT_EQ(verdict.matches.front().place, (BsfPlace{Kind::Battle, 0, 0, 1}));
    EXPECT_EQ(verdict.matches.back().place, (BsfPlace{Kind::CombatChamber, 6, 7, 1}));
    const std::string text = reports::bsfVerdictText(verdict);
    EXPECT_TRUE(
        text.starts_with("76 places match: battle 1, mission 1 (but no mission of it is "
                         "completed); battle 2, mission 1"))
        << text;
    EXPECT_NE(text.find("; Missile Boat, mission 8 (but mission 8 is not marked completed) ("),
              std::string::npos)
        << text;
    EXPECT_EQ(verdict.outcome, Outcome::Unfinished);
}

}  // namespace
