#include "BsfText.h"

#include "ByteFiles.h"
#include "PilotRecord.h"

namespace reports {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The head of every form: each label is 19 characters wide, so the typed values start in
// column 20; an empty text leaves the label alone, trailing blanks included.
struct HeadLine {
    std::string_view label;
    std::string BsfInput::*text;
};
constexpr std::array<HeadLine, 4> kHeadLines = {{
    {"Name of Applicant: ", &BsfInput::idLine},
    {"Battle No:         ", &BsfInput::battleNumber},
    {"Name of Medal:     ", &BsfInput::medal},
    {"Applicant's Email: ", &BsfInput::email},
}};

void appendLine(std::string& text, std::string_view line) {
    text += line;
    text += kLineEnd;
}

std::string missionLine(std::size_t number, std::int32_t score) {
    return "Mission " + std::to_string(number) + ": " + std::to_string(score);
}

bool inRange(const std::optional<std::size_t>& index, std::size_t count) {
    return index.has_value() && *index < count;
}

// Missions 1 to lastMission + 1 of the battle, each marked as highscore or ending in one
// blank.
void appendBattleLines(std::string& text, const BsfInput& input, const pilot::PilotRecord& record) {
    if (!inRange(input.battle, pilot::kBattles) || !inRange(input.lastMission, pilot::kMissions)) {
        return;
    }
    for (std::size_t mission = 0; mission <= *input.lastMission; ++mission) {
        const std::int32_t score =
            record.i32(pilot::Field::BattleMissionScore, *input.battle, mission);
        appendLine(text, missionLine(mission + 1, score) +
                             (input.highscore[mission] ? "  * Highscore" : " "));
    }
}

// Missions fromMission + 1 to toMission + 1 of the craft; the lines count from 1 whatever
// mission the range starts at.
void appendCombatLines(std::string& text, const BsfInput& input, const pilot::PilotRecord& record) {
    if (!inRange(input.craft, pilot::kShownCrafts) ||
        !inRange(input.fromMission, pilot::kMissions) ||
        !inRange(input.toMission, pilot::kMissions)) {
        return;
    }
    for (std::size_t mission = *input.fromMission; mission <= *input.toMission; ++mission) {
        const std::int32_t score = record.i32(pilot::Field::CombatScore, *input.craft, mission);
        appendLine(text, missionLine(mission - *input.fromMission + 1, score));
    }
}

}  // namespace

std::string bsfFormText(const BsfInput& input, const pilot::PilotRecord& record) {
    std::string text;
    for (const HeadLine& line : kHeadLines) {
        appendLine(text, std::string(line.label) + input.*line.text);
    }
    appendLine(text, "Scores:");
    switch (input.mode) {
        case BsfInput::Mode::Battle:
            appendBattleLines(text, input, record);
            break;
        case BsfInput::Mode::CombatChamber:
            appendCombatLines(text, input, record);
            break;
        case BsfInput::Mode::None:
            break;
    }
    return text;
}

std::optional<pilot::IoError> saveBsfForm(const std::filesystem::path& path,
                                          std::string_view formText) {
    // Anything of that name, readable or not (a dangling link too), is appended to: a file
    // full of earlier forms is never replaced.
    std::string appended;
    appendLine(appended, kBsfSeparatorLine);
    appended += formText;
    return pilot::createOrAppend(path, formText, appended);
}

}  // namespace reports
