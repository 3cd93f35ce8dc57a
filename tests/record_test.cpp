#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ElementNames.h"
#include "FieldPath.h"
#include "FieldTable.h"
#include "PilotRecord.h"
#include "TestFiles.h"
#include "Totals.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;

// The layout as the file format defines it, written out independently of the field table:
// name, first byte, bytes per element, count of the first and the second index.
struct Layout {
    std::string_view name;
    std::size_t offset;
    std::size_t width;
    std::size_t rows;
    std::size_t columns;
};

constexpr std::array<Layout, 33> kLayout = {{
    {"Reserved0", 0, 1, 1, 1},
    {"PilotStatus", 1, 1, 1, 1},
    {"Rank", 2, 1, 1, 1},
    {"Difficulty", 3, 1, 1, 1},
    {"TotalScore", 4, 4, 1, 1},
    {"Skill", 8, 2, 1, 1},
    {"SecretOrder", 10, 1, 1, 1},
    {"Reserved11", 11, 1, 31, 1},
    {"TrainingScore", 42, 4, 12, 1},
    {"TrainingLevel", 90, 1, 12, 1},
    {"Reserved102", 102, 1, 34, 1},
    {"CombatScore", 136, 4, 12, 8},
    {"CombatCompleted", 520, 1, 12, 8},
    {"Reserved616", 616, 1, 1, 1},
    {"BattleStatus", 617, 1, 20, 1},
    {"BattleLastMission", 637, 1, 20, 1},
    {"Reserved657", 657, 1, 256, 1},
    {"BattleSecondaryGoals", 913, 1, 20, 1},
    {"BattleBonusGoals", 933, 1, 20, 1},
    {"Reserved953", 953, 1, 33, 1},
    {"BattleMissionScore", 986, 4, 20, 8},
    {"Kills", 1626, 2, 1, 1},
    {"Captures", 1628, 2, 1, 1},
    {"Reserved1630", 1630, 2, 1, 1},
    {"ShipKills", 1632, 2, 70, 1},
    {"Reserved1772", 1772, 1, 136, 1},
    {"LaserShots", 1908, 4, 1, 1},
    {"LaserHits", 1912, 4, 1, 1},
    {"Reserved1916", 1916, 4, 1, 1},
    {"WarheadShots", 1920, 2, 1, 1},
    {"WarheadHits", 1922, 2, 1, 1},
    {"Reserved1924", 1924, 2, 1, 1},
    {"CraftLost", 1926, 2, 1, 1},
}};

// Byte stretches that no edit of a shown value may touch: the ten reserved stretches and
// the spare craft slots 7..11 of the four per-craft arrays.
struct Stretch {
    std::size_t first;
    std::size_t size;
};
constexpr std::array<Stretch, 14> kUntouchable = {{
    {0, 1},
    {11, 31},
    {102, 34},
    {616, 1},
    {657, 256},
    {953, 33},
    {1630, 2},
    {1772, 136},
    {1916, 4},
    {1924, 2},
    {42 + 4 * 7, 4 * 5},     // TrainingScore[7..11]
    {90 + 7, 5},             // TrainingLevel[7..11]
    {136 + 32 * 7, 32 * 5},  // CombatScore[7..11][*]
    {520 + 8 * 7, 8 * 5},    // CombatCompleted[7..11][*]
}};

Field fieldNamed(std::string_view name) {
    const auto field = pilot::findField(name);
    EXPECT_TRUE(field.has_value()) << name;
    return field.value_or(Field::Reserved0);
}

TEST(RecordLayout, EveryElementLandsLittleEndianAtItsOffsetAndNowhereElse) {
    const PilotRecord original = testing_support::patternedRecord(7);
    constexpr std::uint32_t kPattern = 0xA1B2C3D4u;
    for (const Layout& layout : kLayout) {
        const Field field = fieldNamed(layout.name);
        ASSERT_EQ(pilot::byteWidth(pilot::fieldInfo(field).type), layout.width) << layout.name;
        for (std::size_t row = 0; row < layout.rows; ++row) {
            for (std::size_t column = 0; column < layout.columns; ++column) {
                PilotRecord record = original;
                record.setRaw(field, kPattern, row, column);
                PilotRecord::Bytes expected = original.bytes();
                const std::size_t at =
                    layout.offset + (row * layout.columns + column) * layout.width;
                for (std::size_t i = 0; i < layout.width; ++i) {
                    expected[at + i] = static_cast<std::uint8_t>(kPattern >> (8 * i));
                }
                ASSERT_EQ(record.bytes(), expected)
                    << layout.name << "[" << row << "][" << column << "]";
                const std::uint32_t mask =
                    layout.width == 4 ? 0xFFFFFFFFu : (1u << (8 * layout.width)) - 1;
                EXPECT_EQ(record.raw(field, row, column), kPattern & mask) << layout.name;
            }
        }
    }
}

TEST(RecordLayout, TypedAccessorsReadTheBytesAtFixedPlaces) {
    struct Case {
        Field field;
        std::size_t row;
        std::size_t column;
        std::size_t offset;
        std::array<std::uint8_t, 4> bytes;
        std::int64_t value;
    };
    const std::vector<Case> cases = {
        {Field::TrainingScore, 0, 0, 42, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {Field::BattleMissionScore, 19, 7, 1622, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {Field::BattleMissionScore, 0, 0, 986, {0x00, 0x00, 0x00, 0x80}, -2147483648LL},
        {Field::CombatScore, 11, 7, 516, {0x01, 0x02, 0x03, 0x04}, 0x04030201},
        {Field::CombatCompleted, 11, 7, 615, {0xC8}, 200},
        {Field::ShipKills, 69, 0, 1770, {0xFF, 0xFF}, 65535},
        {Field::Kills, 0, 0, 1626, {0x34, 0x12}, 0x1234},
        {Field::CraftLost, 0, 0, 1926, {0x00, 0x80}, 32768},
        {Field::BattleSecondaryGoals, 5, 0, 918, {129}, 129},
    };
    for (const Case& c : cases) {
        PilotRecord::Bytes bytes{};
        const std::size_t width = pilot::byteWidth(pilot::fieldInfo(c.field).type);
        for (std::size_t i = 0; i < width; ++i) {
            bytes[c.offset + i] = c.bytes[i];
        }
        const PilotRecord record(bytes);
        EXPECT_EQ(record.value(c.field, c.row, c.column), c.value) << c.offset;
        switch (pilot::fieldInfo(c.field).type) {
            case pilot::FieldType::U8:
                EXPECT_EQ(record.u8(c.field, c.row, c.column), c.value) << c.offset;
                break;
            case pilot::FieldType::U16:
                EXPECT_EQ(record.u16(c.field, c.row, c.column), c.value) << c.offset;
                break;
            case pilot::FieldType::I32:
                EXPECT_EQ(record.i32(c.field, c.row, c.column), c.value) << c.offset;
                break;
        }
    }
}

TEST(RecordLayout, NewPilotIsZeroButDifficultyAndTrainingLevels) {
    PilotRecord::Bytes expected{};
    expected[3] = 1;
    for (std::size_t at = 90; at <= 101; ++at) {
        expected[at] = 2;
    }
    EXPECT_EQ(PilotRecord::newPilot().bytes(), expected);

    PilotRecord reused = testing_support::patternedRecord(3);
    reused.InitNewPilot();
    EXPECT_EQ(reused.bytes(), expected);
    EXPECT_EQ(PilotRecord().bytes(), PilotRecord::Bytes{});
}

TEST(RecordLayout, ReservedBytesAndSpareSlotsSurviveAnyEdits) {
    std::vector<std::pair<Field, std::size_t>> shown;  // a field and its count of first indices
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (!info.reserved()) {
            shown.emplace_back(info.id,
                               info.rows == pilot::kCraftSlots ? pilot::kShownCrafts : info.rows);
        }
    }
    for (const std::uint32_t seed : {1u, 2u, 3u, 4u}) {
        const PilotRecord original = testing_support::patternedRecord(seed);
        PilotRecord record = original;
        std::mt19937 random(seed);
        for (int edit = 0; edit < 5000; ++edit) {
            const auto& [field, rows] = shown[random() % shown.size()];
            record.setRaw(field, static_cast<std::uint32_t>(random()), random() % rows,
                          random() % pilot::fieldInfo(field).columns);
        }
        for (const Stretch& stretch : kUntouchable) {
            for (std::size_t at = stretch.first; at < stretch.first + stretch.size; ++at) {
                ASSERT_EQ(record.bytes()[at], original.bytes()[at])
                    << "seed " << seed << ", byte " << at;
            }
        }
    }
}

struct OutOfRange {
    Field field;
    std::size_t row;
    std::size_t column;
};

const std::vector<OutOfRange> kOutOfRange = {
    {Field::TrainingScore, pilot::kCraftSlots, 0},
    {Field::TrainingLevel, 0, 1},
    {Field::CombatScore, 0, pilot::kMissions},
    {Field::CombatCompleted, pilot::kCraftSlots, 0},
    {Field::BattleMissionScore, pilot::kBattles, 0},
    {Field::BattleMissionScore, std::numeric_limits<std::size_t>::max(), 0},
    {Field::ShipKills, pilot::kShipKillCounters, 0},
    {Field::Rank, 1, 0},
    {Field::CraftLost, 0, 1},
};

TEST(RecordLayout, OutOfRangeIndicesAddressNothing) {
    for (const OutOfRange& c : kOutOfRange) {
        EXPECT_FALSE(pilot::elementOffset(c.field, c.row, c.column).has_value())
            << pilot::fieldInfo(c.field).name;
    }
}

// Debug builds stop at the broken index; release builds read 0 and drop the write.
TEST(RecordLayoutDeathTest, OutOfRangeAccessAssertsOrLeavesTheRecordAlone) {
    const PilotRecord original = testing_support::patternedRecord(11);
    for (const OutOfRange& c : kOutOfRange) {
        PilotRecord record = original;
        std::uint32_t read = 0;
        EXPECT_DEBUG_DEATH(read = record.raw(c.field, c.row, c.column), "index outside the field");
        EXPECT_EQ(read, 0u);
        EXPECT_DEBUG_DEATH(record.setRaw(c.field, 0x5A5A5A5Au, c.row, c.column),
                           "index outside the field");
        EXPECT_EQ(record, original) << pilot::fieldInfo(c.field).name;
    }
}

TEST(RecordLayoutDeathTest, AccessorOfTheWrongWidthAssertsOrLeavesTheRecordAlone) {
    const PilotRecord original = testing_support::patternedRecord(12);
    PilotRecord record = original;
    std::int64_t read = 0;
    EXPECT_DEBUG_DEATH(read = record.u8(Field::TotalScore), "accessor width");
    EXPECT_EQ(read, 0);
    EXPECT_DEBUG_DEATH(read = record.i32(Field::Kills), "accessor width");
    EXPECT_EQ(read, 0);
    EXPECT_DEBUG_DEATH(record.setU16(Field::Rank, 0xFFFF), "accessor width");
    EXPECT_DEBUG_DEATH(record.setI32(Field::ShipKills, -1, 3), "accessor width");
    EXPECT_EQ(record, original);
}

TEST(RecordNames, FieldsAndEnumerationTextsAreFoundByName) {
    EXPECT_FALSE(pilot::findField("Ranks").has_value());
    EXPECT_FALSE(pilot::findField("").has_value());
    struct Case {
        Field field;
        std::uint32_t value;
        std::optional<std::string_view> text;
    };
    const std::vector<Case> cases = {
        {Field::Rank, 0, "Flight Cadet"},       {Field::Rank, 5, "General"},
        {Field::Rank, 6, std::nullopt},         {Field::PilotStatus, 2, "Killed"},
        {Field::Difficulty, 1, "Medium"},       {Field::SecretOrder, 9, "Emperor's Reach"},
        {Field::SecretOrder, 10, std::nullopt}, {Field::BattleStatus, 3, "Completed"},
        {Field::BattleStatus, 7, std::nullopt}, {Field::TotalScore, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::enumerationText(c.field, c.value), c.text)
            << pilot::fieldInfo(c.field).name << " " << c.value;
    }
}

// Every element has a title of its own, placed by its indices as the window places it.
TEST(RecordNames, ElementsAreTitledAsTheWindowShowsThem) {
    struct Case {
        pilot::ElementPath path;
        std::string_view title;
    };
    const std::vector<Case> cases = {
        {{Field::Rank}, "Rank"},
        {{Field::TotalScore}, "Total score"},
        {{Field::LaserHits}, "Laser hits"},
        {{Field::TrainingLevel, 2}, "Training, TIE Bomber: highest level"},
        {{Field::TrainingScore, 7}, "Training, spare slot 8: score"},
        {{Field::CombatCompleted, 2, 0}, "Combat chamber, TIE Bomber, mission 1: completed"},
        {{Field::BattleStatus, 3}, "Battle 4: status"},
        {{Field::BattleLastMission, 19}, "Battle 20: last completed mission"},
        {{Field::BattleMissionScore, 3, 2}, "Battle 4, mission 3: score"},
        {{Field::ShipKills, 4}, "Kills of T/F"},
        {{Field::ShipKills, 65}, "Kills of R&D"},
        {{Field::Reserved11, 1}, "Reserved byte 12"},
        {{Field::Reserved1916}, "Reserved byte 1916"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::elementTitle(c.path), c.title) << pilot::pathName(c.path);
    }
    EXPECT_EQ(pilot::goalBitTitle({Field::BattleBonusGoals, 3}, 7),
              "Battle 4, mission 8: bonus goal");
    EXPECT_EQ(pilot::fieldTitle(Field::Reserved11), "Reserved bytes 11 to 41");

    // No two elements share a title.
    std::set<std::string> titles;
    std::size_t elements = 0;
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        pilot::forEachElement(info.id, [&](const pilot::ElementPath& path) {
            ++elements;
            titles.insert(pilot::elementTitle(path));
        });
    }
    EXPECT_EQ(titles.size(), elements);
}

TEST(RecordTotals, MissionScoresSumWithSigned32BitWrap) {
    struct Case {
        std::vector<std::int32_t> scores;  // spread over battles and missions in order
        std::int32_t total;
    };
    const std::vector<Case> cases = {
        {{}, 0},
        {{100, -30, 5}, 75},
        {{2147483647, 1}, std::numeric_limits<std::int32_t>::min()},
        {{-2147483647 - 1, -1}, 2147483647},
        {std::vector<std::int32_t>(160, 20000000), -1094967296},
    };
    for (const Case& c : cases) {
        PilotRecord record;
        for (std::size_t i = 0; i < c.scores.size(); ++i) {
            record.setI32(Field::BattleMissionScore, c.scores[i], i / pilot::kMissions,
                          i % pilot::kMissions);
        }
        EXPECT_EQ(pilot::missionScoreTotal(record), c.total);
    }
}

TEST(RecordTotals, KillCountersSumModulo65536) {
    struct Case {
        std::vector<std::uint16_t> counters;
        std::uint16_t total;
    };
    const std::vector<Case> cases = {
        {{}, 0},
        {{1, 2, 3}, 6},
        {{65535, 1}, 0},
        {{65535, 65535}, 65534},
        {std::vector<std::uint16_t>(70, 65535), 65466},
    };
    for (const Case& c : cases) {
        PilotRecord record;
        for (std::size_t i = 0; i < c.counters.size(); ++i) {
            record.setU16(Field::ShipKills, c.counters[i], i);
        }
        EXPECT_EQ(pilot::shipKillsTotal(record), c.total);
    }
}

// What the editor stores is the plain sum unless the sum is the field's sentinel, which the
// field's rule resets.
TEST(RecordTotals, TheStoredTotalsResetASumOfTheSentinel) {
    struct Case {
        std::vector<std::int32_t> scores;
        std::vector<std::uint16_t> counters;
        std::int32_t totalScore;
        std::uint16_t kills;
    };
    const std::vector<Case> cases = {
        {{}, {}, 0, 0},
        {{100, -30}, {1, 2}, 70, 3},
        {{2147483000, 647}, {65534, 1}, 0, 0},
        {{2147483000, 646}, {65534}, 2147483646, 65534},
        {{2147483647, 1}, {65535, 2}, std::numeric_limits<std::int32_t>::min(), 1},
        {{-1}, {65535, 65535, 1}, -1, 0},
    };
    for (const Case& c : cases) {
        PilotRecord record;
        for (std::size_t i = 0; i < c.scores.size(); ++i) {
            record.setI32(Field::BattleMissionScore, c.scores[i], i / pilot::kMissions,
                          i % pilot::kMissions);
        }
        for (std::size_t i = 0; i < c.counters.size(); ++i) {
            record.setU16(Field::ShipKills, c.counters[i], i);
        }
        EXPECT_EQ(pilot::storedTotalScore(record), c.totalScore);
        EXPECT_EQ(pilot::storedKillsTotal(record), c.kills);
    }
}

}  // namespace
