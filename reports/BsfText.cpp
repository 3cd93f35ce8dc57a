#include "BsfText.h"

#include <fstream>

#include "ByteFiles.h"
#include "PilotRecord.h"

namespace reports {

namespace {

void appendLine(std::string& text, std::string_view line) {
    text += line;
    text += kBsfLineEnd;
}

// The separator lines (CR LF or LF) among the file's first `length` bytes, as the file
// held them when this form was appended after them (later appends go after it); nothing
// when they cannot be read.
std::optional<std::size_t> separatorsBefore(const std::filesystem::path& path,
                                            std::uint64_t length) {
    std::ifstream file(path, std::ios::binary);
    std::size_t separators = 0;
    std::string line;
    std::uint64_t read = 0;
    while (read < length && std::getline(file, line)) {
        read += line.size() + 1;
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        separators += line == kBsfSeparatorLine ? 1 : 0;
    }
    if (read < length) {
        return std::nullopt;
    }
    return separators;
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

std::variant<SavedForm, pilot::IoError> saveBsfForm(const std::filesystem::path& path,
                                                    std::string_view formText) {
    // Anything of that name, readable or not (a dangling link too), is appended to: a file
    // full of earlier forms is never replaced.
    std::string appended;
    appendLine(appended, kBsfSeparatorLine);
    appended += formText;
    const auto placed = pilot::createOrAppend(path, formText, appended);
    if (const auto* error = std::get_if<pilot::IoError>(&placed)) {
        return *error;
    }
    const pilot::Placement& placement = std::get<pilot::Placement>(placed);
    if (!placement.appended) {
        return SavedForm{.appended = false, .formNumber = 1};
    }
    // After the separators of the file come this form's own and then the form.
    const auto separators = separatorsBefore(path, placement.offset);
    return SavedForm{.appended = true,
                     .formNumber = separators ? std::optional(*separators + 2) : std::nullopt};
}

}  // namespace reports
