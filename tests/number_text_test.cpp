#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "NumberText.h"

namespace {

using pilot::FieldType;

TEST(NumberConversion, TextsConvertOrNot) {
    struct Case {
        std::string_view text;
        std::optional<std::int32_t> value;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"123", 123},
        {"   42", 42},
        {"+5", 5},
        {"-17", -17},
        {"007", 7},
        {"-0000000000000000012", -12},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$1F", 31},
        {"$1f", 31},
        {"  $7fffffff", 2147483647},
        {"$ffffffff", -1},
        {"$80000000", -2147483647 - 1},
        {"$000000000001", 1},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"12 ", std::nullopt},
        {"1 2", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"-$1", std::nullopt},
        {"$-1", std::nullopt},
        {"+-1", std::nullopt},
        {"$1g", std::nullopt},
        {"0x10", std::nullopt},
        {"1e3", std::nullopt},
        {"\t5", std::nullopt},
        {"- 5", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::parseNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

// The texts typing passes through on its way to a number; nothing else counts, and none
// of them converts.
TEST(NumberConversion, StartsOfNumbersAreTold) {
    const struct {
        std::string_view text;
        bool start;
    } cases[] = {
        {"-", true},   {"+", true},   {"$", true},   {"  -", true},  {" ", true},
        {"   ", true}, {"", false},   {"-5", false}, {"$F", false},  {"-$", false},
        {"$-", false}, {"--", false}, {"- ", false}, {"\t-", false}, {"0", false},
        {"a", false},  {"-a", false}, {"+-", false}, {" $ ", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pilot::isNumberStart(c.text), c.start) << '"' << c.text << '"';
        if (c.start) {
            EXPECT_EQ(pilot::parseNumber(c.text), std::nullopt) << '"' << c.text << '"';
        }
    }
}

// The numbers that typing keeps as typed: every hexadecimal number, and every number the
// rule resets at the width, so that typing may go on past it.
TEST(NumberConversion, NumbersThatStayWhileTypedAreTold) {
    const struct {
        std::string_view text;
        FieldType width;
        bool stays;
    } cases[] = {
        {"$F", FieldType::I32, true},        {" $ff", FieldType::U16, true},
        {"$0", FieldType::U8, true},         {"$FFFFFFFF", FieldType::I32, true},
        {"$7FFFFFFF", FieldType::I32, true}, {"$FFFF", FieldType::U16, true},
        {"$1FFFF", FieldType::U16, true},    {"$FFFE", FieldType::U16, true},
        {"$FF", FieldType::U8, true},        {"$1FF", FieldType::U8, true},
        {"$100", FieldType::U8, true},       {"$100000000", FieldType::I32, false},
        {"-1", FieldType::U16, true},        {" -1", FieldType::U16, true},
        {"65535", FieldType::U16, true},     {"131071", FieldType::U16, true},
        {"-1", FieldType::U8, true},         {"255", FieldType::U8, true},
        {"511", FieldType::U8, true},        {"2147483647", FieldType::I32, true},
        {"-1", FieldType::I32, false},       {"-12", FieldType::U16, false},
        {"65534", FieldType::U16, false},    {"254", FieldType::U8, false},
        {"15", FieldType::I32, false},       {"$", FieldType::I32, false},
        {"$G", FieldType::I32, false},       {"-$1", FieldType::I32, false},
        {"", FieldType::I32, false},         {"$F ", FieldType::I32, false},
        {"-1 ", FieldType::U16, false},      {"-", FieldType::U16, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pilot::staysWhileTyped(c.text, c.width), c.stays) << '"' << c.text << '"';
    }
}

TEST(NumberRule, StoresTheLowBitsAndResetsOnTheSentinel) {
    struct Case {
        std::string_view text;
        FieldType width;
        std::uint32_t stored;
        std::string shown;
    };
    const std::vector<Case> cases = {
        // Signed 32-bit slots: the sentinel 2147483647 and everything invalid reset to 0.
        {"2147483646", FieldType::I32, 2147483646u, "2147483646"},
        {"2147483647", FieldType::I32, 0, "0"},
        {"$7FFFFFFF", FieldType::I32, 0, "0"},
        {"2147483648", FieldType::I32, 0, "0"},
        {"-2147483648", FieldType::I32, 0x80000000u, "-2147483648"},
        {"-1", FieldType::I32, 0xFFFFFFFFu, "-1"},
        {"$ffffffff", FieldType::I32, 0xFFFFFFFFu, "-1"},
        {"", FieldType::I32, 0, "0"},
        {"-", FieldType::I32, 0, "0"},
        {"abc", FieldType::I32, 0, "0"},
        {"007", FieldType::I32, 7, "7"},
        // Unsigned 16-bit slots: any number whose low 16 bits are all ones resets.
        {"65534", FieldType::U16, 65534, "65534"},
        {"70000", FieldType::U16, 4464, "4464"},
        {"-2", FieldType::U16, 65534, "65534"},
        {"65536", FieldType::U16, 0, "0"},
        {"65535", FieldType::U16, 0, "0"},
        {"-1", FieldType::U16, 0, "0"},
        {"131071", FieldType::U16, 0, "0"},
        {"2147483647", FieldType::U16, 0, "0"},
        {"12 ", FieldType::U16, 0, "0"},
        // The 8-bit training level: all ones in the low 8 bits resets to 2.
        {"254", FieldType::U8, 254, "254"},
        {"255", FieldType::U8, 2, "2"},
        {"256", FieldType::U8, 0, "0"},
        {"300", FieldType::U8, 44, "44"},
        {"-1", FieldType::U8, 2, "2"},
        {"511", FieldType::U8, 2, "2"},
        {"-2", FieldType::U8, 254, "254"},
        {"", FieldType::U8, 2, "2"},
        {"x", FieldType::U8, 2, "2"},
    };
    for (const Case& c : cases) {
        const pilot::NumberRuleResult result = pilot::applyNumberRule(c.text, c.width);
        EXPECT_EQ(result.stored, c.stored) << '"' << c.text << "\" width " << int(c.width);
        EXPECT_EQ(result.text, c.shown) << '"' << c.text << "\" width " << int(c.width);
    }
}

TEST(NumberRule, ItsOwnTextIsAFixedPoint) {
    // The rule rewrites the field's text and then runs once more on that text: the second
    // run must find the same value, or the field would keep changing.
    for (const FieldType width : {FieldType::U8, FieldType::U16, FieldType::I32}) {
        for (const std::string_view text :
             {"0", "007", "-1", "-2", "300", "70000", "2147483647", "$ffffffff", "", "+"}) {
            const pilot::NumberRuleResult first = pilot::applyNumberRule(text, width);
            const pilot::NumberRuleResult second = pilot::applyNumberRule(first.text, width);
            EXPECT_EQ(second.stored, first.stored) << '"' << text << '"';
            EXPECT_EQ(second.text, first.text) << '"' << text << '"';
        }
    }
}

TEST(NumberText, StoredPatternsReadSignedOnlyAt32Bits) {
    struct Case {
        std::uint32_t pattern;
        FieldType width;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, FieldType::I32, "0"},
        {0xFFFFFFFFu, FieldType::I32, "-1"},
        {0x80000000u, FieldType::I32, "-2147483648"},
        {0x7FFFFFFFu, FieldType::I32, "2147483647"},
        {0xFFFFu, FieldType::U16, "65535"},
        {0x12345u, FieldType::U16, "9029"},
        {0xFFu, FieldType::U8, "255"},
        {0x1FFu, FieldType::U8, "255"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::numberText(c.pattern, c.width), c.text) << c.pattern;
    }
}

// A pattern stores what the rule stores for its own text: the low bits, the sentinel reset.
TEST(NumberRule, APatternStoresWhatItsTextStores) {
    struct Case {
        std::uint32_t pattern;
        FieldType width;
        std::uint32_t stored;
    };
    const std::vector<Case> cases = {
        {0, FieldType::I32, 0},
        {0x7FFFFFFFu, FieldType::I32, 0},
        {0x7FFFFFFEu, FieldType::I32, 0x7FFFFFFEu},
        {0x80000000u, FieldType::I32, 0x80000000u},
        {0xFFFFFFFFu, FieldType::I32, 0xFFFFFFFFu},
        {0xFFFFu, FieldType::U16, 0},
        {0x3FFFFu, FieldType::U16, 0},
        {0x12345u, FieldType::U16, 0x2345u},
        {0xFFu, FieldType::U8, 2},
        {0x1FFu, FieldType::U8, 2},
        {0x100u, FieldType::U8, 0},
        {0xFEu, FieldType::U8, 0xFEu},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pilot::storedByNumberRule(c.pattern, c.width), c.stored) << c.pattern;
        const std::string text = pilot::numberText(c.pattern, c.width);
        EXPECT_EQ(pilot::applyNumberRule(text, c.width).stored, c.stored) << text;
    }
}

}  // namespace
