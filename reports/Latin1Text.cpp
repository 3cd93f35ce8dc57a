#include "Latin1Text.h"

#include <cstdint>

namespace reports {

namespace {

struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;  // 0 when the bytes are no well-formed sequence
};

// One UTF-8 sequence at the start of the text; overlong forms, surrogates and values
// beyond U+10FFFF are not well formed.
Decoded decode(std::string_view text) {
    const auto lead = static_cast<std::uint8_t>(text[0]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        return {lead, 1};
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, codePoint = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, codePoint = lead & 0x0Fu, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, codePoint = lead & 0x07u, smallest = 0x10000;
    } else {
        return {};
    }
    if (text.size() < length) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<std::uint8_t>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return {};
        }
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return {};
    }
    return {codePoint, length};
}

}  // namespace

std::string latin1FromUtf8(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    while (!text.empty()) {
        const Decoded decoded = decode(text);
        if (decoded.length == 0) {
            bytes += '?';
            text.remove_prefix(1);
            continue;
        }
        bytes += decoded.codePoint <= 0xFF ? static_cast<char>(decoded.codePoint) : '?';
        text.remove_prefix(decoded.length);
    }
    return bytes;
}

std::string utf8FromLatin1(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (const char byte : text) {
        const auto code = static_cast<std::uint8_t>(byte);
        if (code < 0x80) {
            utf8 += byte;
            continue;
        }
        utf8 += static_cast<char>(0xC0 | (code >> 6));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
    return utf8;
}

}  // namespace reports
