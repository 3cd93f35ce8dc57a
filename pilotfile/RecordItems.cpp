#include "RecordItems.h"

#include <algorithm>

#include "ElementNames.h"
#include "NumberText.h"
#include "PilotRecord.h"

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

std::string elementText(const PilotRecord& record, const ElementPath& path) {
    const FieldInfo& info = fieldInfo(path.field);
    const std::uint32_t value = record.raw(path.field, path.row, path.column);
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

}  // namespace

std::uint32_t itemValue(const PilotRecord& record, const RecordItem& item) {
    switch (item.kind) {
        case RecordItem::Kind::Element:
            return record.raw(item.path.field, item.path.row, item.path.column);
        case RecordItem::Kind::GoalBit:
            return (record.u8(item.path.field, item.path.row) >> item.bit) & 1u;
        case RecordItem::Kind::ReservedByte:
            return item.offset < kRecordSize ? record.bytes()[item.offset] : 0;
    }
    return 0;
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
    switch (item.kind) {
        case RecordItem::Kind::Element:
            return elementText(record, item.path);
        case RecordItem::Kind::GoalBit:
            return tickText(itemValue(record, item) != 0);
        case RecordItem::Kind::ReservedByte:
            return hexByte(itemValue(record, item));
    }
    return {};
}

std::string itemChange(const PilotRecord& before, const PilotRecord& after,
                       const RecordItem& item) {
    return itemTitle(item) + " " + itemText(before, item) + " \u2192 " + itemText(after, item);
}

// Whole fields are compared first: most of them are alike.
std::vector<RecordItem> differences(const PilotRecord& a, const PilotRecord& b) {
    std::vector<RecordItem> found;
    for (const FieldInfo& info : kFieldTable) {
        const auto* first = a.bytes().data() + info.offset;
        if (std::equal(first, first + info.size(), b.bytes().data() + info.offset)) {
            continue;
        }
        forEachItemOf(info, [&](const RecordItem& item) {
            if (itemValue(a, item) != itemValue(b, item)) {
                found.push_back(item);
            }
        });
    }
    return found;
}

}  // namespace pilot
