#include "GeneralStatsGroup.h"

#include "PilotRecord.h"

namespace editor {

// Skeleton: filled in by the group's own change.
GeneralStatsGroup::GeneralStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged, QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)) {
    setTitle(QStringLiteral(" General Pilot Stats "));
}

void GeneralStatsGroup::showSelectors() {}
void GeneralStatsGroup::showCounts() {}
void GeneralStatsGroup::showSkill() {}
void GeneralStatsGroup::showTotalScore() {}
void GeneralStatsGroup::showKills() {}

}  // namespace editor
