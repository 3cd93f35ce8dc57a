// Form files read back. Whatever the bytes, every form read holds at most eight scores on
// rising lines, an error inside the text, and a verdict that agrees with itself. And every
// file of forms the writer makes, with LF or CR line ends or the trailing blanks cut as a
// mail program leaves them, reads back to the same texts and scores, each form verifying
// at the place its scores were written from.
//
// Input: the bytes are read as a form file. Then they are read again as 1 byte of passage
// (how the file travels), 1 byte of form count, 7 option bytes per form (mode, battle, last
// mission, highscore bits, craft, from, to), the record (zeros after a short input), and the
// forms' texts separated by NUL bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BsfMatching.h"
#include "BsfReading.h"
#include "BsfText.h"
#include "FuzzForms.h"
#include "PilotRecord.h"

namespace {

using reports::BsfInput;
using reports::BsfPlace;
using reports::ReadBsfForm;
using Outcome = reports::BsfVerdict::Outcome;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

std::size_t lineCount(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n') +
                                    std::count(text.begin(), text.end(), '\r')) +
           1;
}

void checkVerdict(const ReadBsfForm& form, const pilot::PilotRecord& record) {
    const reports::BsfVerdict verdict = reports::verifyBsfForm(form, record);
    const bool matched =
        verdict.outcome == Outcome::Matches || verdict.outcome == Outcome::Unfinished;
    if (matched != !verdict.matches.empty() ||
        (verdict.outcome != Outcome::NoMatch && !verdict.nearest.empty()) ||
        (verdict.outcome == Outcome::NoScores) != (form.error || form.scores.empty())) {
        fail("a verdict that contradicts itself");
    }
    for (const reports::BsfNearPlace& near : verdict.nearest) {
        if (near.differences.empty() || near.differences.size() >= form.scores.size()) {
            fail("a nearest place that matches, or holds none of the scores");
        }
    }
    if (reports::bsfVerdictText(verdict).empty()) {
        fail("a verdict without words");
    }
}

void checkAnyText(std::string_view text, const pilot::PilotRecord& record) {
    std::size_t forms = 0;
    const std::size_t lines = lineCount(text);
    reports::readBsfForms(text, [&](const ReadBsfForm& form) {
        if (form.number != ++forms || form.firstLine == 0 || form.firstLine > lines) {
            fail("forms out of order");
        }
        if (form.scores.size() > pilot::kMissions) {
            fail("more than eight scores");
        }
        std::size_t line = form.firstLine;
        for (const reports::BsfScoreLine& score : form.scores) {
            if (score.line <= line || score.line > lines) {
                fail("a score line out of place");
            }
            line = score.line;
        }
        if (form.error && (form.error->line < form.firstLine || form.error->line > lines ||
                           form.error->message.empty())) {
            fail("an error outside its form");
        }
        checkVerdict(form, record);
    });
}

std::string withoutTrailingBlanks(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

// The file as it arrives: 0 as written, 1 LF, 2 CR, 3 trailing blanks cut.
std::string passed(const std::string& text, std::uint8_t passage) {
    std::string result;
    std::string line;
    for (std::size_t at = 0; at < text.size(); at += 2) {
        const std::size_t end = std::min(text.find("\r\n", at), text.size());
        line = text.substr(at, end - at);
        result += passage == 3 ? withoutTrailingBlanks(line) : line;
        result += passage == 1 ? "\n" : passage == 2 ? "\r" : "\r\n";
        at = end;
    }
    return result;
}

void checkRoundTrip(std::string_view data) {
    if (data.size() < 2) {
        return;
    }
    const auto passage = static_cast<std::uint8_t>(data[0] % 4);
    const std::size_t count = 1 + static_cast<std::uint8_t>(data[1]) % 4;
    std::string_view rest = data.substr(2);
    std::vector<BsfInput> inputs;
    for (std::size_t form = 0; form < count; ++form) {
        std::uint8_t options[7] = {};
        for (std::uint8_t& option : options) {
            option = rest.empty() ? 0 : static_cast<std::uint8_t>(rest.front());
            rest.remove_prefix(rest.empty() ? 0 : 1);
        }
        inputs.push_back(fuzzing::formOptions(options));
    }
    pilot::PilotRecord::Bytes bytes{};
    const std::size_t recordBytes = std::min(rest.size(), bytes.size());
    std::copy_n(rest.begin(), recordBytes, bytes.begin());
    rest.remove_prefix(recordBytes);
    const pilot::PilotRecord record(bytes);

    std::string file;
    for (BsfInput& input : inputs) {
        for (const reports::BsfHeadLine& head : reports::kBsfHeadLines) {
            input.*head.text = fuzzing::nextText(rest);
        }
        if (!file.empty()) {
            file += std::string(reports::kBsfSeparatorLine) + "\r\n";
        }
        file += reports::bsfFormText(input, record);
    }
    std::size_t read = 0;
    reports::readBsfForms(passed(file, passage), [&](const ReadBsfForm& form) {
        if (read >= inputs.size()) {
            fail("more forms read than written");
        }
        const BsfInput& input = inputs[read++];
        if (form.error) {
            fail("a written form read as no form");
        }
        for (const reports::BsfHeadLine& head : reports::kBsfHeadLines) {
            const std::string& text = input.*head.text;
            if (form.texts.*head.text != (passage == 3 ? withoutTrailingBlanks(text) : text)) {
                fail("a text that does not come back");
            }
        }
        const auto place = fuzzing::writtenPlace(input);
        if (form.scores.size() != (place ? place->missions : 0)) {
            fail("another number of scores");
        }
        if (!place) {
            return;
        }
        const reports::BsfVerdict verdict = reports::verifyBsfForm(form, record);
        if (std::none_of(verdict.matches.begin(), verdict.matches.end(),
                         [&](const reports::BsfMatch& match) { return match.place == *place; })) {
            fail("a written form that does not match where it was written from");
        }
    });
    if (read != inputs.size()) {
        fail("fewer forms read than written");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkAnyText(bytes, pilot::PilotRecord::newPilot());
    checkRoundTrip(bytes);
    return 0;
}
