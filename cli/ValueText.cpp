#include "ValueText.h"

#include <algorithm>

#include "NumberText.h"
#include "PilotRecord.h"

namespace cli {

namespace {

using pilot::FieldInfo;

std::string listText(const FieldInfo& info) {
    std::string text = "0.." + std::to_string(info.enumeration.size() - 1) + ":";
    for (std::size_t i = 0; i < info.enumeration.size(); ++i) {
        text += (i == 0 ? " " : ", ") + std::to_string(i) + " " + std::string(info.enumeration[i]);
    }
    return text;
}

std::variant<std::uint32_t, std::string> enumeratedPattern(const FieldInfo& info,
                                                           std::string_view text) {
    if (const auto named = findName(info.enumeration, text)) {
        return static_cast<std::uint32_t>(*named);
    }
    const auto number = pilot::parseNumber(text);
    if (!number || *number < 0 || static_cast<std::size_t>(*number) >= info.enumeration.size()) {
        return "\"" + std::string(text) + "\" is not a value of " + std::string(info.name) + " (" +
               listText(info) + ")";
    }
    return static_cast<std::uint32_t>(*number);
}

}  // namespace

std::optional<std::size_t> findName(std::span<const std::string_view> names,
                                    std::string_view text) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    const auto named = std::find_if(names.begin(), names.end(), [&](std::string_view name) {
        return std::equal(name.begin(), name.end(), text.begin(), text.end(),
                          [&](char a, char b) { return lower(a) == lower(b); });
    });
    if (named == names.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(named - names.begin());
}

std::string valueText(const pilot::PilotRecord& record, const pilot::ElementPath& path) {
    const FieldInfo& info = pilot::fieldInfo(path.field);
    const std::uint32_t pattern = record.raw(path.field, path.row, path.column);
    std::string text = pilot::numberText(pattern, info.type);
    if (!info.enumeration.empty()) {
        const auto name = pilot::enumerationText(path.field, pattern);
        text += " (" + std::string(name.value_or("unknown")) + ")";
    }
    return text;
}

std::string hexBytes(const pilot::PilotRecord& record, pilot::Field field) {
    static constexpr char kDigits[] = "0123456789abcdef";
    const FieldInfo& info = pilot::fieldInfo(field);
    std::string text;
    text.reserve(info.size() * 2);
    for (std::size_t at = info.offset; at < info.offset + info.size(); ++at) {
        text += kDigits[record.bytes()[at] >> 4];
        text += kDigits[record.bytes()[at] & 0xF];
    }
    return text;
}

std::optional<std::string> storedOtherwise(const pilot::ElementPath& path, std::string_view text,
                                           std::uint32_t pattern) {
    const FieldInfo& info = pilot::fieldInfo(path.field);
    const auto number = pilot::parseNumber(text);
    if (info.editing != pilot::Editing::NumberRule || !number) {
        return std::nullopt;
    }
    const std::string stored = pilot::numberText(pattern, info.type);
    if (stored == std::to_string(*number)) {
        return std::nullopt;
    }
    // The number's own bits at the field's width, before the rule resets a sentinel.
    const auto bits = static_cast<std::uint32_t>(*number);
    const std::size_t width = pilot::byteWidth(info.type) * 8;
    const std::uint32_t low = width >= 32 ? bits : bits & ((1u << width) - 1u);
    const std::string lowBits =
        "the low " + std::to_string(width) + " bits of " + std::to_string(*number);
    if (pilot::storedByNumberRule(low, info.type) != low) {
        const std::string sentinel = pilot::numberText(low, info.type);
        return "stores " + stored + ": " + sentinel +
               (sentinel == std::to_string(*number) ? "" : " (" + lowBits + ")") + " resets " +
               pilot::pathName(path) + ", as in the editor";
    }
    return "stores " + stored + ", " + lowBits;
}

std::variant<std::uint32_t, std::string> storedPattern(const pilot::ElementPath& path,
                                                       std::string_view text) {
    const FieldInfo& info = pilot::fieldInfo(path.field);
    if (info.editing == pilot::Editing::Selector) {
        return enumeratedPattern(info, text);
    }
    const auto number = pilot::parseNumber(text);
    if (!number) {
        return "\"" + std::string(text) + "\" is not a number";
    }
    if (info.editing == pilot::Editing::NumberRule) {
        return pilot::applyNumberRule(text, info.type).stored;
    }
    if (*number < 0 || *number > 255) {
        return std::to_string(*number) + " does not fit into " + pilot::pathName(path) +
               " (0..255)";
    }
    return static_cast<std::uint32_t>(*number);
}

}  // namespace cli
