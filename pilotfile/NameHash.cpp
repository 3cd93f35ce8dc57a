#include "NameHash.h"

#include <cstdint>

namespace pilot {

std::string stableHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int shift = 60; shift >= 0; shift -= 4) {
        text += kDigits[(hash >> shift) & 0xF];
    }
    return text;
}

}  // namespace pilot
