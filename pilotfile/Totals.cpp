#include "Totals.h"

#include "NumberText.h"
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

std::int32_t storedTotalScore(const PilotRecord& record) {
    const auto sum = static_cast<std::uint32_t>(missionScoreTotal(record));
    return static_cast<std::int32_t>(storedByNumberRule(sum, fieldInfo(Field::TotalScore).type));
}

std::uint16_t storedKillsTotal(const PilotRecord& record) {
    return static_cast<std::uint16_t>(
        storedByNumberRule(shipKillsTotal(record), fieldInfo(Field::Kills).type));
}

std::uint32_t storedTotal(const PilotRecord& record, Field total) {
    switch (total) {
        case Field::TotalScore:
            return static_cast<std::uint32_t>(storedTotalScore(record));
        case Field::Kills:
            return storedKillsTotal(record);
        default:
            return record.raw(total);
    }
}

}  // namespace pilot
