#include "FieldTable.h"

#include <algorithm>

namespace pilot {

namespace {

// The table must tile the record exactly: each field starts where the previous one ends,
// the ids follow the rows, and the last field ends at byte 1928.
constexpr bool tableTilesRecord() {
    std::size_t next = 0;
    for (std::size_t i = 0; i < kFieldTable.size(); ++i) {
        if (static_cast<std::size_t>(kFieldTable[i].id) != i || kFieldTable[i].offset != next) {
            return false;
        }
        next += kFieldTable[i].size();
    }
    return next == kRecordSize;
}
static_assert(tableTilesRecord());

// A selector lists the entries of its field's enumeration, and only a selector has one; the
// boxes, radio buttons and selectors each edit one byte.
constexpr bool editingFitsFields() {
    for (const FieldInfo& info : kFieldTable) {
        const bool selector = info.editing == Editing::Selector;
        if (selector != !info.enumeration.empty()) {
            return false;
        }
        const bool byteControl = selector || info.editing == Editing::GoalBits ||
                                 info.editing == Editing::Flag ||
                                 info.editing == Editing::LastMission;
        if (byteControl && info.type != FieldType::U8) {
            return false;
        }
    }
    return true;
}
static_assert(editingFitsFields());

}  // namespace

std::optional<Field> findField(std::string_view name) {
    const auto* it = std::find_if(kFieldTable.begin(), kFieldTable.end(),
                                  [name](const FieldInfo& info) { return info.name == name; });
    if (it == kFieldTable.end()) {
        return std::nullopt;
    }
    return it->id;
}

std::optional<std::string_view> enumerationText(Field field, std::uint32_t value) {
    const auto names = fieldInfo(field).enumeration;
    if (value >= names.size()) {
        return std::nullopt;
    }
    return names[value];
}

}  // namespace pilot
