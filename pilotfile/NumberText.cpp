#include "NumberText.h"

#include <limits>

namespace pilot {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

std::optional<std::int32_t> parseHex(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (!isHexDigit(c)) {
            return std::nullopt;
        }
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> parseDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (!isDecimalDigit(c)) {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

constexpr std::uint32_t widthMask(FieldType width) {
    switch (width) {
        case FieldType::U8:
            return 0xFFu;
        case FieldType::U16:
            return 0xFFFFu;
        case FieldType::I32:
            return 0xFFFFFFFFu;
    }
    return 0;
}

}  // namespace

// The sentinel at each width is its largest value with the sign bit clear for 32 bits and
// all ones for the unsigned widths.
std::uint32_t sentinelOf(FieldType width) {
    return width == FieldType::I32 ? 0x7FFFFFFFu : widthMask(width);
}

std::optional<std::int32_t> parseNumber(std::string_view text) {
    const auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return std::nullopt;
    }
    text.remove_prefix(start);
    if (text.front() == '$') {
        return parseHex(text.substr(1));
    }
    return parseDecimal(text);
}

bool isNumberStart(std::string_view text) {
    const auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return !text.empty();
    }
    text.remove_prefix(start);
    return text == "-" || text == "+" || text == "$";
}

bool staysWhileTyped(std::string_view text, FieldType width) {
    const auto parsed = parseNumber(text);
    if (!parsed) {
        return false;
    }
    const bool hex = text[text.find_first_not_of(' ')] == '$';
    return hex || (static_cast<std::uint32_t>(*parsed) & widthMask(width)) == sentinelOf(width);
}

std::string numberText(std::uint32_t pattern, FieldType width) {
    if (width == FieldType::I32) {
        return std::to_string(static_cast<std::int32_t>(pattern));
    }
    return std::to_string(pattern & widthMask(width));
}

std::uint32_t storedByNumberRule(std::uint32_t pattern, FieldType width) {
    const std::uint32_t stored = pattern & widthMask(width);
    if (stored == sentinelOf(width)) {
        return width == FieldType::U8 ? 2 : 0;
    }
    return stored;
}

NumberRuleResult applyNumberRule(std::string_view text, FieldType width) {
    const auto parsed = parseNumber(text);
    const std::uint32_t stored =
        storedByNumberRule(parsed ? static_cast<std::uint32_t>(*parsed) : sentinelOf(width), width);
    return {stored, numberText(stored, width)};
}

}  // namespace pilot
