#pragma once

#include <cstdint>

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

}  // namespace pilot
