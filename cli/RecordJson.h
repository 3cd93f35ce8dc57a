#pragma once

#include <string>
#include <string_view>

namespace pilot {
class PilotRecord;
}

namespace cli {

// The member that gives the kill counters' craft labels, in their order.
inline constexpr std::string_view kShipKillLabelsKey = "ShipKillLabels";

// Appends the whole record as one JSON object, fields in file order under their names:
// numbers (signed for 32-bit fields), arrays as arrays and two-dimensional ones as arrays of
// rows, enumerated values as {"value": n, "text": "..."} with a null text outside the list,
// and each reserved stretch as a string of hex digits. Right after ShipKills stands
// "ShipKillLabels", the craft label of each counter ("T-W" beside ShipKills[12]). The layout is two
// blanks per level; `depth` is the level the object itself stands at (0 for an object of its own, 1
// for one keyed by file name), so that objects can be written one at a time as files are read.
void appendRecordJson(std::string& out, const pilot::PilotRecord& record, int depth);

}  // namespace cli
