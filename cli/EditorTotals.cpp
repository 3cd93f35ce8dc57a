#include "EditorTotals.h"

#include "NumberText.h"
#include "PilotRecord.h"
#include "Totals.h"

namespace cli {

namespace {

std::uint32_t shownAndStored(std::uint32_t sum, pilot::FieldType width) {
    return pilot::applyNumberRule(pilot::numberText(sum, width), width).stored;
}

}  // namespace

EditorTotals editorTotals(const pilot::PilotRecord& record) {
    using pilot::FieldType;
    return {
        static_cast<std::int32_t>(shownAndStored(
            static_cast<std::uint32_t>(pilot::missionScoreTotal(record)), FieldType::I32)),
        static_cast<std::uint16_t>(shownAndStored(pilot::shipKillsTotal(record), FieldType::U16)),
    };
}

}  // namespace cli
