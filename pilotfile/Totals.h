#pragma once

#include <cstdint>

namespace pilot {

class PilotRecord;

// The sum of all 160 battle mission scores in signed 32-bit arithmetic that wraps.
[[nodiscard]] std::int32_t missionScoreTotal(const PilotRecord& record);

// The sum of the 70 kill counters modulo 65536.
[[nodiscard]] std::uint16_t shipKillsTotal(const PilotRecord& record);

}  // namespace pilot
