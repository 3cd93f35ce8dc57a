#pragma once

#include <string>
#include <vector>

namespace pilot {
class PilotRecord;
}

namespace cli {

// The values a careful editor would warn about, one text each: enumerated values outside
// their lists, a last mission above 8, completed flags other than 0 and 1, hits above
// shots, and totals that differ from what the editor would recompute.
[[nodiscard]] std::vector<std::string> recordWarnings(const pilot::PilotRecord& record);

}  // namespace cli
