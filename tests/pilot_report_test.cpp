#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "FieldTable.h"
#include "PilotRecord.h"
#include "PilotReport.h"
#include "TestFiles.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;

constexpr std::int32_t kMinI32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxI32 = std::numeric_limits<std::int32_t>::max();

// Splits a report at its CR LF line ends; fails when the text does not end in one.
std::vector<std::string> reportLines(const std::string& report) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = report.find("\r\n"); end != std::string::npos;
         end = report.find("\r\n", start)) {
        lines.push_back(report.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, report.size()) << "text after the last CR LF";
    return lines;
}

// A record with every field set: random bytes everywhere, then known values in every
// field the report shows. Four battles exist, with statuses 1, 3, 7 and 255.
PilotRecord everyFieldSet() {
    PilotRecord record = testing_support::patternedRecord(7);
    record.setU8(Field::PilotStatus, 1);
    record.setU8(Field::Rank, 3);
    record.setU8(Field::Difficulty, 2);
    record.setI32(Field::TotalScore, -1234567);
    record.setU16(Field::Skill, 65535);
    record.setU8(Field::SecretOrder, 1);
    record.setU16(Field::Kills, 40000);
    record.setU16(Field::Captures, 7);
    record.setI32(Field::LaserShots, kMaxI32);
    record.setI32(Field::LaserHits, kMinI32);
    record.setU16(Field::WarheadShots, 65534);
    record.setU16(Field::WarheadHits, 300);
    record.setU16(Field::CraftLost, 12);
    const std::int32_t trainingScores[] = {12000, 3500, -1, 0, kMaxI32, kMinI32, 99};
    const std::uint8_t trainingLevels[] = {4, 2, 255, 0, 1, 9, 3};
    for (std::size_t craft = 0; craft < pilot::kShownCrafts; ++craft) {
        record.setI32(Field::TrainingScore, trainingScores[craft], craft);
        record.setU8(Field::TrainingLevel, trainingLevels[craft], craft);
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            const auto score = static_cast<std::int32_t>((craft + 1) * 1000 + mission);
            record.setI32(Field::CombatScore, score, craft, mission);
        }
    }
    record.setI32(Field::CombatScore, -500, 3, 2);
    record.setI32(Field::CombatScore, kMaxI32, 6, 7);
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        record.setU8(Field::BattleStatus, 0, battle);
    }
    const std::pair<std::size_t, std::uint8_t> battles[] = {{0, 1}, {1, 3}, {4, 7}, {19, 255}};
    for (const auto& [battle, status] : battles) {
        record.setU8(Field::BattleStatus, status, battle);
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            const auto score = static_cast<std::int32_t>((battle + 1) * 10000 + mission * 10);
            record.setI32(Field::BattleMissionScore, score, battle, mission);
        }
    }
    record.setI32(Field::BattleMissionScore, -42, 4, 7);
    return record;
}

// The report of everyFieldSet(), written by hand from the format.
const std::vector<std::string> kEveryFieldReport = {
    "/pilots/J\xC3\xA4ger ACE.TXT",
    "Status: Captured",
    "Rank: Captain",
    "Difficulty: Hard",
    "Score: -1234567",
    "Skill: 65535",
    "Secret Order: First Initiate",
    "Kills: 40000",
    "Captures: 7",
    "Lasershots: 2147483647",
    "Laserhits: -2147483648",
    "Warheadshots: 65534",
    "Warheadhits: 300",
    "Craft lost: 12",
    " ",
    "Training Scores:",
    "Tie Fighter      Score: 12000 Level: 4",
    "Tie Interceptor  Score: 3500 Level: 2",
    "Tie Bomber       Score: -1 Level: 255",
    "Tie Advanced     Score: 0 Level: 0",
    "Assault Gunboat  Score: 2147483647 Level: 1",
    "Tie Defender     Score: -2147483648 Level: 9",
    "Missile Boat     Score: 99 Level: 3",
    " ",
    "Combat Chamber:",
    "Tie Fighter",
    "Mission 1: 1000   Mission 5: 1004",
    "Mission 2: 1001   Mission 6: 1005",
    "Mission 3: 1002   Mission 7: 1006",
    "Mission 4: 1003   Mission 8: 1007",
    "Tie Interceptor",
    "Mission 1: 2000   Mission 5: 2004",
    "Mission 2: 2001   Mission 6: 2005",
    "Mission 3: 2002   Mission 7: 2006",
    "Mission 4: 2003   Mission 8: 2007",
    "Tie Bomber",
    "Mission 1: 3000   Mission 5: 3004",
    "Mission 2: 3001   Mission 6: 3005",
    "Mission 3: 3002   Mission 7: 3006",
    "Mission 4: 3003   Mission 8: 3007",
    "Tie Advanced",
    "Mission 1: 4000   Mission 5: 4004",
    "Mission 2: 4001   Mission 6: 4005",
    "Mission 3: -500   Mission 7: 4006",
    "Mission 4: 4003   Mission 8: 4007",
    "Assault Gunboat",
    "Mission 1: 5000   Mission 5: 5004",
    "Mission 2: 5001   Mission 6: 5005",
    "Mission 3: 5002   Mission 7: 5006",
    "Mission 4: 5003   Mission 8: 5007",
    "Tie Defender",
    "Mission 1: 6000   Mission 5: 6004",
    "Mission 2: 6001   Mission 6: 6005",
    "Mission 3: 6002   Mission 7: 6006",
    "Mission 4: 6003   Mission 8: 6007",
    "Missile Boat",
    "Mission 1: 7000   Mission 5: 7004",
    "Mission 2: 7001   Mission 6: 7005",
    "Mission 3: 7002   Mission 7: 7006",
    "Mission 4: 7003   Mission 8: 2147483647",
    " ",
    "Battle 1:",
    "Mission 1: 10000   Mission 5: 10040",
    "Mission 2: 10010   Mission 6: 10050",
    "Mission 3: 10020   Mission 7: 10060",
    "Mission 4: 10030   Mission 8: 10070",
    "Battle 2:",
    "Mission 1: 20000   Mission 5: 20040",
    "Mission 2: 20010   Mission 6: 20050",
    "Mission 3: 20020   Mission 7: 20060",
    "Mission 4: 20030   Mission 8: 20070",
    "Battle 5:",
    "Mission 1: 50000   Mission 5: 50040",
    "Mission 2: 50010   Mission 6: 50050",
    "Mission 3: 50020   Mission 7: 50060",
    "Mission 4: 50030   Mission 8: -42",
    "Battle 20:",
    "Mission 1: 200000   Mission 5: 200040",
    "Mission 2: 200010   Mission 6: 200050",
    "Mission 3: 200020   Mission 7: 200060",
    "Mission 4: 200030   Mission 8: 200070",
};

TEST(PilotReport, EveryFieldSetMatchesTheHandWrittenReport) {
    const std::string report = reports::pilotReport(everyFieldSet(), kEveryFieldReport.front());
    const std::vector<std::string> lines = reportLines(report);
    ASSERT_EQ(lines.size(), kEveryFieldReport.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], kEveryFieldReport[i]) << "line " << i + 1;
    }
}

// Line counts and absent lines, starting from a new pilot (all four enumerated lines
// present, no battle).
struct LineCountCase {
    const char* name;
    std::function<void(PilotRecord&)> change;
    std::size_t lines;
    std::vector<std::string_view> absentPrefixes;
};

void setAllBattleStatuses(PilotRecord& record) {
    const std::uint8_t statuses[] = {1, 2, 3, 7};
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        record.setU8(Field::BattleStatus, statuses[battle % 4], battle);
    }
}

void setAllOutOfTable(PilotRecord& record) {
    record.setU8(Field::PilotStatus, 3);
    record.setU8(Field::Rank, 6);
    record.setU8(Field::Difficulty, 3);
    record.setU8(Field::SecretOrder, 10);
}

class PilotReportLineCount : public testing::TestWithParam<LineCountCase> {};

TEST_P(PilotReportLineCount, HasItsLinesAndNoneOfTheAbsentOnes) {
    PilotRecord record = PilotRecord::newPilot();
    GetParam().change(record);
    const std::vector<std::string> lines = reportLines(reports::pilotReport(record, "p.TXT"));
    EXPECT_EQ(lines.size(), GetParam().lines);
    for (const std::string_view prefix : GetParam().absentPrefixes) {
        for (const std::string& line : lines) {
            EXPECT_FALSE(line.starts_with(prefix)) << line;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PilotReportLineCount,
    testing::Values(
        LineCountCase{"NoBattles", [](PilotRecord&) {}, 61, {"Battle "}},
        LineCountCase{"AllZeroRecord", [](PilotRecord& r) { r = PilotRecord{}; }, 61, {}},
        LineCountCase{"PilotStatus3",
                      [](PilotRecord& r) { r.setU8(Field::PilotStatus, 3); },
                      60,
                      {"Status: "}},
        LineCountCase{"PilotStatus255",
                      [](PilotRecord& r) { r.setU8(Field::PilotStatus, 255); },
                      60,
                      {"Status: "}},
        LineCountCase{"Rank6", [](PilotRecord& r) { r.setU8(Field::Rank, 6); }, 60, {"Rank: "}},
        LineCountCase{"Difficulty3",
                      [](PilotRecord& r) { r.setU8(Field::Difficulty, 3); },
                      60,
                      {"Difficulty: "}},
        LineCountCase{"SecretOrder10",
                      [](PilotRecord& r) { r.setU8(Field::SecretOrder, 10); },
                      60,
                      {"Secret Order: "}},
        LineCountCase{"AllFourOutOfTable",
                      setAllOutOfTable,
                      57,
                      {"Status: ", "Rank: ", "Difficulty: ", "Secret Order: "}},
        LineCountCase{"OneBattleWithStatus7",
                      [](PilotRecord& r) { r.setU8(Field::BattleStatus, 7, 12); },
                      66,
                      {}},
        LineCountCase{"ScoresOfABattleThatDoesNotExist",
                      [](PilotRecord& r) { r.setI32(Field::BattleMissionScore, 500, 3, 0); },
                      61,
                      {"Battle "}},
        LineCountCase{"TwentyBattles", setAllBattleStatuses, 161, {}},
        LineCountCase{"TwentyBattlesAllFourOutOfTable",
                      [](PilotRecord& r) {
                          setAllBattleStatuses(r);
                          setAllOutOfTable(r);
                      },
                      157,
                      {}}),
    [](const testing::TestParamInfo<LineCountCase>& testCase) { return testCase.param.name; });

TEST(PilotReport, TwentyBattlesFollowInOrderWithoutSpacers) {
    PilotRecord record = PilotRecord::newPilot();
    setAllBattleStatuses(record);
    record.setI32(Field::BattleMissionScore, -3, 19, 7);
    const std::vector<std::string> lines = reportLines(reports::pilotReport(record, "p.TXT"));
    ASSERT_EQ(lines.size(), 161U);
    EXPECT_EQ(lines[60], " ");
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        EXPECT_EQ(lines[61 + 5 * battle], "Battle " + std::to_string(battle + 1) + ":");
    }
    EXPECT_EQ(lines.back(), "Mission 4: 0   Mission 8: -3");
}

// Every value of the enumerated fields on its line of a new pilot's report.
struct EnumeratedCase {
    Field field;
    std::size_t line;
    std::vector<std::string_view> texts;  // by stored value
};

const EnumeratedCase kEnumeratedCases[] = {
    {Field::PilotStatus, 1, {"Status: Alive", "Status: Captured", "Status: Killed"}},
    {Field::Rank,
     2,
     {"Rank: Flight Cadet", "Rank: Flight Officer", "Rank: Lieutenant", "Rank: Captain",
      "Rank: Commander", "Rank: General"}},
    {Field::Difficulty, 3, {"Difficulty: Easy", "Difficulty: Medium", "Difficulty: Hard"}},
    {Field::SecretOrder,
     6,
     {"Secret Order: None", "Secret Order: First Initiate", "Secret Order: Second Circle",
      "Secret Order: Third Circle", "Secret Order: Fourth Circle", "Secret Order: Inner Circle",
      "Secret Order: Emperor's Hand", "Secret Order: Emperor's Eyes",
      "Secret Order: Emperor's Voice", "Secret Order: Emperor's Reach"}},
};

TEST(PilotReport, EnumeratedValuesReadAsTheirTexts) {
    for (const EnumeratedCase& entry : kEnumeratedCases) {
        for (std::size_t value = 0; value < entry.texts.size(); ++value) {
            PilotRecord record = PilotRecord::newPilot();
            record.setU8(entry.field, static_cast<std::uint8_t>(value));
            const auto lines = reportLines(reports::pilotReport(record, "p.TXT"));
            ASSERT_EQ(lines.size(), 61U);
            EXPECT_EQ(lines[entry.line], entry.texts[value]);
        }
    }
}

// Numbers by the width and signedness of their field, on a new pilot's report.
struct NumberCase {
    Field field;
    std::size_t row;
    std::size_t column;
    std::uint32_t pattern;
    std::size_t line;
    std::string_view expected;
};

const NumberCase kNumberCases[] = {
    {Field::TotalScore, 0, 0, static_cast<std::uint32_t>(-1), 4, "Score: -1"},
    {Field::TotalScore, 0, 0, 0x80000000U, 4, "Score: -2147483648"},
    {Field::Skill, 0, 0, 65535, 5, "Skill: 65535"},
    {Field::Skill, 0, 0, 32768, 5, "Skill: 32768"},
    {Field::Kills, 0, 0, 65535, 7, "Kills: 65535"},
    {Field::Captures, 0, 0, 40000, 8, "Captures: 40000"},
    {Field::LaserShots, 0, 0, static_cast<std::uint32_t>(-7), 9, "Lasershots: -7"},
    {Field::LaserHits, 0, 0, 0x7FFFFFFFU, 10, "Laserhits: 2147483647"},
    {Field::WarheadShots, 0, 0, 65535, 11, "Warheadshots: 65535"},
    {Field::WarheadHits, 0, 0, 32768, 12, "Warheadhits: 32768"},
    {Field::CraftLost, 0, 0, 65535, 13, "Craft lost: 65535"},
    {Field::TrainingLevel, 0, 0, 255, 16, "Tie Fighter      Score: 0 Level: 255"},
    {Field::TrainingLevel, 3, 0, 128, 19, "Tie Advanced     Score: 0 Level: 128"},
    {Field::TrainingScore, 6, 0, static_cast<std::uint32_t>(-1), 22,
     "Missile Boat     Score: -1 Level: 2"},
    {Field::CombatScore, 0, 4, static_cast<std::uint32_t>(-950), 26,
     "Mission 1: 0   Mission 5: -950"},
    {Field::CombatScore, 6, 3, 0x80000000U, 59, "Mission 4: -2147483648   Mission 8: 0"},
};

TEST(PilotReport, NumbersFollowTheWidthAndSignOfTheirField) {
    for (const NumberCase& entry : kNumberCases) {
        PilotRecord record = PilotRecord::newPilot();
        record.setRaw(entry.field, entry.pattern, entry.row, entry.column);
        const auto lines = reportLines(reports::pilotReport(record, "p.TXT"));
        ASSERT_EQ(lines.size(), 61U);
        EXPECT_EQ(lines[entry.line], entry.expected);
    }
}

TEST(PilotReport, EveryLineEndsInCrLfAndSpacersHoldOneBlank) {
    for (const std::uint32_t seed : {1U, 2U, 3U, 4U}) {
        const std::string report =
            reports::pilotReport(testing_support::patternedRecord(seed), "/p/ACE.TXT");
        ASSERT_TRUE(report.ends_with("\r\n"));
        for (std::size_t i = 0; i < report.size(); ++i) {
            if (report[i] == '\r') {
                EXPECT_EQ(report[i + 1], '\n') << "at byte " << i;
            } else if (report[i] == '\n') {
                EXPECT_EQ(report[i - 1], '\r') << "at byte " << i;
            }
        }
        for (const std::string& line : reportLines(report)) {
            EXPECT_FALSE(line.empty());
            EXPECT_TRUE(line == " " || !line.ends_with(' ')) << '"' << line << '"';
        }
    }
}

TEST(PilotReport, FirstLineIsThePathBytesUnchanged) {
    const PilotRecord record = everyFieldSet();
    const std::string reference = reports::pilotReport(record, "x");
    const std::string_view paths[] = {
        "/home/pilot/ACE.TXT",
        "/home/j\xC3\xBCrgen/Pilot \xC3\x84 \xE2\x98\x85.TXT",  // UTF-8
        "/tmp/\xE9t\xE9.TXT",                                   // a Latin-1 name
        "C:\\PILOTS\\ACE.TXT",
        "ACE",
        "",
    };
    for (const std::string_view path : paths) {
        const std::string report = reports::pilotReport(record, path);
        EXPECT_EQ(report.substr(0, path.size() + 2), std::string(path) + "\r\n");
        EXPECT_EQ(report.substr(path.size()), reference.substr(1)) << path;
    }
}

// Every shown number at its widest, every battle present, the longest texts and a long
// path: the longest report there is comes out whole.
TEST(PilotReport, TheWidestReportIsWrittenWhole) {
    PilotRecord record;
    record.setU8(Field::Rank, 1);         // "Flight Officer"
    record.setU8(Field::SecretOrder, 9);  // "Emperor's Reach"
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved() || !info.enumeration.empty()) {
            continue;
        }
        for (std::size_t row = 0; row < info.rows; ++row) {
            for (std::size_t column = 0; column < info.columns; ++column) {
                const bool isSigned = info.type == pilot::FieldType::I32;
                record.setRaw(info.id, isSigned ? 0x80000000U : 0xFFFFFFFFU, row, column);
            }
        }
    }
    setAllBattleStatuses(record);
    const std::string path = "/" + std::string(4000, 'p') + ".TXT";
    const std::vector<std::string> lines = reportLines(reports::pilotReport(record, path));
    ASSERT_EQ(lines.size(), 161U);
    EXPECT_EQ(lines[0], path);
    EXPECT_EQ(lines[4], "Score: -2147483648");
    EXPECT_EQ(lines[5], "Skill: 65535");
    EXPECT_EQ(lines[6], "Secret Order: Emperor's Reach");
    EXPECT_EQ(lines[16], "Tie Fighter      Score: -2147483648 Level: 255");
    EXPECT_EQ(lines[26], "Mission 1: -2147483648   Mission 5: -2147483648");
    EXPECT_EQ(lines[160], "Mission 4: -2147483648   Mission 8: -2147483648");
}

// Flips every bit of the elements [firstRow, rows) of a field.
void flip(PilotRecord& record, Field field, std::size_t firstRow = 0) {
    const pilot::FieldInfo& info = pilot::fieldInfo(field);
    for (std::size_t row = firstRow; row < info.rows; ++row) {
        for (std::size_t column = 0; column < info.columns; ++column) {
            record.setRaw(field, ~record.raw(field, row, column), row, column);
        }
    }
}

TEST(PilotReport, BytesTheReportDoesNotShowLeaveItUnchanged) {
    PilotRecord original = testing_support::patternedRecord(11);
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        original.setU8(Field::BattleStatus, battle % 2 == 0 ? 0 : 9, battle);
    }
    PilotRecord changed = original;
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved()) {
            flip(changed, info.id);
        }
    }
    for (const Field field :
         {Field::CombatCompleted, Field::BattleLastMission, Field::BattleSecondaryGoals,
          Field::BattleBonusGoals, Field::ShipKills}) {
        flip(changed, field);
    }
    for (const Field field : {Field::TrainingScore, Field::TrainingLevel, Field::CombatScore}) {
        flip(changed, field, pilot::kShownCrafts);
    }
    for (std::size_t battle = 0; battle < pilot::kBattles; battle += 2) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            changed.setI32(Field::BattleMissionScore, -1, battle, mission);
        }
    }
    ASSERT_NE(original, changed);
    EXPECT_EQ(reports::pilotReport(original, "p"), reports::pilotReport(changed, "p"));

    // A shown field does change the report: the comparison above is not blind.
    flip(changed, Field::CraftLost);
    EXPECT_NE(reports::pilotReport(original, "p"), reports::pilotReport(changed, "p"));
}

}  // namespace
