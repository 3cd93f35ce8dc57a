#include "ElementNames.h"

namespace pilot {

namespace {

void appendNumbered(std::string& text, std::string_view what, std::size_t index) {
    text.append(what).append(" ").append(std::to_string(index + 1));
}

// "TIE Bomber", or "spare slot 8" for the slots the window never shows.
void appendCraftName(std::string& text, std::size_t slot) {
    if (slot < kShownCrafts) {
        text.append(kCraftNames[slot]);
    } else {
        appendNumbered(text, "spare slot", slot);
    }
}

// What one element of each field is, after the indices that place it.
std::string_view elementWhat(Field field) {
    switch (field) {
        case Field::TrainingScore:
        case Field::CombatScore:
        case Field::BattleMissionScore:
            return "score";
        case Field::TrainingLevel:
            return "highest level";
        case Field::CombatCompleted:
            return "completed";
        case Field::BattleStatus:
            return "status";
        case Field::BattleLastMission:
            return "last completed mission";
        case Field::BattleSecondaryGoals:
            return "secondary goals";
        case Field::BattleBonusGoals:
            return "bonus goals";
        default:
            return {};
    }
}

}  // namespace

std::string fieldTitle(Field field) {
    const FieldInfo& info = fieldInfo(field);
    if (info.reserved()) {
        return info.size() == 1 ? "Reserved byte " + std::to_string(info.offset)
                                : "Reserved bytes " + std::to_string(info.offset) + " to " +
                                      std::to_string(info.offset + info.size() - 1);
    }
    switch (field) {
        case Field::PilotStatus:
            return "Pilot status";
        case Field::Rank:
            return "Rank";
        case Field::Difficulty:
            return "Difficulty";
        case Field::TotalScore:
            return "Total score";
        case Field::Skill:
            return "Skill";
        case Field::SecretOrder:
            return "Secret order";
        case Field::TrainingScore:
            return "Training score";
        case Field::TrainingLevel:
            return "Highest training level";
        case Field::CombatScore:
            return "Combat chamber score";
        case Field::CombatCompleted:
            return "Combat chamber mission completed";
        case Field::BattleStatus:
            return "Battle status";
        case Field::BattleLastMission:
            return "Last completed mission";
        case Field::BattleSecondaryGoals:
            return "Secondary goals";
        case Field::BattleBonusGoals:
            return "Bonus goals";
        case Field::BattleMissionScore:
            return "Mission score";
        case Field::Kills:
            return "Kills";
        case Field::Captures:
            return "Captures";
        case Field::ShipKills:
            return "Kills per craft type";
        case Field::LaserShots:
            return "Laser shots";
        case Field::LaserHits:
            return "Laser hits";
        case Field::WarheadShots:
            return "Warhead shots";
        case Field::WarheadHits:
            return "Warhead hits";
        case Field::CraftLost:
            return "Craft lost";
        default:
            return std::string(info.name);
    }
}

std::string elementTitle(const ElementPath& path) {
    std::string title;
    appendElementTitle(title, path);
    return title;
}

void appendElementTitle(std::string& text, const ElementPath& path) {
    const FieldInfo& info = fieldInfo(path.field);
    if (info.reserved()) {
        const auto offset = elementOffset(path.field, path.row, path.column);
        text.append("Reserved byte ").append(std::to_string(offset.value_or(info.offset)));
        return;
    }
    const std::string_view what = elementWhat(path.field);
    switch (path.field) {
        case Field::TrainingScore:
        case Field::TrainingLevel:
            text.append("Training, ");
            appendCraftName(text, path.row);
            text.append(": ").append(what);
            return;
        case Field::CombatScore:
        case Field::CombatCompleted:
            text.append("Combat chamber, ");
            appendCraftName(text, path.row);
            text.append(", ");
            appendNumbered(text, "mission", path.column);
            text.append(": ").append(what);
            return;
        case Field::BattleStatus:
        case Field::BattleLastMission:
        case Field::BattleSecondaryGoals:
        case Field::BattleBonusGoals:
            appendNumbered(text, "Battle", path.row);
            text.append(": ").append(what);
            return;
        case Field::BattleMissionScore:
            appendNumbered(text, "Battle", path.row);
            text.append(", ");
            appendNumbered(text, "mission", path.column);
            text.append(": ").append(what);
            return;
        case Field::ShipKills:
            if (path.row < kShipKillLabels.size()) {
                text.append("Kills of ").append(kShipKillLabels[path.row]);
            } else {
                appendNumbered(text, "Kills of craft type", path.row);
            }
            return;
        default:
            text.append(fieldTitle(path.field));
            return;
    }
}

std::string goalBitTitle(const ElementPath& path, unsigned bit) {
    const std::string_view what =
        path.field == Field::BattleBonusGoals ? "bonus goal" : "secondary goal";
    std::string title;
    appendNumbered(title, "Battle", path.row);
    title.append(", ");
    appendNumbered(title, "mission", bit);
    title.append(": ").append(what);
    return title;
}

}  // namespace pilot
