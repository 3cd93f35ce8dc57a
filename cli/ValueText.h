#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "FieldPath.h"

namespace pilot {
class PilotRecord;
}

namespace cli {

// The position of a text in a list of names, compared without regard to ASCII case
// ("captain" finds "Captain").
[[nodiscard]] std::optional<std::size_t> findName(std::span<const std::string_view> names,
                                                  std::string_view text);

// An element as show and diff print it: decimal, signed for 32-bit fields; an enumerated
// value with its text in brackets, "2 (Lieutenant)", or "9 (unknown)" outside its list.
[[nodiscard]] std::string valueText(const pilot::PilotRecord& record,
                                    const pilot::ElementPath& path);

// The bytes of a field in file order as lowercase hex digits, two per byte: how reserved
// stretches are shown.
[[nodiscard]] std::string hexBytes(const pilot::PilotRecord& record, pilot::Field field);

// The bit pattern an assignment stores into an element, or why it is refused; the field
// table says how the editor edits each field.
// - A selector's field takes an entry's text (any case) or its number; nothing else.
// - A number field stores what the number rule stores: cut to the width, the sentinel reset.
// - The other bytes (goal bits, last mission, completed flags) are set by the editor's
//   buttons and boxes, which know no sentinel: they take 0 to 255.
[[nodiscard]] std::variant<std::uint32_t, std::string> storedPattern(const pilot::ElementPath& path,
                                                                     std::string_view text);

// Why the number an assignment gives is not what storedPattern stores for it, or nothing
// when it is: "stores 4464, the low 16 bits of 70000", "stores 0: 65535 resets Skill".
[[nodiscard]] std::optional<std::string> storedOtherwise(const pilot::ElementPath& path,
                                                         std::string_view text,
                                                         std::uint32_t pattern);

}  // namespace cli
