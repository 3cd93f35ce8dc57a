// The items of the record: the parts that are compared, merged and named on their own.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "PilotRecord.h"
#include "RecordItems.h"
#include "TestFiles.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;
using pilot::RecordItem;
using Kind = RecordItem::Kind;

// Each byte of the record belongs to exactly one item, and each bit of a goal byte to one
// goal: setting an item to all ones changes its own bits and no others, the bits of its
// place.
TEST(RecordItems, CoverEveryBitOfTheRecordOnce) {
    std::array<int, pilot::kRecordSize * 8> owners{};
    pilot::forEachItem([&](const RecordItem& item) {
        PilotRecord record;
        pilot::setItemValue(record, item, 0xFFFFFFFFu);
        const pilot::ItemPlace place = pilot::itemPlace(item);
        for (std::size_t at = 0; at < pilot::kRecordSize; ++at) {
            const bool inPlace = at >= place.offset && at < place.offset + place.size;
            for (unsigned bit = 0; bit < 8; ++bit) {
                const unsigned set = (record.bytes()[at] >> bit) & 1u;
                owners[at * 8 + bit] += static_cast<int>(set);
                ASSERT_EQ(set, inPlace ? (place.mask >> bit) & 1u : 0u)
                    << pilot::itemRecordName(item) << ", byte " << at << " bit " << bit;
            }
        }
    });
    for (std::size_t i = 0; i < owners.size(); ++i) {
        ASSERT_EQ(owners[i], 1) << "byte " << i / 8 << " bit " << i % 8;
    }
}

TEST(RecordItems, AreNamedAndShownAsTheWindowShowsThem) {
    PilotRecord record;
    record.setU8(Field::Rank, 3);
    record.setU8(Field::SecretOrder, 12);
    record.setI32(Field::LaserShots, -5);
    record.setU16(Field::Skill, 65535);
    record.setU8(Field::CombatCompleted, 1, 2, 0);
    record.setU8(Field::CombatCompleted, 2, 2, 1);
    record.setU8(Field::BattleLastMission, 3, 3);
    record.setU8(Field::BattleLastMission, 12, 4);
    record.setU8(Field::BattleSecondaryGoals, 0x04, 3);
    record.setByte(12, 0x1F);
    struct Case {
        RecordItem item;
        std::string_view title;
        std::string_view recordName;
        std::string_view text;
    };
    const std::vector<Case> cases = {
        {{Kind::Element, {Field::Rank}}, "Rank", "Rank", "Captain"},
        {{Kind::Element, {Field::SecretOrder}},
         "Secret order",
         "SecretOrder",
         "12 (not in the list)"},
        {{Kind::Element, {Field::LaserShots}}, "Laser shots", "LaserShots", "-5"},
        {{Kind::Element, {Field::Skill}}, "Skill", "Skill", "65535"},
        {{Kind::Element, {Field::CombatCompleted, 2, 0}},
         "Combat chamber, TIE Bomber, mission 1: completed",
         "CombatCompleted[2][0]",
         "ticked"},
        {{Kind::Element, {Field::CombatCompleted, 2, 1}},
         "Combat chamber, TIE Bomber, mission 2: completed",
         "CombatCompleted[2][1]",
         "not ticked (2)"},
        {{Kind::Element, {Field::BattleLastMission, 3}},
         "Battle 4: last completed mission",
         "BattleLastMission[3]",
         "Mission 3"},
        {{Kind::Element, {Field::BattleLastMission, 4}},
         "Battle 5: last completed mission",
         "BattleLastMission[4]",
         "12 (not in the list)"},
        {{Kind::Element, {Field::BattleLastMission, 5}},
         "Battle 6: last completed mission",
         "BattleLastMission[5]",
         "No mission finished"},
        {{Kind::GoalBit, {Field::BattleSecondaryGoals, 3}, 2},
         "Battle 4, mission 3: secondary goal",
         "BattleSecondaryGoals[3] bit 2",
         "ticked"},
        {{Kind::GoalBit, {Field::BattleSecondaryGoals, 3}, 1},
         "Battle 4, mission 2: secondary goal",
         "BattleSecondaryGoals[3] bit 1",
         "not ticked"},
        {{Kind::ReservedByte, {Field::Reserved11}, 0, 12},
         "Reserved byte 12",
         "Reserved11",
         "0x1f"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(pilot::itemTitle(c.item), c.title);
        EXPECT_EQ(pilot::itemRecordName(c.item), c.recordName);
        EXPECT_EQ(pilot::itemText(record, c.item), c.text);
        EXPECT_EQ(pilot::itemValueText(c.item, pilot::itemValue(record, c.item)), c.text);
    }
}

// The differences of two records are exactly the items whose values differ: taking each of
// them over turns one record into the other, and a record differs from itself nowhere.
TEST(RecordItems, DifferencesAreTheItemsThatDiffer) {
    std::mt19937 random(7);
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        const PilotRecord a = testing_support::patternedRecord(seed);
        PilotRecord b = a;
        const auto changes = random() % 6;
        for (std::uint32_t i = 0; i < changes; ++i) {
            b.setByte(random() % pilot::kRecordSize, static_cast<std::uint8_t>(random()));
        }
        EXPECT_TRUE(pilot::differences(a, a).empty());
        const auto found = pilot::differences(a, b);
        EXPECT_EQ(found.empty(), a == b);
        EXPECT_EQ(pilot::differenceCount(a, b), found.size());
        PilotRecord taken = a;
        for (const RecordItem& item : found) {
            EXPECT_NE(pilot::itemValue(a, item), pilot::itemValue(b, item));
            pilot::setItemValue(taken, item, pilot::itemValue(b, item));
        }
        EXPECT_EQ(taken, b) << "seed " << seed;
    }
}

// Taking items from another record takes their values; a mission score or kill counter
// taken brings its total as the editor stores it, unless the total is taken itself.
TEST(RecordItems, TakingItemsKeepsTheTotalsAsTheEditorStoresThem) {
    PilotRecord theirs;
    theirs.setI32(Field::BattleMissionScore, 500, 3, 2);
    theirs.setU16(Field::ShipKills, 7, 4);
    theirs.setI32(Field::TotalScore, 123);
    theirs.setU16(Field::Kills, 45);
    theirs.setU8(Field::BattleBonusGoals, 0xFF, 1);
    PilotRecord mine;
    mine.setI32(Field::BattleMissionScore, 100, 0, 0);
    mine.setU16(Field::ShipKills, 2, 0);
    mine.setI32(Field::TotalScore, 99);  // not the sum: only what is taken is recomputed
    mine.setU16(Field::Kills, 98);
    const RecordItem score{Kind::Element, {Field::BattleMissionScore, 3, 2}};
    const RecordItem kills{Kind::Element, {Field::ShipKills, 4}};
    const RecordItem total{Kind::Element, {Field::TotalScore}};
    const RecordItem bonus{Kind::GoalBit, {Field::BattleBonusGoals, 1}, 5};
    struct Case {
        const char* what;
        std::vector<RecordItem> items;
        std::int32_t totalScore;
        std::uint16_t killsTotal;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, 99, 98},
        {"a mission score", {score}, 600, 98},
        {"a kill counter", {kills}, 99, 9},
        {"a score and its total", {score, total}, 123, 98},
        {"a goal", {bonus}, 99, 98},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PilotRecord taken = mine;
        pilot::takeItems(taken, theirs, c.items);
        for (const RecordItem& item : c.items) {
            EXPECT_EQ(pilot::itemValue(taken, item), pilot::itemValue(theirs, item));
        }
        EXPECT_EQ(taken.i32(Field::TotalScore), c.totalScore);
        EXPECT_EQ(taken.u16(Field::Kills), c.killsTotal);
        EXPECT_EQ(taken.u8(Field::BattleBonusGoals, 1), c.items == std::vector{bonus} ? 0x20 : 0);
    }
}

TEST(RecordItems, ChangesAreListedAsAPlayerReadsThemUpToALimit) {
    PilotRecord before;
    PilotRecord after;
    after.setU8(Field::Rank, 3);
    after.setI32(Field::TotalScore, 1500);
    after.setU8(Field::BattleSecondaryGoals, 0x04, 3);
    after.setU16(Field::ShipKills, 2, 4);
    struct Case {
        std::size_t most;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {5,
         {"Rank: Flight Cadet \u2192 Captain", "Total score: 0 \u2192 1500",
          "Battle 4, mission 3: secondary goal: not ticked \u2192 ticked",
          "Kills of T/F: 0 \u2192 2"}},
        {2, {"Rank: Flight Cadet \u2192 Captain", "Total score: 0 \u2192 1500", "and 2 more"}},
        {0, {"and 4 more"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::changeLines(before, after, c.most), c.lines) << c.most;
    }
    EXPECT_TRUE(pilot::changeLines(after, after, 5).empty());
}

// A change names the item and its text before and after, as the window shows them.
TEST(RecordItems, ChangesAreNamedWithTheTextsBeforeAndAfter) {
    PilotRecord before = PilotRecord::newPilot();
    before.setI32(Field::TotalScore, 99999);
    before.setU16(Field::Skill, 65535);
    before.setU8(Field::CombatCompleted, 2, 1, 7);
    PilotRecord after = PilotRecord::newPilot();
    after.setI32(Field::TotalScore, 23800);
    after.setU8(Field::BattleBonusGoals, 0x04, 3);
    std::vector<std::string> changes;
    for (const RecordItem& item : pilot::differences(before, after)) {
        changes.push_back(pilot::itemChange(before, after, item));
    }
    EXPECT_EQ(changes, (std::vector<std::string>{
                           "Total score 99999 \u2192 23800",
                           "Skill 65535 \u2192 0",
                           "Combat chamber, TIE Interceptor, mission 8: completed not ticked (2) "
                           "\u2192 not ticked",
                           "Battle 4, mission 3: bonus goal not ticked \u2192 ticked",
                       }));
}

}  // namespace
