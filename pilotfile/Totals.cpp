#include "Totals.h"

#include "NumberText.h"
#include "PilotRecord.h"

namespace pilot {

namespace {

// The sum of a field's elements, each read as its stored pattern, modulo 2^32. Read straight
// from the bytes: the merge adds up both sides and its result on every merge.
std::uint32_t elementSum(const PilotRecord& record, Field field) {
    const FieldInfo& info = fieldInfo(field);
    const std::size_t width = byteWidth(info.type);
    std::uint32_t sum = 0;  // unsigned, so that the wrap is defined
    for (std::size_t at = info.offset; at < info.offset + info.size(); at += width) {
        sum += record.patternAt(at, width);
    }
    return sum;
}

}  // namespace

std::int32_t missionScoreTotal(const PilotRecord& record) {
    return static_cast<std::int32_t>(elementSum(record, Field::BattleMissionScore));
}

std::uint16_t shipKillsTotal(const PilotRecord& record) {
    return static_cast<std::uint16_t>(elementSum(record, Field::ShipKills));
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
