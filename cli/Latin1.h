#pragma once

#include <string>
#include <string_view>

namespace cli {

// The single-byte text the form writes for a UTF-8 argument, as the form window turns its
// typed text into bytes: a character up to U+00FF becomes its byte and any other character
// one "?"; so does each byte that does not start a well-formed UTF-8 sequence.
[[nodiscard]] std::string latin1FromUtf8(std::string_view text);

}  // namespace cli
