#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "FieldPath.h"
#include "FieldTable.h"

// The smallest parts of the record that are compared, merged and named on their own: each
// element of a field, each bit of a goal byte (one mission's goal) and each byte of a
// reserved stretch. Together they cover all 1928 bytes, each byte and bit exactly once.
namespace pilot {

class PilotRecord;

struct RecordItem {
    enum class Kind : std::uint8_t { Element, GoalBit, ReservedByte };

    Kind kind = Kind::Element;
    ElementPath path;        // the element; for a reserved byte, the stretch's field
    unsigned bit = 0;        // GoalBit: the bit of mission bit + 1
    std::size_t offset = 0;  // ReservedByte: the byte's offset in the record

    friend bool operator==(const RecordItem&, const RecordItem&) = default;
};

// Where an item lies in the record: `size` bytes from `offset`, and of them the bits in
// `mask` (all of them but for a goal bit, which is one bit of its byte).
struct ItemPlace {
    std::size_t offset = 0;
    std::size_t size = 0;
    std::uint8_t mask = 0xFF;
};
[[nodiscard]] ItemPlace itemPlace(const RecordItem& item);

// The item's value in the record: an element's stored bit pattern, a goal's 0 or 1, a
// reserved byte.
[[nodiscard]] std::uint32_t itemValue(const PilotRecord& record, const RecordItem& item);
// Stores a value as itemValue gives it, touching nothing outside the item.
void setItemValue(PilotRecord& record, const RecordItem& item, std::uint32_t value);

// "Battle 4, mission 3: score", "Battle 4, mission 3: secondary goal", "Reserved byte 12".
[[nodiscard]] std::string itemTitle(const RecordItem& item);
// The record's name of the item: "BattleMissionScore[3][2]", "BattleSecondaryGoals[3] bit 2",
// "Reserved11".
[[nodiscard]] std::string itemRecordName(const RecordItem& item);
// The value as the window shows it: a selector's entry ("Captain", or "9 (not in the list)"),
// a number as the field shows it, a box or goal as "ticked" or "not ticked", the last
// completed mission as "Mission 3" or "No mission finished", a reserved byte in hex ("0x1f").
[[nodiscard]] std::string itemText(const PilotRecord& record, const RecordItem& item);
// The same text for a value as itemValue gives it, whichever record holds it.
[[nodiscard]] std::string itemValueText(const RecordItem& item, std::uint32_t value);

// A change of the item from one record to another, as the window names it:
// "Total score 99999 → 23800", "Skill 65535 → 0".
[[nodiscard]] std::string itemChange(const PilotRecord& before, const PilotRecord& after,
                                     const RecordItem& item);

// Visits the items of one field, in file order.
template <typename Visit>
void forEachItemOf(const FieldInfo& info, Visit&& visit) {
    if (info.reserved()) {
        for (std::size_t at = info.offset; at < info.offset + info.size(); ++at) {
            visit(RecordItem{RecordItem::Kind::ReservedByte, ElementPath{info.id}, 0, at});
        }
        return;
    }
    forEachElement(info.id, [&](const ElementPath& path) {
        if (info.editing != Editing::GoalBits) {
            visit(RecordItem{RecordItem::Kind::Element, path, 0, 0});
            return;
        }
        for (unsigned bit = 0; bit < 8; ++bit) {
            visit(RecordItem{RecordItem::Kind::GoalBit, path, bit, 0});
        }
    });
}

// Every item of the record, in file order.
template <typename Visit>
void forEachItem(Visit&& visit) {
    for (const FieldInfo& info : kFieldTable) {
        forEachItemOf(info, visit);
    }
}

// Whether two records hold the same bytes in a field.
[[nodiscard]] bool sameField(const PilotRecord& a, const PilotRecord& b, const FieldInfo& info);

// The items in which two records differ, in file order.
[[nodiscard]] std::vector<RecordItem> differences(const PilotRecord& a, const PilotRecord& b);
// How many items differ: differences(a, b).size() without making the list.
[[nodiscard]] std::size_t differenceCount(const PilotRecord& a, const PilotRecord& b);

// Copies the items' values from `from` into `into`. The totals follow as the editor stores
// them: a mission score taken recomputes TotalScore and a kill counter Kills, unless the
// total itself is taken too.
void takeItems(PilotRecord& into, const PilotRecord& from, std::span<const RecordItem> items);

// What changes from `before` to `after`, one line per item as a player reads it ("Total
// score: 1200 → 1500"), at most `most` of them and then "and N more".
[[nodiscard]] std::vector<std::string> changeLines(const PilotRecord& before,
                                                   const PilotRecord& after, std::size_t most);

}  // namespace pilot
