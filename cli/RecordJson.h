#pragma once

#include <nlohmann/json.hpp>

namespace pilot {
class PilotRecord;
}

namespace cli {

// The whole record as one JSON object, fields in file order under their names: numbers
// (signed for 32-bit fields), arrays as arrays and two-dimensional ones as arrays of rows,
// enumerated values as {"value": n, "text": "..."} with a null text outside the list, and
// each reserved stretch as a string of hex digits.
[[nodiscard]] nlohmann::ordered_json recordJson(const pilot::PilotRecord& record);

}  // namespace cli
