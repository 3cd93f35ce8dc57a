// The number conversion and the number-field rule against an oracle written here from the
// rule's words, with no arithmetic that could overflow: the first byte picks the field's
// width, the rest is the field's text.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "NumberText.h"

namespace {

using pilot::FieldType;

[[noreturn]] void fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "%s for \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

bool allOf(std::string_view digits, bool (*digit)(char)) {
    for (const char c : digits) {
        if (!digit(c)) {
            return false;
        }
    }
    return !digits.empty();
}

bool isDecimal(char c) {
    return c >= '0' && c <= '9';
}

bool isHex(char c) {
    return isDecimal(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string_view withoutLeadingZeros(std::string_view digits) {
    while (digits.size() > 1 && digits.front() == '0') {
        digits.remove_prefix(1);
    }
    return digits;
}

// Whether a string of decimal digits, without leading zeros, is at most `limit`.
bool atMost(std::string_view digits, std::string_view limit) {
    return digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
}

// Leading blanks, then a sign and decimal digits within the signed 32-bit range, or "$"
// and hex digits of at most 32 significant bits, and nothing after.
std::optional<std::int64_t> oracleParse(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '$') {
        const std::string_view digits = text.substr(1);
        if (!allOf(digits, isHex) || withoutLeadingZeros(digits).size() > 8) {
            return std::nullopt;
        }
        const auto pattern = std::strtoull(std::string(digits).c_str(), nullptr, 16);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(pattern));
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (!allOf(text, isDecimal)) {
        return std::nullopt;
    }
    const std::string_view digits = withoutLeadingZeros(text);
    if (!atMost(digits, negative ? "2147483648" : "2147483647")) {
        return std::nullopt;
    }
    const long long magnitude = std::strtoll(std::string(digits).c_str(), nullptr, 10);
    return negative ? -magnitude : magnitude;
}

struct Width {
    FieldType type;
    std::uint32_t mask;
    std::uint32_t sentinel;  // the value that resets the field
    std::uint32_t reset;     // what it resets to
    bool isSigned;
};
constexpr Width kWidths[] = {
    {FieldType::I32, 0xFFFFFFFFu, 2147483647u, 0, true},
    {FieldType::U16, 0xFFFFu, 0xFFFFu, 0, false},
    {FieldType::U8, 0xFFu, 0xFFu, 2, false},
};

std::string decimal(std::uint32_t pattern, bool isSigned) {
    char text[16];
    if (isSigned) {
        std::snprintf(text, sizeof text, "%d", static_cast<std::int32_t>(pattern));
    } else {
        std::snprintf(text, sizeof text, "%u", pattern);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Width& width = kWidths[data[0] % 3];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto parsed = pilot::parseNumber(text);
    const auto expected = oracleParse(text);
    if (parsed.has_value() != expected.has_value() || (parsed && *parsed != *expected)) {
        fail("parseNumber differs from the rule", text);
    }

    // Text that does not convert counts as the sentinel; the sentinel resets the field.
    const std::uint32_t low =
        expected ? static_cast<std::uint32_t>(*expected) & width.mask : width.sentinel;
    const std::uint32_t stored = low == width.sentinel ? width.reset : low;
    const auto rule = pilot::applyNumberRule(text, width.type);
    if (rule.stored != stored) {
        fail("the number rule stores another value", text);
    }
    if (rule.text != decimal(stored, width.isSigned)) {
        fail("the number rule shows another text", text);
    }
    // The text it shows is in normal form: the rule run on it again changes nothing.
    const auto again = pilot::applyNumberRule(rule.text, width.type);
    if (again.stored != rule.stored || again.text != rule.text) {
        fail("the shown text is not in normal form", text);
    }
    return 0;
}
