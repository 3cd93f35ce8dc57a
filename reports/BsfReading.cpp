#include "BsfReading.h"

#include <algorithm>
#include <charconv>

#include "FieldTable.h"

namespace reports {

namespace {

constexpr std::size_t kQuotedLength = 40;
constexpr std::size_t kScoresStage = kBsfHeadLines.size();
constexpr std::size_t kScoreLinesStage = kScoresStage + 1;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view withoutTrailingBlanks(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string_view withoutLeadingBlanks(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    return text.substr(start);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string excerpt(std::string_view text) {
    return "\"" + bsfExcerpt(text) + "\"";
}

// What starts a head line: its label up to the colon.
std::string_view labelName(std::size_t stage) {
    return withoutTrailingBlanks(kBsfHeadLines[stage].label);
}

// Takes the lines of the file one by one and hands on each form once it has ended.
class FormReader {
public:
    explicit FormReader(const std::function<void(const ReadBsfForm&)>& visit) : m_visit(visit) {}

    void read(std::string_view line, std::size_t number) {
        const std::string_view body = withoutTrailingBlanks(line);
        if (body.empty()) {
            return;
        }
        if (body == kBsfSeparatorLine) {
            endForm();
            return;
        }
        const bool glued = body.size() > kBsfSeparatorLine.size() &&
                           body.ends_with(kBsfSeparatorLine) &&
                           (body.starts_with(kBsfMissionWord) || body.starts_with(kBsfScoresLine));
        if (glued) {
            readFormLine(line.substr(0, body.size() - kBsfSeparatorLine.size()), number);
            endForm();
            return;
        }
        readFormLine(line, number);
    }

    void endForm() {
        if (!m_form) {
            return;
        }
        if (!m_form->error && m_stage < kScoreLinesStage) {
            const std::string_view missing =
                m_stage < kScoresStage ? labelName(m_stage) : kBsfScoresLine;
            fail(m_lastLine, "the form ends here, without " + excerpt(missing));
        }
        m_visit(*m_form);
        m_form.reset();
    }

private:
    void readFormLine(std::string_view line, std::size_t number) {
        const std::string_view body = withoutTrailingBlanks(line);
        if (m_form && body.starts_with(labelName(0))) {
            endForm();
        }
        if (!m_form) {
            m_form.emplace();
            m_form->number = ++m_forms;
            m_form->firstLine = number;
            m_stage = 0;
        }
        if (m_form->error) {
            return;
        }
        m_lastLine = number;
        if (m_stage < kScoresStage) {
            readHeadLine(line, number);
        } else if (m_stage == kScoresStage) {
            if (body != kBsfScoresLine) {
                fail(number, "expected " + excerpt(kBsfScoresLine) + ", found " + excerpt(body));
                return;
            }
            ++m_stage;
        } else {
            readScoreLine(line, number);
        }
    }

    // The value follows the label's blanks; blanks beyond them were typed.
    void readHeadLine(std::string_view line, std::size_t number) {
        const BsfHeadLine& head = kBsfHeadLines[m_stage];
        const std::string_view name = labelName(m_stage);
        if (!line.starts_with(name)) {
            fail(number,
                 "expected " + excerpt(name) + ", found " + excerpt(withoutTrailingBlanks(line)));
            return;
        }
        std::string_view value = line.substr(name.size());
        std::size_t padding = head.label.size() - name.size();
        while (padding > 0 && !value.empty() && value.front() == ' ') {
            value.remove_prefix(1);
            --padding;
        }
        m_form->texts.*head.text = value;
        ++m_stage;
    }

    void readScoreLine(std::string_view line, std::size_t number) {
        const std::string_view body = withoutTrailingBlanks(line);
        const std::size_t lineNumber = m_form->scores.size() + 1;
        if (lineNumber > pilot::kMissions) {
            fail(number, "a form has at most " + std::to_string(pilot::kMissions) +
                             " score lines, found " + excerpt(body));
            return;
        }
        const std::string start = std::string(kBsfMissionWord) + std::to_string(lineNumber) +
                                  std::string(withoutTrailingBlanks(kBsfScoreSeparator));
        if (!body.starts_with(start)) {
            fail(number,
                 "expected " + excerpt(start) + " or the end of the form, found " + excerpt(body));
            return;
        }
        const std::string_view rest = withoutLeadingBlanks(body.substr(start.size()));
        std::size_t digitsEnd = rest.starts_with('-') ? 1 : 0;
        const std::size_t digitsStart = digitsEnd;
        while (digitsEnd < rest.size() && isDigit(rest[digitsEnd])) {
            ++digitsEnd;
        }
        if (digitsEnd == digitsStart) {
            fail(number, "expected a score after " + excerpt(start) + ", found " + excerpt(rest));
            return;
        }
        BsfScoreLine score;
        score.line = number;
        const auto [end, error] =
            std::from_chars(rest.data(), rest.data() + digitsEnd, score.score);
        if (error != std::errc{}) {
            fail(number, "the score " + excerpt(rest.substr(0, digitsEnd)) +
                             " lies outside the signed 32-bit range");
            return;
        }
        const std::string_view after = rest.substr(digitsEnd);
        if (after.empty()) {
            score.end = line.size() > body.size() ? BsfLineEnd::Blank : BsfLineEnd::Bare;
        } else if (isBlank(after.front()) &&
                   withoutLeadingBlanks(after) == withoutLeadingBlanks(kBsfHighscoreMark)) {
            score.end = BsfLineEnd::Highscore;
        } else {
            fail(number, "expected a blank or " + excerpt(kBsfHighscoreMark) +
                             " after the score, found " + excerpt(after));
            return;
        }
        m_form->scores.push_back(score);
    }

    void fail(std::size_t number, std::string message) {
        m_form->error = BsfReadError{number, std::move(message)};
    }

    const std::function<void(const ReadBsfForm&)>& m_visit;
    std::optional<ReadBsfForm> m_form;
    std::size_t m_stage = 0;     // the head lines, "Scores:", then the score lines
    std::size_t m_lastLine = 0;  // the form's last line so far
    std::size_t m_forms = 0;
};

}  // namespace

std::string bsfExcerpt(std::string_view text) {
    std::string shown;
    for (const char c : text.substr(0, kQuotedLength)) {
        const auto code = static_cast<std::uint8_t>(c);
        shown += code < 0x20 || (code >= 0x7F && code < 0xA0) ? '?' : c;
    }
    return text.size() > kQuotedLength ? shown + "..." : shown;
}

bool ReadBsfForm::battleLineEnds() const {
    return std::any_of(scores.begin(), scores.end(),
                       [](const BsfScoreLine& line) { return line.end != BsfLineEnd::Bare; });
}

void readBsfForms(std::string_view text, const std::function<void(const ReadBsfForm&)>& visit) {
    FormReader reader(visit);
    std::size_t number = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        reader.read(text.substr(at, end - at), ++number);
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    reader.endForm();
}

}  // namespace reports
