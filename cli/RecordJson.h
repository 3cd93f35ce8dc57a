#pragma once

#include <string>

namespace pilot {
class PilotRecord;
}

namespace cli {

// Appends the whole record as one JSON object, fields in file order under their names:
// numbers (signed for 32-bit fields), arrays as arrays and two-dimensional ones as arrays of
// rows, enumerated values as {"value": n, "text": "..."} with a null text outside the list,
// and each reserved stretch as a string of hex digits. The layout is two blanks per level;
// `depth` is the level the object itself stands at (0 for an object of its own, 1 for one
// keyed by file name), so that objects can be written one at a time as files are read.
void appendRecordJson(std::string& out, const pilot::PilotRecord& record, int depth);

}  // namespace cli
