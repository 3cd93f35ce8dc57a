#include "BsfText.h"

#include "PilotFileIO.h"
#include "PilotRecord.h"

namespace reports {

namespace {

void appendLine(std::string& text, std::string_view line) {
    text += line;
    text += kBsfLineEnd;
}

std::string missionLine(std::size_t number, std::int32_t score) {
    return std::string(kBsfMissionWord) + std::to_string(number) + std::string(kBsfScoreSeparator) +
           std::to_string(score);
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
        std::string line = missionLine(mission + 1, score);
        line += input.highscore[mission] ? kBsfHighscoreMark : kBsfPlainBattleEnd;
        appendLine(text, line);
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
    for (const BsfHeadLine& line : kBsfHeadLines) {
        appendLine(text, std::string(line.label) + input.*line.text);
    }
    appendLine(text, kBsfScoresLine);
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
