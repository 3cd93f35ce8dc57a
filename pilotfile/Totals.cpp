#include "Totals.h"

#include "NumberText.h"
#include "PilotRecord.h"

namespace pilot {

namespace {

// Every element of the field added up in unsigned 32-bit arithmetic, which wraps.
std::uint32_t sumOf(const PilotRecord& record, Field field) {
    const FieldInfo& info = fieldInfo(field);
    std::uint32_t sum = 0;
    for (std::size_t index = 0; index < info.elementCount(); ++index) {
        sum += record.rawAt(info, index);
    }
    return sum;
}

}  // namespace

std::int32_t missionScoreTotal(const PilotRecord& record) {
    return static_cast<std::int32_t>(sumOf(record, Field::BattleMissionScore));
}

std::uint16_t shipKillsTotal(const PilotRecord& record) {
    return static_cast<std::uint16_t>(sumOf(record, Field::ShipKills));
}

std::int32_t storedTotalScore(const PilotRecord& record) {
    const auto sum = static_cast<std::uint32_t>(missionScoreTotal(record));
    return static_cast<std::int32_t>(storedByNumberRule(sum, fieldInfo(Field::TotalScore).type));
}

std::uint16_t storedKillsTotal(const PilotRecord& record) {
    return static_cast<std::uint16_t>(
        storedByNumberRule(shipKillsTotal(record), fieldInfo(Field::Kills).type));
}

}  // namespace pilot
