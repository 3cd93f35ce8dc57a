#include "RecordItems.h"

#include <algorithm>
#include <cstring>

#include "ElementNames.h"
#include "NumberText.h"
#include "PilotRecord.h"
#include "Totals.h"

namespace pilot {

namespace {

std::string hexByte(std::uint32_t byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    return {'0', 'x', kDigits[(byte >> 4) & 0xF], kDigits[byte & 0xF]};
}

std::string tickText(bool ticked) {
    return ticked ? "ticked" : "not ticked";
}

std::string outsideList(std::uint32_t value) {
    return std::to_string(value) + " (not in the list)";
}

std::string elementText(const ElementPath& path, std::uint32_t value) {
    const FieldInfo& info = fieldInfo(path.field);
    switch (info.editing) {
        case Editing::Selector: {
            const auto text = enumerationText(path.field, value);
            return text ? std::string(*text) : outsideList(value);
        }
        case Editing::Flag:
            // The box shows every value but 1 unticked.
            return value <= 1 ? tickText(value == 1)
                              : tickText(false) + " (" + std::to_string(value) + ")";
        case Editing::LastMission:
            if (value == 0) {
                return "No mission finished";
            }
            return value <= kMissions ? "Mission " + std::to_string(value) : outsideList(value);
        case Editing::NumberRule:
        case Editing::GoalBits:
        case Editing::Reserved:
            break;
    }
    return numberText(value, info.type);
}

// Visits the items in which two records differ, in file order. Whole fields are compared
// first: most of them are alike. The elements of a field that differs are then compared as
// bytes, which is what their values are, in the order forEachItemOf visits them.
template <typename Visit>
void forEachDifference(const PilotRecord& a, const PilotRecord& b, Visit&& visit) {
    const std::uint8_t* first = a.bytes().data();
    const std::uint8_t* second = b.bytes().data();
    for (const FieldInfo& info : kFieldTable) {
        if (sameField(a, b, info)) {
            continue;
        }
        if (info.reserved()) {
            for (std::size_t at = info.offset; at < info.offset + info.size(); ++at) {
                if (first[at] != second[at]) {
                    visit(RecordItem{RecordItem::Kind::ReservedByte, {info.id}, 0, at});
                }
            }
            continue;
        }
        const std::size_t width = byteWidth(info.type);
        std::size_t at = info.offset;
        for (std::size_t row = 0; row < info.rows; ++row) {
            for (std::size_t column = 0; column < info.columns; ++column, at += width) {
                if (std::memcmp(first + at, second + at, width) == 0) {
                    continue;
                }
                const ElementPath path{info.id, row, column};
                if (info.editing != Editing::GoalBits) {
                    visit(RecordItem{RecordItem::Kind::Element, path, 0, 0});
                    continue;
                }
                const unsigned changed = first[at] ^ second[at];
                for (unsigned bit = 0; bit < 8; ++bit) {
                    if (((changed >> bit) & 1u) != 0) {
                        visit(RecordItem{RecordItem::Kind::GoalBit, path, bit, 0});
                    }
                }
            }
        }
    }
}

}  // namespace

ItemPlace itemPlace(const RecordItem& item) {
    switch (item.kind) {
        case RecordItem::Kind::Element: {
            const auto offset = elementOffset(item.path.field, item.path.row, item.path.column);
            return {offset.value_or(0), offset ? byteWidth(fieldInfo(item.path.field).type) : 0};
        }
        case RecordItem::Kind::GoalBit: {
            const auto offset = elementOffset(item.path.field, item.path.row);
            return {offset.value_or(0), offset ? 1u : 0u,
                    static_cast<std::uint8_t>(1u << (item.bit & 7u))};
        }
        case RecordItem::Kind::ReservedByte:
            return {item.offset, item.offset < kRecordSize ? 1u : 0u};
    }
    return {};
}

std::uint32_t itemValue(const PilotRecord& record, const RecordItem& item) {
    const ItemPlace place = itemPlace(item);
    const std::uint32_t pattern = record.patternAt(place.offset, place.size);
    return item.kind == RecordItem::Kind::GoalBit ? ((pattern & place.mask) != 0 ? 1u : 0u)
                                                  : pattern;
}

void setItemValue(PilotRecord& record, const RecordItem& item, std::uint32_t value) {
    switch (item.kind) {
        case RecordItem::Kind::Element:
            record.setRaw(item.path.field, value, item.path.row, item.path.column);
            return;
        case RecordItem::Kind::GoalBit: {
            const auto mask = static_cast<std::uint8_t>(1u << (item.bit & 7u));
            const std::uint8_t bits = record.u8(item.path.field, item.path.row);
            record.setU8(item.path.field,
                         static_cast<std::uint8_t>((value & 1u) != 0 ? bits | mask : bits & ~mask),
                         item.path.row);
            return;
        }
        case RecordItem::Kind::ReservedByte:
            record.setByte(item.offset, static_cast<std::uint8_t>(value));
            return;
    }
}

std::string itemTitle(const RecordItem& item) {
    switch (item.kind) {
        case RecordItem::Kind::Element:
            return elementTitle(item.path);
        case RecordItem::Kind::GoalBit:
            return goalBitTitle(item.path, item.bit);
        case RecordItem::Kind::ReservedByte:
            return "Reserved byte " + std::to_string(item.offset);
    }
    return {};
}

std::string itemRecordName(const RecordItem& item) {
    switch (item.kind) {
        case RecordItem::Kind::Element:
            return pathName(item.path);
        case RecordItem::Kind::GoalBit:
            return pathName(item.path) + " bit " + std::to_string(item.bit);
        case RecordItem::Kind::ReservedByte:
            return std::string(fieldInfo(item.path.field).name);
    }
    return {};
}

std::string itemText(const PilotRecord& record, const RecordItem& item) {
    return itemValueText(item, itemValue(record, item));
}

std::string itemValueText(const RecordItem& item, std::uint32_t value) {
    switch (item.kind) {
        case RecordItem::Kind::Element:
            return elementText(item.path, value);
        case RecordItem::Kind::GoalBit:
            return tickText(value != 0);
        case RecordItem::Kind::ReservedByte:
            return hexByte(value);
    }
    return {};
}

std::string itemChange(const PilotRecord& before, const PilotRecord& after,
                       const RecordItem& item) {
    return itemTitle(item) + " " + itemText(before, item) + " \u2192 " + itemText(after, item);
}

bool sameField(const PilotRecord& a, const PilotRecord& b, const FieldInfo& info) {
    const auto* first = a.bytes().data() + info.offset;
    return std::equal(first, first + info.size(), b.bytes().data() + info.offset);
}

// Counted first, so that the list takes its memory at once: two records of random bytes
// differ in about 1100 items.
std::vector<RecordItem> differences(const PilotRecord& a, const PilotRecord& b) {
    std::vector<RecordItem> found;
    found.reserve(differenceCount(a, b));
    forEachDifference(a, b, [&](const RecordItem& item) { found.push_back(item); });
    return found;
}

std::size_t differenceCount(const PilotRecord& a, const PilotRecord& b) {
    std::size_t count = 0;
    forEachDifference(a, b, [&](const RecordItem&) { ++count; });
    return count;
}

void takeItems(PilotRecord& into, const PilotRecord& from, std::span<const RecordItem> items) {
    const auto taken = [&](Field field) {
        return std::any_of(items.begin(), items.end(), [field](const RecordItem& item) {
            return item.path.field == field && item.kind != RecordItem::Kind::ReservedByte;
        });
    };
    for (const RecordItem& item : items) {
        setItemValue(into, item, itemValue(from, item));
    }
    if (taken(Field::BattleMissionScore) && !taken(Field::TotalScore)) {
        into.setI32(Field::TotalScore, storedTotalScore(into));
    }
    if (taken(Field::ShipKills) && !taken(Field::Kills)) {
        into.setU16(Field::Kills, storedKillsTotal(into));
    }
}

std::vector<std::string> changeLines(const PilotRecord& before, const PilotRecord& after,
                                     std::size_t most) {
    const std::vector<RecordItem> changed = differences(before, after);
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < changed.size() && i < most; ++i) {
        lines.push_back(itemTitle(changed[i]) + ": " + itemText(before, changed[i]) + " \u2192 " +
                        itemText(after, changed[i]));
    }
    if (changed.size() > most) {
        lines.push_back("and " + std::to_string(changed.size() - most) + " more");
    }
    return lines;
}

}  // namespace pilot
