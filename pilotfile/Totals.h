#pragma once

#include <cstdint>

#include "FieldTable.h"

namespace pilot {

class PilotRecord;

// The sum of all 160 battle mission scores in signed 32-bit arithmetic that wraps.
[[nodiscard]] std::int32_t missionScoreTotal(const PilotRecord& record);

// The sum of the 70 kill counters modulo 65536.
[[nodiscard]] std::uint16_t shipKillsTotal(const PilotRecord& record);

// TotalScore and Kills as the editor stores them when it recomputes them: the sums above put
// through the number rule of the field that shows them, so that a sum equal to the field's
// sentinel is stored as 0.
[[nodiscard]] std::int32_t storedTotalScore(const PilotRecord& record);
[[nodiscard]] std::uint16_t storedKillsTotal(const PilotRecord& record);

// Whether the editor recomputes the field from others: TotalScore from the mission scores,
// Kills from the kill counters.
[[nodiscard]] constexpr bool isRecomputedTotal(Field field) {
    return field == Field::TotalScore || field == Field::Kills;
}
// The bit pattern the editor stores in such a total for the record's scores or counters
// (storedTotalScore or storedKillsTotal); any other field's own pattern.
[[nodiscard]] std::uint32_t storedTotal(const PilotRecord& record, Field total);

}  // namespace pilot
