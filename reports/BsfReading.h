#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BsfText.h"

namespace reports {

// What follows the score on a score line of a form.
enum class BsfLineEnd : std::uint8_t {
    Bare,       // nothing: a combat chamber line, or a battle line a mail program cut the blank of
    Blank,      // one or more blanks: a battle mission without the mark
    Highscore,  // the highscore mark: a battle mission
};

struct BsfScoreLine {
    std::int32_t score = 0;
    BsfLineEnd end = BsfLineEnd::Bare;
    std::size_t line = 0;  // in the file, from 1
};

// A text of a form file as messages show it: single-byte text, at most its first 40
// characters and "..." after them, control characters as "?".
[[nodiscard]] std::string bsfExcerpt(std::string_view text);

// Why a text is no form: the first line that is wrong, and what is wrong there. The message
// quotes what it found there as bsfExcerpt shows it.
struct BsfReadError {
    std::size_t line = 0;
    std::string message;
};

// One form of a form file, as it is read back.
struct ReadBsfForm {
    std::size_t number = 0;     // the file's first form is 1
    std::size_t firstLine = 0;  // its first line in the file, from 1
    BsfTexts texts;
    std::vector<BsfScoreLine> scores;   // "Mission 1" first, at most eight
    std::optional<BsfReadError> error;  // set when the text is no form; what came before is kept

    // Whether the line ends show a battle form: a line ends in a blank or the mark. A form
    // whose lines all end at their scores may be of either kind.
    [[nodiscard]] bool battleLineEnds() const;
};

// Reads the forms of a form file's bytes, in one pass, and hands each to `visit` as soon as
// it is read. What the reader takes:
// - Lines end in CR LF, LF or CR; the last one may have no end.
// - Blanks at the end of a line count for nothing, as a mail program may cut them, except
//   that a score line ending in blanks is a battle line. Blank lines are passed over.
// - A line of 45 hyphens parts two forms. So does one glued to the end of a "Scores:" or
//   score line, as appending to a file whose last line has no end leaves it; and a
//   "Name of Applicant:" line, which always starts a form.
// - A form is its four head lines in their order, each starting with its label up to the
//   colon (the value follows the label's blanks), "Scores:", and up to eight score lines
//   numbered from 1: "Mission N:", blanks, a signed 32-bit decimal score, then nothing,
//   blanks, or the highscore mark.
// Any other text makes the form no form: its error names the first line that is wrong, and
// reading goes on with the next form.
void readBsfForms(std::string_view text, const std::function<void(const ReadBsfForm&)>& visit);

}  // namespace reports
