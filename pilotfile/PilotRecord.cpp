#include "PilotRecord.h"

#include <cassert>

namespace pilot {

namespace {

std::optional<std::size_t> checkedOffset(Field field, FieldType expected, std::size_t row,
                                         std::size_t column) {
    assert(fieldInfo(field).type == expected && "accessor width does not match the field");
    if (fieldInfo(field).type != expected) {
        return std::nullopt;
    }
    const auto offset = elementOffset(field, row, column);
    assert(offset && "index outside the field");
    return offset;
}

}  // namespace

void PilotRecord::InitNewPilot() {
    m_bytes.fill(0);
    setU8(Field::Difficulty, 1);
    for (std::size_t slot = 0; slot < kCraftSlots; ++slot) {
        setU8(Field::TrainingLevel, 2, slot);
    }
}

PilotRecord PilotRecord::newPilot() {
    PilotRecord record;
    record.InitNewPilot();
    return record;
}

std::uint8_t PilotRecord::u8(Field field, std::size_t row, std::size_t column) const {
    const auto at = checkedOffset(field, FieldType::U8, row, column);
    return at ? m_bytes[*at] : 0;
}

std::uint16_t PilotRecord::u16(Field field, std::size_t row, std::size_t column) const {
    const auto at = checkedOffset(field, FieldType::U16, row, column);
    if (!at) {
        return 0;
    }
    return static_cast<std::uint16_t>(m_bytes[*at] | (m_bytes[*at + 1] << 8));
}

std::int32_t PilotRecord::i32(Field field, std::size_t row, std::size_t column) const {
    const auto at = checkedOffset(field, FieldType::I32, row, column);
    if (!at) {
        return 0;
    }
    const std::uint32_t pattern =
        std::uint32_t{m_bytes[*at]} | std::uint32_t{m_bytes[*at + 1]} << 8 |
        std::uint32_t{m_bytes[*at + 2]} << 16 | std::uint32_t{m_bytes[*at + 3]} << 24;
    return static_cast<std::int32_t>(pattern);
}

void PilotRecord::setU8(Field field, std::uint8_t value, std::size_t row, std::size_t column) {
    if (const auto at = checkedOffset(field, FieldType::U8, row, column)) {
        m_bytes[*at] = value;
    }
}

void PilotRecord::setU16(Field field, std::uint16_t value, std::size_t row, std::size_t column) {
    if (const auto at = checkedOffset(field, FieldType::U16, row, column)) {
        m_bytes[*at] = static_cast<std::uint8_t>(value);
        m_bytes[*at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
}

void PilotRecord::setI32(Field field, std::int32_t value, std::size_t row, std::size_t column) {
    if (const auto at = checkedOffset(field, FieldType::I32, row, column)) {
        const auto pattern = static_cast<std::uint32_t>(value);
        for (std::size_t i = 0; i < 4; ++i) {
            m_bytes[*at + i] = static_cast<std::uint8_t>(pattern >> (8 * i));
        }
    }
}

std::uint32_t PilotRecord::raw(Field field, std::size_t row, std::size_t column) const {
    switch (fieldInfo(field).type) {
        case FieldType::U8:
            return u8(field, row, column);
        case FieldType::U16:
            return u16(field, row, column);
        case FieldType::I32:
            return static_cast<std::uint32_t>(i32(field, row, column));
    }
    return 0;
}

void PilotRecord::setRaw(Field field, std::uint32_t pattern, std::size_t row, std::size_t column) {
    switch (fieldInfo(field).type) {
        case FieldType::U8:
            setU8(field, static_cast<std::uint8_t>(pattern), row, column);
            break;
        case FieldType::U16:
            setU16(field, static_cast<std::uint16_t>(pattern), row, column);
            break;
        case FieldType::I32:
            setI32(field, static_cast<std::int32_t>(pattern), row, column);
            break;
    }
}

std::int64_t PilotRecord::value(Field field, std::size_t row, std::size_t column) const {
    if (fieldInfo(field).type == FieldType::I32) {
        return i32(field, row, column);
    }
    return raw(field, row, column);
}

}  // namespace pilot
