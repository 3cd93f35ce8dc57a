// The three-way merge of two records that grew apart from a common base: item by item, with
// the totals following the merged scores and counters where both sides recomputed them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

#include "PilotRecord.h"
#include "RecordItems.h"
#include "RecordMerge.h"
#include "TestFiles.h"
#include "Totals.h"

namespace {

using pilot::Field;
using pilot::MergeChoice;
using pilot::MergeResult;
using pilot::PilotRecord;
using pilot::RecordItem;
using Kind = RecordItem::Kind;
using Edit = std::function<void(PilotRecord&)>;
using Edits = std::vector<Edit>;

// Every byte patterned, but mission scores 100, 200 and 300 in battle 1 and kill counters 5
// and 10, with the totals the editor stores for them (600 and 15), and secondary goals of
// missions 1 and 8 in battle 4.
PilotRecord basePilot() {
    PilotRecord record = testing_support::patternedRecord(11);
    pilot::forEachElement(Field::BattleMissionScore, [&](const pilot::ElementPath& path) {
        record.setI32(path.field, 0, path.row, path.column);
    });
    pilot::forEachElement(Field::ShipKills, [&](const pilot::ElementPath& path) {
        record.setU16(path.field, 0, path.row);
    });
    record.setI32(Field::BattleMissionScore, 100, 0, 0);
    record.setI32(Field::BattleMissionScore, 200, 0, 1);
    record.setI32(Field::BattleMissionScore, 300, 0, 2);
    record.setU16(Field::ShipKills, 5, 0);
    record.setU16(Field::ShipKills, 10, 4);
    record.setI32(Field::TotalScore, 600);
    record.setU16(Field::Kills, 15);
    record.setU8(Field::BattleSecondaryGoals, 0x81, 3);
    return record;
}

Edit set(Field field, std::uint32_t value, std::size_t row = 0, std::size_t column = 0) {
    return [=](PilotRecord& record) { record.setRaw(field, value, row, column); };
}
// A mission score as the editor and the game write it: the total recomputed.
Edit score(std::size_t battle, std::size_t mission, std::int32_t value) {
    return [=](PilotRecord& record) {
        record.setI32(Field::BattleMissionScore, value, battle, mission);
        record.setI32(Field::TotalScore, pilot::storedTotalScore(record));
    };
}
// A kill counter, the kills total recomputed.
Edit kills(std::size_t counter, std::uint16_t value) {
    return [=](PilotRecord& record) {
        record.setU16(Field::ShipKills, value, counter);
        record.setU16(Field::Kills, pilot::storedKillsTotal(record));
    };
}
Edit goal(std::size_t battle, unsigned bit, bool achieved) {
    return [=](PilotRecord& record) {
        pilot::setItemValue(record, {Kind::GoalBit, {Field::BattleSecondaryGoals, battle}, bit},
                            achieved ? 1 : 0);
    };
}
Edit byte(std::size_t offset, std::uint8_t value) {
    return [=](PilotRecord& record) { record.setByte(offset, value); };
}

PilotRecord edited(PilotRecord record, const Edits& edits) {
    for (const Edit& edit : edits) {
        edit(record);
    }
    return record;
}

RecordItem element(Field field, std::size_t row = 0, std::size_t column = 0) {
    return {Kind::Element, {field, row, column}};
}

std::vector<RecordItem> itemsOf(const MergeResult& result) {
    std::vector<RecordItem> items;
    for (const auto& conflict : result.conflicts) {
        items.push_back(conflict.item);
    }
    return items;
}

TEST(RecordMerge, MergesItemByItemAndListsWhatCollides) {
    struct Case {
        std::string_view name;
        Edits mine;
        Edits theirs;
        Edits merged;  // on the base; conflicts hold mine's value
        std::vector<RecordItem> conflicts;
    };
    const RecordItem mission = element(Field::BattleMissionScore, 0, 0);
    const RecordItem total = element(Field::TotalScore);
    const std::vector<Case> cases = {
        {"changed in mine only", {set(Field::Rank, 4)}, {}, {set(Field::Rank, 4)}, {}},
        {"changed in theirs only", {}, {set(Field::Rank, 4)}, {set(Field::Rank, 4)}, {}},
        {"changed alike", {set(Field::Rank, 4)}, {set(Field::Rank, 4)}, {set(Field::Rank, 4)}, {}},
        {"changed differently",
         {set(Field::Rank, 4), set(Field::Skill, 9)},
         {set(Field::Rank, 5), set(Field::Captures, 3)},
         {set(Field::Rank, 4), set(Field::Skill, 9), set(Field::Captures, 3)},
         {element(Field::Rank)}},
        {"elements of one array on their own",
         {set(Field::CombatScore, 7, 2, 1), set(Field::CombatScore, 1, 5, 5)},
         {set(Field::CombatScore, 8, 2, 2), set(Field::CombatScore, 2, 5, 5)},
         {set(Field::CombatScore, 7, 2, 1), set(Field::CombatScore, 8, 2, 2),
          set(Field::CombatScore, 1, 5, 5)},
         {element(Field::CombatScore, 5, 5)}},
        {"goal bits of one byte on their own, which never collide",
         {goal(3, 2, true), goal(3, 7, false), goal(3, 5, true)},
         {goal(3, 4, true), goal(3, 7, false), goal(3, 5, true)},
         {set(Field::BattleSecondaryGoals, 0x35, 3)},
         {}},
        {"reserved bytes one by one",
         {byte(12, 0xAA), byte(14, 0x01), byte(700, 0xCC)},
         {byte(13, 0xBB), byte(14, 0x01), byte(700, 0xDD)},
         {byte(12, 0xAA), byte(13, 0xBB), byte(14, 0x01), byte(700, 0xCC)},
         {{Kind::ReservedByte, {Field::Reserved657}, 0, 700}}},
        {"a mission flown and a score typed add up",
         {score(5, 3, 1200)},
         {score(0, 3, 400)},
         {score(5, 3, 1200), score(0, 3, 400), set(Field::TotalScore, 2200)},
         {}},
        {"kills counted on both sides add up",
         {kills(7, 3)},
         {kills(4, 12)},
         {kills(7, 3), kills(4, 12), set(Field::Kills, 20)},
         {}},
        {"two equal totals of different scores add up",
         {score(0, 0, 150)},
         {score(0, 1, 250)},
         {score(0, 0, 150), score(0, 1, 250), set(Field::TotalScore, 700)},
         {}},
        {"the total follows the colliding score, kept as mine",
         {score(0, 0, 150), score(0, 1, 210)},
         {score(0, 0, 180), score(0, 2, 330)},
         {score(0, 0, 150), score(0, 1, 210), score(0, 2, 330), set(Field::TotalScore, 690)},
         {mission}},
        {"a total changed on one side only is that side's",
         {score(5, 3, 1200)},
         {set(Field::BattleMissionScore, 400, 0, 3)},
         {score(5, 3, 1200), set(Field::BattleMissionScore, 400, 0, 3)},
         {}},
        {"a total set by hand on one side only is that side's",
         {set(Field::BattleMissionScore, 50, 1, 1)},
         {set(Field::TotalScore, 5000)},
         {set(Field::BattleMissionScore, 50, 1, 1), set(Field::TotalScore, 5000)},
         {}},
        {"a total set by hand in theirs collides with a recomputed one",
         {score(5, 3, 1200)},
         {set(Field::TotalScore, 9999)},
         {score(5, 3, 1200)},
         {total}},
        {"a total set by hand in mine collides with a recomputed one",
         {set(Field::TotalScore, 9999)},
         {score(0, 3, 400)},
         {set(Field::BattleMissionScore, 400, 0, 3), set(Field::TotalScore, 9999)},
         {total}},
        {"totals set by hand alike",
         {set(Field::TotalScore, 7777), set(Field::Kills, 7)},
         {set(Field::TotalScore, 7777), set(Field::Kills, 7)},
         {set(Field::TotalScore, 7777), set(Field::Kills, 7)},
         {}},
        {"totals set by hand differently",
         {set(Field::TotalScore, 7777), kills(0, 6)},
         {set(Field::TotalScore, 8888), set(Field::Kills, 99)},
         {set(Field::TotalScore, 7777), kills(0, 6)},
         {total, element(Field::Kills)}},
        {"the merged scores' sum wraps",
         {score(10, 0, 2147483000)},
         {score(11, 0, 1000)},
         {score(10, 0, 2147483000), set(Field::BattleMissionScore, 1000, 11, 0),
          set(Field::TotalScore, static_cast<std::uint32_t>(-2147482696))},
         {}},
        {"the merged scores' sum is the sentinel, stored as 0",
         {score(10, 0, 2147483000)},
         {score(11, 0, 47)},
         {score(10, 0, 2147483000), set(Field::BattleMissionScore, 47, 11, 0),
          set(Field::TotalScore, 0)},
         {}},
        {"a side whose sum is the sentinel stores 0 and still follows its scores",
         {score(10, 0, 2147483047)},
         {score(11, 0, 100)},
         {score(10, 0, 2147483047), set(Field::BattleMissionScore, 100, 11, 0),
          set(Field::TotalScore, static_cast<std::uint32_t>(-2147483549))},
         {}},
        {"the merged counters' sum is the sentinel, stored as 0",
         {kills(20, 65000)},
         {kills(21, 520)},
         {kills(20, 65000), set(Field::ShipKills, 520, 21), set(Field::Kills, 0)},
         {}},
        {"the merged counters' sum wraps",
         {kills(20, 65000)},
         {kills(21, 600)},
         {kills(20, 65000), set(Field::ShipKills, 600, 21), set(Field::Kills, 79)},
         {}},
    };
    const PilotRecord base = basePilot();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PilotRecord mine = edited(base, c.mine);
        const PilotRecord theirs = edited(base, c.theirs);
        const MergeResult result = pilot::mergeRecords(base, mine, theirs);
        const PilotRecord expected = edited(base, c.merged);
        for (const RecordItem& item : pilot::differences(result.merged, expected)) {
            ADD_FAILURE() << pilot::itemRecordName(item) << ": "
                          << pilot::itemText(result.merged, item) << ", expected "
                          << pilot::itemText(expected, item);
        }
        EXPECT_EQ(itemsOf(result), c.conflicts);
        for (const auto& conflict : result.conflicts) {
            EXPECT_EQ(conflict.base, pilot::itemValue(base, conflict.item));
            EXPECT_EQ(conflict.mine, pilot::itemValue(mine, conflict.item));
            EXPECT_EQ(conflict.theirs, pilot::itemValue(theirs, conflict.item));
        }
    }
}

// Each conflict is decided on its own; a total that follows the scores follows the decided
// ones.
TEST(RecordMerge, ResolvesEachConflictByItsChoice) {
    const PilotRecord base = basePilot();
    const PilotRecord mine =
        edited(base, {set(Field::Rank, 4), score(0, 0, 150), byte(700, 0xCC), kills(3, 2)});
    const PilotRecord theirs = edited(
        base, {set(Field::Rank, 5), score(0, 0, 180), byte(700, 0xDD), set(Field::Kills, 40)});
    constexpr auto kMine = MergeChoice::KeepMine;
    constexpr auto kTheirs = MergeChoice::TakeTheirs;
    struct Case {
        std::vector<MergeChoice> choices;  // Rank, byte 700, BattleMissionScore[0][0], Kills
        Edits resolved;
    };
    const Edits allMine = {set(Field::Rank, 4), score(0, 0, 150), byte(700, 0xCC), kills(3, 2)};
    const std::vector<Case> cases = {
        {{kMine, kMine, kMine, kMine}, allMine},
        {{kTheirs, kTheirs, kTheirs, kTheirs},
         {set(Field::Rank, 5), score(0, 0, 180), byte(700, 0xDD), set(Field::ShipKills, 2, 3),
          set(Field::Kills, 40)}},
        {{kMine, kMine, kTheirs, kMine},
         {set(Field::Rank, 4), score(0, 0, 180), byte(700, 0xCC), kills(3, 2)}},
        {{kTheirs, kTheirs, kMine, kTheirs},
         {set(Field::Rank, 5), score(0, 0, 150), byte(700, 0xDD), set(Field::ShipKills, 2, 3),
          set(Field::Kills, 40)}},
    };
    MergeResult result = pilot::mergeRecords(base, mine, theirs);
    ASSERT_EQ(result.conflicts.size(), 4u);
    EXPECT_EQ(result.recomputedTotals, std::vector<Field>{Field::TotalScore});
    EXPECT_EQ(result.merged, edited(base, allMine));
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < c.choices.size(); ++i) {
            result.conflicts[i].choice = c.choices[i];
        }
        EXPECT_EQ(pilot::resolve(result), edited(base, c.resolved));
    }
    pilot::chooseForAll(result, kTheirs);
    EXPECT_EQ(pilot::resolve(result), edited(base, cases[1].resolved));
    pilot::chooseForAll(result, kMine);
    EXPECT_EQ(pilot::resolve(result), result.merged);
}

// One side: a few of the hot items changed to random values (sometimes to what the other side
// has), and each total recomputed, set by hand or left.
PilotRecord randomSide(const PilotRecord& base, const PilotRecord* other,
                       const std::vector<RecordItem>& hot, std::mt19937& random) {
    PilotRecord side = base;
    for (const RecordItem& item : hot) {
        switch (random() % 4) {
            case 0:
                pilot::setItemValue(side, item, static_cast<std::uint32_t>(random()));
                break;
            case 1:
                if (other != nullptr) {
                    pilot::setItemValue(side, item, pilot::itemValue(*other, item));
                }
                break;
            default:
                break;
        }
    }
    for (const Field total : {Field::TotalScore, Field::Kills}) {
        switch (random() % 3) {
            case 0:
                side.setRaw(total, pilot::storedTotal(side, total));
                break;
            case 1:
                side.setRaw(total, static_cast<std::uint32_t>(random() % 3));
                break;
            default:
                break;
        }
    }
    return side;
}

// The value the merge takes for an item outside the conflicts and the recomputed totals.
std::uint32_t mergedValue(std::uint32_t base, std::uint32_t mine, std::uint32_t theirs) {
    return mine == base ? theirs : mine;
}

// Thousands of random triples, whose sides change the same few items often: a side merged
// with an unchanged other side is itself, two equal sides are themselves, every item takes
// the changed side's value, and swapping the sides swaps mine and theirs in every conflict.
TEST(RecordMerge, HoldsItsIdentitiesOverRandomTriples) {
    std::vector<RecordItem> items;
    pilot::forEachItem([&](const RecordItem& item) { items.push_back(item); });
    std::mt19937 random(19);
    int conflicting = 0;  // triples with a conflict, and with a total that follows the parts
    int recomputing = 0;
    for (std::uint32_t seed = 0; seed < 3000; ++seed) {
        SCOPED_TRACE(seed);
        const PilotRecord base = testing_support::patternedRecord(seed);
        std::vector<RecordItem> hot;
        for (int i = 0; i < 12; ++i) {
            hot.push_back(items[random() % items.size()]);
        }
        hot.push_back(element(Field::BattleMissionScore, random() % 20, random() % 8));
        hot.push_back(element(Field::ShipKills, random() % 70));
        const PilotRecord mine = randomSide(base, nullptr, hot, random);
        const PilotRecord theirs = randomSide(base, &mine, hot, random);

        for (const PilotRecord* side : {&mine, &theirs}) {
            using Sides = std::pair<const PilotRecord*, const PilotRecord*>;
            for (const auto& [a, b] : {Sides{side, &base}, Sides{&base, side}, Sides{side, side}}) {
                const MergeResult alone = pilot::mergeRecords(base, *a, *b);
                ASSERT_EQ(alone.merged, *side);
                ASSERT_TRUE(alone.conflicts.empty());
            }
        }

        MergeResult forward = pilot::mergeRecords(base, mine, theirs);
        MergeResult backward = pilot::mergeRecords(base, theirs, mine);
        conflicting += forward.conflicts.empty() ? 0 : 1;
        recomputing += forward.recomputedTotals.empty() ? 0 : 1;
        ASSERT_EQ(forward.conflicts.size(), backward.conflicts.size());
        for (std::size_t i = 0; i < forward.conflicts.size(); ++i) {
            const auto& there = forward.conflicts[i];
            const auto& back = backward.conflicts[i];
            EXPECT_EQ(there.item, back.item);
            EXPECT_EQ(there.base, back.base);
            EXPECT_EQ(there.mine, back.theirs);
            EXPECT_EQ(there.theirs, back.mine);
            EXPECT_NE(there.mine, there.base);
            EXPECT_NE(there.theirs, there.base);
            EXPECT_NE(there.mine, there.theirs);
        }
        EXPECT_EQ(forward.recomputedTotals, backward.recomputedTotals);
        pilot::chooseForAll(forward, MergeChoice::TakeTheirs);
        pilot::chooseForAll(backward, MergeChoice::TakeTheirs);
        ASSERT_EQ(pilot::resolve(forward), backward.merged);
        ASSERT_EQ(pilot::resolve(backward), forward.merged);

        std::size_t conflict = 0;
        for (const RecordItem& item : items) {
            const auto value = pilot::itemValue(forward.merged, item);
            if (conflict < forward.conflicts.size() && forward.conflicts[conflict].item == item) {
                EXPECT_EQ(value, pilot::itemValue(mine, item));
                ++conflict;
                continue;
            }
            if (item.kind == Kind::Element &&
                std::ranges::find(forward.recomputedTotals, item.path.field) !=
                    forward.recomputedTotals.end()) {
                EXPECT_EQ(value, pilot::storedTotal(forward.merged, item.path.field));
                continue;
            }
            EXPECT_EQ(value, mergedValue(pilot::itemValue(base, item), pilot::itemValue(mine, item),
                                         pilot::itemValue(theirs, item)))
                << pilot::itemRecordName(item);
        }
        EXPECT_EQ(conflict, forward.conflicts.size()) << "conflicts out of file order";
    }
    // The triples reach conflicts and totals that follow the parts often.
    EXPECT_GT(conflicting, 1000);
    EXPECT_GT(recomputing, 300);
}

}  // namespace
