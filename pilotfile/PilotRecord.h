#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "FieldTable.h"

namespace pilot {

// The whole pilot file: 1928 bytes, packed, little-endian. The in-memory image and the
// file are byte-identical; the typed accessors read and write single elements of it.
//
// An index outside a field's dimensions addresses nothing: reads give 0 and writes are
// dropped (and assert in debug builds, since callers keep their indices in range).
class PilotRecord {
public:
    using Bytes = std::array<std::uint8_t, kRecordSize>;

    PilotRecord() = default;  // all 1928 bytes zero
    explicit PilotRecord(const Bytes& bytes) : m_bytes(bytes) {}

    // The defaults of a freshly created pilot: all zero but Difficulty "Medium" and
    // every training level 2.
    void InitNewPilot();
    [[nodiscard]] static PilotRecord newPilot();

    [[nodiscard]] const Bytes& bytes() const { return m_bytes; }
    // One byte by its offset, whatever field holds it; an offset beyond the record is dropped.
    void setByte(std::size_t offset, std::uint8_t value) {
        if (offset < kRecordSize) {
            m_bytes[offset] = value;
        }
    }

    [[nodiscard]] std::uint8_t u8(Field field, std::size_t row = 0, std::size_t column = 0) const;
    [[nodiscard]] std::uint16_t u16(Field field, std::size_t row = 0, std::size_t column = 0) const;
    [[nodiscard]] std::int32_t i32(Field field, std::size_t row = 0, std::size_t column = 0) const;
    void setU8(Field field, std::uint8_t value, std::size_t row = 0, std::size_t column = 0);
    void setU16(Field field, std::uint16_t value, std::size_t row = 0, std::size_t column = 0);
    void setI32(Field field, std::int32_t value, std::size_t row = 0, std::size_t column = 0);

    // Width-independent access for table-driven code: the stored bit pattern zero-extended,
    // and a store of the low bits that fit the field's width.
    [[nodiscard]] std::uint32_t raw(Field field, std::size_t row = 0, std::size_t column = 0) const;
    void setRaw(Field field, std::uint32_t pattern, std::size_t row = 0, std::size_t column = 0);
    // The stored bit pattern of a field's element by its place in file order (row times the
    // columns, plus the column), or 0 past the field's last element: for the loops over
    // whole fields that run after every edit, read straight from the bytes.
    [[nodiscard]] std::uint32_t rawAt(const FieldInfo& info, std::size_t index) const {
        if (index >= info.elementCount()) {
            return 0;
        }
        const std::size_t width = byteWidth(info.type);
        const std::size_t at = info.offset + index * width;
        std::uint32_t pattern = 0;
        for (std::size_t i = width; i-- > 0;) {
            pattern = pattern << 8 | m_bytes[at + i];
        }
        return pattern;
    }
    // The element as a number: signed for 32-bit fields, unsigned for the others.
    [[nodiscard]] std::int64_t value(Field field, std::size_t row = 0,
                                     std::size_t column = 0) const;

    friend bool operator==(const PilotRecord&, const PilotRecord&) = default;

private:
    Bytes m_bytes{};
};

}  // namespace pilot
