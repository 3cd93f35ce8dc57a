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

    // The little-endian bit pattern of `width` bytes (at most 4) from `offset`, zero-extended;
    // bytes beyond the record read as 0.
    [[nodiscard]] std::uint32_t patternAt(std::size_t offset, std::size_t width) const {
        std::uint32_t pattern = 0;
        for (std::size_t i = 0; i < width && i < 4 && offset + i < kRecordSize; ++i) {
            pattern |= std::uint32_t{m_bytes[offset + i]} << (8 * i);
        }
        return pattern;
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
    // The element as a number: signed for 32-bit fields, unsigned for the others.
    [[nodiscard]] std::int64_t value(Field field, std::size_t row = 0,
                                     std::size_t column = 0) const;

    friend bool operator==(const PilotRecord&, const PilotRecord&) = default;

private:
    Bytes m_bytes{};
};

}  // namespace pilot
