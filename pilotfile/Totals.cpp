#include "Totals.h"

#include "PilotRecord.h"

namespace pilot {

std::int32_t missionScoreTotal(const PilotRecord& record) {
    std::uint32_t sum = 0;  // unsigned, so that the wrap is defined
    for (std::size_t battle = 0; battle < kBattles; ++battle) {
        for (std::size_t mission = 0; mission < kMissions; ++mission) {
            sum += record.raw(Field::BattleMissionScore, battle, mission);
        }
    }
    return static_cast<std::int32_t>(sum);
}

std::uint16_t shipKillsTotal(const PilotRecord& record) {
    std::uint32_t sum = 0;
    for (std::size_t counter = 0; counter < kShipKillCounters; ++counter) {
        sum += record.u16(Field::ShipKills, counter);
    }
    return static_cast<std::uint16_t>(sum);
}

}  // namespace pilot
