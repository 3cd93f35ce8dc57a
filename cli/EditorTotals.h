#pragma once

#include <cstdint>

namespace pilot {
class PilotRecord;
}

namespace cli {

// TotalScore and Kills as the editor stores them when it recomputes them: the sums of the
// mission scores and of the kill counters, put through the number rule of the field that
// shows them (so a sum equal to the field's sentinel is stored as 0).
struct EditorTotals {
    std::int32_t totalScore = 0;
    std::uint16_t kills = 0;
};

[[nodiscard]] EditorTotals editorTotals(const pilot::PilotRecord& record);

}  // namespace cli
