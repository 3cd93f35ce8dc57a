#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "BsfText.h"
#include "FieldTable.h"
#include "PilotRecord.h"
#include "TestFiles.h"

namespace {

using namespace std::string_literals;
using pilot::Field;
using reports::BsfInput;
using Mode = BsfInput::Mode;

// Battle b mission m scores b * 1000 + m + 1, craft c mission m scores -(c * 100 + m + 1),
// so a line read from the wrong slot shows at once. Battle 4 carries the example scores.
pilot::PilotRecord scoredRecord() {
    pilot::PilotRecord record;
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            record.setI32(Field::BattleMissionScore,
                          static_cast<std::int32_t>(battle * 1000 + mission + 1), battle, mission);
        }
    }
    for (std::size_t craft = 0; craft < pilot::kCraftSlots; ++craft) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            record.setI32(Field::CombatScore, -static_cast<std::int32_t>(craft * 100 + mission + 1),
                          craft, mission);
        }
    }
    record.setI32(Field::BattleMissionScore, 5200, 4, 0);
    record.setI32(Field::BattleMissionScore, 7350, 4, 1);
    record.setI32(Field::BattleMissionScore, 4100, 4, 2);
    record.setI32(Field::BattleMissionScore, std::numeric_limits<std::int32_t>::min(), 7, 0);
    return record;
}

const std::string kHead =
    "Name of Applicant: Cmdr Vance\r\n"
    "Battle No:         B-17\r\n"
    "Name of Medal:     Star of Vessk\r\n"
    "Applicant's Email: vance@example.org\r\n"
    "Scores:\r\n";

BsfInput withTexts(BsfInput input) {
    input.idLine = "Cmdr Vance";
    input.battleNumber = "B-17";
    input.medal = "Star of Vessk";
    input.email = "vance@example.org";
    return input;
}

BsfInput battle(std::optional<std::size_t> number, std::optional<std::size_t> lastMission,
                std::array<bool, 8> highscore = {}) {
    BsfInput input;
    input.mode = Mode::Battle;
    input.battle = number;
    input.lastMission = lastMission;
    input.highscore = highscore;
    input.craft = 2;  // the other section's selections play no part
    input.fromMission = 0;
    input.toMission = 7;
    return withTexts(input);
}

BsfInput combat(std::optional<std::size_t> craft, std::optional<std::size_t> from,
                std::optional<std::size_t> to) {
    BsfInput input;
    input.mode = Mode::CombatChamber;
    input.craft = craft;
    input.fromMission = from;
    input.toMission = to;
    input.battle = 4;
    input.lastMission = 7;
    input.highscore.fill(true);
    return withTexts(input);
}

struct ScoreCase {
    const char* name;
    BsfInput input;
    std::string scoreLines;  // what follows the five head lines
};

class BsfScoreLines : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(BsfScoreLines, FollowTheHead) {
    const ScoreCase& c = GetParam();
    EXPECT_EQ(reports::bsfFormText(c.input, scoredRecord()), kHead + c.scoreLines);
}

const std::array<bool, 8> kHighscoreOnTwo = {false, true, false, false, false, false, false, false};

INSTANTIATE_TEST_SUITE_P(
    Forms, BsfScoreLines,
    ::testing::Values(
        // No mission finished: the last-mission box has no selection.
        ScoreCase{"BattleNoLastMission", battle(4, std::nullopt), ""},
        ScoreCase{"BattleLastMissionThreeHighscoreTwo", battle(4, 2, kHighscoreOnTwo),
                  "Mission 1: 5200 \r\n"
                  "Mission 2: 7350  * Highscore\r\n"
                  "Mission 3: 4100 \r\n"},
        ScoreCase{"BattleAllEightMissions",
                  battle(11, 7, {true, false, false, false, false, false, false, true}),
                  "Mission 1: 11001  * Highscore\r\n"
                  "Mission 2: 11002 \r\n"
                  "Mission 3: 11003 \r\n"
                  "Mission 4: 11004 \r\n"
                  "Mission 5: 11005 \r\n"
                  "Mission 6: 11006 \r\n"
                  "Mission 7: 11007 \r\n"
                  "Mission 8: 11008  * Highscore\r\n"},
        ScoreCase{"BattleNegativeScores", battle(7, 1),
                  "Mission 1: -2147483648 \r\n"
                  "Mission 2: 7002 \r\n"},
        ScoreCase{"BattleLastOfTwenty", battle(19, 0), "Mission 1: 19001 \r\n"},
        ScoreCase{"BattleWithoutBattle", battle(std::nullopt, 3), ""},
        ScoreCase{"BattleOutOfRange", battle(20, 3), ""},
        ScoreCase{"BattleLastMissionOutOfRange", battle(4, 8), ""},
        ScoreCase{"CombatThreeToFive", combat(3, 2, 4),
                  "Mission 1: -303\r\n"
                  "Mission 2: -304\r\n"
                  "Mission 3: -305\r\n"},
        ScoreCase{"CombatOneMission", combat(6, 7, 7), "Mission 1: -608\r\n"},
        ScoreCase{"CombatWholeRange", combat(0, 0, 7),
                  "Mission 1: -1\r\nMission 2: -2\r\nMission 3: -3\r\nMission 4: -4\r\n"
                  "Mission 5: -5\r\nMission 6: -6\r\nMission 7: -7\r\nMission 8: -8\r\n"},
        ScoreCase{"CombatBackwards", combat(3, 4, 3), ""},
        ScoreCase{"CombatWithoutCraft", combat(std::nullopt, 0, 3), ""},
        // Only the seven crafts of the selector, never the spare slots behind them.
        ScoreCase{"CombatSpareCraft", combat(7, 0, 3), ""},
        ScoreCase{"CombatWithoutFrom", combat(1, std::nullopt, 3), ""},
        ScoreCase{"CombatWithoutTo", combat(1, 0, std::nullopt), ""},
        ScoreCase{"CombatToOutOfRange", combat(1, 0, 8), ""},
        ScoreCase{"NoModeChosen", withTexts(BsfInput{}), ""}),
    [](const ::testing::TestParamInfo<ScoreCase>& row) { return std::string(row.param.name); });

TEST(BsfHead, EmptyTextsLeaveTheLabelsWithTheirBlanks) {
    EXPECT_EQ(reports::bsfFormText(BsfInput{}, pilot::PilotRecord{}),
              "Name of Applicant: \r\n"
              "Battle No:         \r\n"
              "Name of Medal:     \r\n"
              "Applicant's Email: \r\n"
              "Scores:\r\n");
}

TEST(BsfHead, TextsAreWrittenByteForByte) {
    BsfInput input;
    input.idLine = "Zo\xEB  \xA7 ";  // Latin-1 bytes and blanks stay as typed
    input.battleNumber = "?";
    input.medal = "a\0b"s;
    input.email = "x@y";
    EXPECT_EQ(reports::bsfFormText(input, pilot::PilotRecord{}),
              "Name of Applicant: Zo\xEB  \xA7 \r\n"
              "Battle No:         ?\r\n"
              "Name of Medal:     a\0b\r\n"
              "Applicant's Email: x@y\r\n"
              "Scores:\r\n"s);
}

// ---- Writing forms to a file -------------------------------------------------------------

const std::string kSeparator = "---------------------------------------------\r\n";

TEST(BsfSave, ANewFileHoldsTheFormAlone) {
    testing_support::TempDir dir;
    const auto path = dir / "FORM.TXT";
    ASSERT_FALSE(testing_support::errorOf(reports::saveBsfForm(path, kHead)).has_value());
    EXPECT_EQ(testing_support::readText(path), kHead);
}

TEST(BsfSave, EachFurtherFormFollowsASeparator) {
    testing_support::TempDir dir;
    const auto path = dir / "FORM.TXT";
    const std::vector<std::string> forms = {"first\r\n", "second\r\n", "third\r\n"};
    for (const std::string& form : forms) {
        ASSERT_FALSE(testing_support::errorOf(reports::saveBsfForm(path, form)).has_value());
    }
    EXPECT_EQ(testing_support::readText(path),
              "first\r\n" + kSeparator + "second\r\n" + kSeparator + "third\r\n");
    EXPECT_EQ(kSeparator.size(), reports::kBsfSeparatorLine.size() + 2);
}

TEST(BsfSave, AnExistingFileIsAppendedToWhateverItHolds) {
    testing_support::TempDir dir;
    const auto path = dir / "OLD.TXT";
    testing_support::writeBytes(path, std::string("no line end"));
    ASSERT_FALSE(testing_support::errorOf(reports::saveBsfForm(path, "form\r\n")).has_value());
    EXPECT_EQ(testing_support::readText(path), "no line end" + kSeparator + "form\r\n");
}

// An existing file counts as existing whether it can be read or not: a write-only file is
// appended to, and a file without any write bit (write-protected, even for root) is
// reported and kept. Neither is ever replaced by a new file.
TEST(BsfSave, AnUnreadableOrWriteProtectedFileIsNeverReplaced) {
    const struct {
        mode_t mode;
        bool appended;
    } cases[] = {{0200, true}, {0000, false}, {0444, false}};
    for (const auto& file : cases) {
        SCOPED_TRACE(file.mode);
        testing_support::TempDir dir;
        const auto path = dir / "FORMS.TXT";
        testing_support::writeBytes(path, std::string("earlier forms\r\n"));
        ASSERT_EQ(::chmod(path.c_str(), file.mode), 0);
        const auto error = testing_support::errorOf(reports::saveBsfForm(path, "form\r\n"));
        ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
        EXPECT_EQ(error, file.appended
                             ? std::nullopt
                             : std::optional(pilot::IoError{pilot::IoError::AccessDenied}));
        EXPECT_EQ(
            testing_support::readText(path),
            file.appended ? "earlier forms\r\n" + kSeparator + "form\r\n" : "earlier forms\r\n");
    }
}

TEST(BsfSave, AnExistingFileThatCannotBeAppendedToStaysUntouched) {
    testing_support::TempDir dir;
    testing_support::ReadOnlyMount mount(dir / "ro");
    if (!mount.mounted() || !mount.populate({{"FORMS.TXT", "earlier forms\r\n"}})) {
        GTEST_SKIP() << "no read-only file system can be mounted here";
    }
    const auto error =
        testing_support::errorOf(reports::saveBsfForm(dir / "ro" / "FORMS.TXT", "form\r\n"));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(testing_support::readText(dir / "ro" / "FORMS.TXT"), "earlier forms\r\n");
}

TEST(BsfSave, AFolderOfThatNameIsAnErrorAndStays) {
    testing_support::TempDir dir;
    std::filesystem::create_directory(dir / "FORM.TXT");
    EXPECT_TRUE(
        testing_support::errorOf(reports::saveBsfForm(dir / "FORM.TXT", "form\r\n")).has_value());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "FORM.TXT"));
}

TEST(BsfSave, ADanglingLinkIsNotReplacedByAFile) {
    testing_support::TempDir dir;
    std::filesystem::create_symlink(dir / "gone" / "FORM.TXT", dir / "LINK.TXT");
    EXPECT_TRUE(
        testing_support::errorOf(reports::saveBsfForm(dir / "LINK.TXT", "form\r\n")).has_value());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "LINK.TXT"));
}

TEST(BsfSave, AMissingFolderIsReported) {
    testing_support::TempDir dir;
    EXPECT_TRUE(
        testing_support::errorOf(reports::saveBsfForm(dir / "missing" / "FORM.TXT", "form\r\n"))
            .has_value());
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace
