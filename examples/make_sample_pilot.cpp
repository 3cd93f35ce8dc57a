// Writes a sample pilot with a believable career, for trying the editor out.

#include <cstdio>
#include <cstdlib>

#include "PilotFileIO.h"
#include "PilotRecord.h"
#include "Totals.h"

namespace {

pilot::PilotRecord samplePilot() {
    using pilot::Field;
    auto record = pilot::PilotRecord::newPilot();
    record.setU8(Field::PilotStatus, 0);  // Alive
    record.setU8(Field::Rank, 3);         // Captain
    record.setU8(Field::SecretOrder, 2);  // Second Circle
    record.setU16(Field::Skill, 412);
    record.setU16(Field::Captures, 3);
    record.setI32(Field::LaserShots, 18250);
    record.setI32(Field::LaserHits, 6120);
    record.setU16(Field::WarheadShots, 96);
    record.setU16(Field::WarheadHits, 71);
    record.setU16(Field::CraftLost, 2);

    constexpr int trainingScores[] = {12000, 3500, 8200, 0, 5100, 0, 900};
    constexpr std::uint8_t trainingLevels[] = {4, 2, 3, 2, 3, 2, 2};
    for (std::size_t craft = 0; craft < pilot::kShownCrafts; ++craft) {
        record.setI32(Field::TrainingScore, trainingScores[craft], craft);
        record.setU8(Field::TrainingLevel, trainingLevels[craft], craft);
        for (std::size_t mission = 0; mission < 3; ++mission) {
            const auto score = static_cast<std::int32_t>(400 + 150 * craft + 275 * mission);
            record.setI32(Field::CombatScore, score, craft, mission);
            record.setU8(Field::CombatCompleted, 1, craft, mission);
        }
    }

    // Battle 1 completed, battle 2 under way, battle 3 not completed yet.
    constexpr std::uint8_t status[] = {3, 1, 2};
    constexpr std::uint8_t lastMission[] = {6, 3, 0};
    for (std::size_t battle = 0; battle < 3; ++battle) {
        record.setU8(Field::BattleStatus, status[battle], battle);
        record.setU8(Field::BattleLastMission, lastMission[battle], battle);
        for (std::size_t mission = 0; mission < lastMission[battle]; ++mission) {
            const auto score = static_cast<std::int32_t>(2100 + 340 * mission + 800 * battle);
            record.setI32(Field::BattleMissionScore, score, battle, mission);
        }
    }
    record.setU8(Field::BattleSecondaryGoals, 0x25, 0);
    record.setU8(Field::BattleBonusGoals, 0x81, 0);
    record.setU8(Field::BattleSecondaryGoals, 0x02, 1);
    record.setI32(Field::TotalScore, pilot::storedTotalScore(record));

    constexpr std::uint16_t kills[] = {14, 9, 6, 3, 21, 11, 5, 1, 0, 0, 0, 0, 2, 4, 1, 7, 3};
    for (std::size_t counter = 0; counter < std::size(kills); ++counter) {
        record.setU16(Field::ShipKills, kills[counter], counter);
    }
    record.setU16(Field::ShipKills, 2, 39);  // corvettes
    record.setU16(Field::ShipKills, 1, 41);  // frigates
    record.setU16(Field::Kills, pilot::storedKillsTotal(record));
    return record;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.TFR\n", argv[0]);
        return 2;
    }
    if (const auto error = pilot::savePilotFile(argv[1], samplePilot())) {
        std::fprintf(stderr, "%s: %s\n", argv[1],
                     pilot::withClosingPeriod(error->message()).c_str());
        return 2;
    }
    return 0;
}
