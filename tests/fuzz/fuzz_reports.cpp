// Bytes of a file loaded as a pilot, then its pilot report and a Battle Submission Form with
// options taken from the input: the load takes exactly a whole record, and every text has the
// lines its definition gives, each ending in CR LF, the report's first naming its path.
//
// Input: 7 option bytes (mode, battle, last mission, highscore bits, craft, from, to; 255
// is "no selection"), 2 bytes of file length (little-endian, below 2100), the file, then
// the report's path and the form's four texts, separated by NUL bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <unistd.h>

#include "BsfText.h"
#include "FuzzForms.h"
#include "PilotFileIO.h"
#include "PilotRecord.h"
#include "PilotReport.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// The line bodies of a text; fails unless every line ends in CR LF and no other CR or LF.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find("\r\n");
        if (end == std::string_view::npos) {
            fail("a line without CR LF");
        }
        const std::string_view line = text.substr(0, end);
        if (line.find_first_of("\r\n") != std::string_view::npos) {
            fail("a bare CR or LF");
        }
        lines.push_back(line);
        text.remove_prefix(end + 2);
    }
    return lines;
}

std::size_t expectedReportLines(const PilotRecord& record) {
    std::size_t lines = 57;  // everything but the four enumerated lines and the battles
    lines += record.u8(Field::PilotStatus) <= 2;
    lines += record.u8(Field::Rank) <= 5;
    lines += record.u8(Field::Difficulty) <= 2;
    lines += record.u8(Field::SecretOrder) <= 9;
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        lines += record.u8(Field::BattleStatus, battle) != 0 ? 5 : 0;
    }
    return lines;
}

std::size_t expectedFormLines(const reports::BsfInput& input) {
    const auto place = fuzzing::writtenPlace(input);
    return 5 + (place ? place->missions : 0);
}

// The file is written where the fuzzer's process alone uses it, and removed once loaded.
std::filesystem::path scratchFile() {
    return std::filesystem::temp_directory_path() /
           ("brevanta-fuzz-" + std::to_string(::getpid()) + ".TFR");
}

PilotRecord loaded(std::string_view file) {
    const std::filesystem::path scratch = scratchFile();
    std::FILE* out = std::fopen(scratch.c_str(), "wb");
    if (!out) {
        fail("cannot create the scratch file");
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written) {
        fail("cannot write the scratch file");
    }
    const auto result = pilot::loadPilotFile(scratch);
    std::filesystem::remove(scratch);
    if (file.size() < pilot::kRecordSize) {
        if (result != decltype(result)(pilot::IoError{pilot::IoError::ReadPastEnd})) {
            fail("a short file loaded");
        }
        return PilotRecord{};
    }
    const auto* record = std::get_if<PilotRecord>(&result);
    if (!record || std::string_view(reinterpret_cast<const char*>(record->bytes().data()),
                                    pilot::kRecordSize) != file.substr(0, pilot::kRecordSize)) {
        fail("the record is not the file's first 1928 bytes");
    }
    return *record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) {
        return 0;
    }
    std::string_view rest(reinterpret_cast<const char*>(data) + 9, size - 9);
    const std::size_t length = (data[7] | (std::size_t{data[8]} << 8)) % 2100;
    const std::string_view file = rest.substr(0, length);
    rest.remove_prefix(file.size());
    const PilotRecord record = loaded(file);

    const std::string path = fuzzing::nextText(rest);
    const std::string report = reports::pilotReport(record, path);
    const auto reportLines = linesOf(report);
    if (reportLines.size() != expectedReportLines(record)) {
        fail("the report has another number of lines");
    }
    if (reportLines.front() != path) {
        fail("line 1 of the report is not its path");
    }

    reports::BsfInput input = fuzzing::formOptions(data);
    input.idLine = fuzzing::nextText(rest);
    input.battleNumber = fuzzing::nextText(rest);
    input.medal = fuzzing::nextText(rest);
    input.email = fuzzing::nextText(rest);
    const std::string form = reports::bsfFormText(input, record);
    const auto formLines = linesOf(form);
    if (formLines.size() != expectedFormLines(input)) {
        fail("the form has another number of lines");
    }
    if (formLines[0] != "Name of Applicant: " + input.idLine || formLines[4] != "Scores:") {
        fail("the form's head is not its texts");
    }
    for (std::size_t line = 5; line < formLines.size(); ++line) {
        if (!formLines[line].starts_with("Mission " + std::to_string(line - 4) + ": ")) {
            fail("a score line out of order");
        }
    }
    return 0;
}
