#pragma once

#include <string>
#include <string_view>

namespace reports {

// The single-byte (Latin-1) text of a UTF-8 string, as the Battle Submission Form is
// written: a character up to U+00FF becomes its byte and any other character one "?"; so
// does each byte that does not start a well-formed UTF-8 sequence.
[[nodiscard]] std::string latin1FromUtf8(std::string_view text);

// The UTF-8 text of single-byte (Latin-1) text, as a form's texts are shown: every byte is
// the character of its number.
[[nodiscard]] std::string utf8FromLatin1(std::string_view text);

}  // namespace reports
