#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FieldTable.h"

namespace pilot {

// Converts the text of a number field: leading blanks are skipped, then either an optional
// sign and decimal digits, or "$" and hexadecimal digits taken as a 32-bit pattern, up to
// the end of the text. Anything else (empty text, a trailing blank, a value outside the
// signed 32-bit range, more than 32 bits of hex) does not convert.
[[nodiscard]] std::optional<std::int32_t> parseNumber(std::string_view text);

// Whether the text is only the start of a number that typing may go on to complete: one
// or more blanks, or a lone "-", "+" or "$" after optional blanks. Empty text is not.
[[nodiscard]] bool isNumberStart(std::string_view text);

// Whether a number typed key by key stays as typed while the field has the focus, since
// the text the rule would show breaks the typing: a hexadecimal number ("$F" on its way to
// "$FF"), and a number that the rule resets at the width ("-1" on its way to "-12", "65535"
// on its way to "655350", "$FFFF" at 16 bits). Any other text, and a pasted one, takes the
// rule's text at once.
[[nodiscard]] bool staysWhileTyped(std::string_view text, FieldType width);

// What the number-field rule makes of a field's text: the bit pattern stored in the slot
// and the text the field shows afterwards.
struct NumberRuleResult {
    std::uint32_t stored;  // already cut to the slot's width
    std::string text;
};

// The one edit rule of every numeric field. Text that does not convert counts as the
// sentinel; the sentinel at the slot's width (2147483647, any low-16 65535, any low-8 255)
// resets the field: to "0" for 32- and 16-bit slots, to "2" for the 8-bit training level.
// Otherwise the slot keeps the low bits and the text shows them, signed for 32-bit slots
// and unsigned for the narrower ones.
[[nodiscard]] NumberRuleResult applyNumberRule(std::string_view text, FieldType width);

// The sentinel of the number-field rule at a width, which resets the field: 2147483647 at
// 32 bits, 65535 at 16 bits, 255 at 8 bits.
[[nodiscard]] std::uint32_t sentinelOf(FieldType width);

// What the number-field rule stores for a value given as a bit pattern (the rule's result for
// the pattern's own text): the low bits at the width, or the reset value for the sentinel.
[[nodiscard]] std::uint32_t storedByNumberRule(std::uint32_t pattern, FieldType width);

// The decimal text of a stored pattern at a width: signed for 32 bits, unsigned otherwise.
[[nodiscard]] std::string numberText(std::uint32_t pattern, FieldType width);

}  // namespace pilot
