#include "CombatChamberGroup.h"

#include "PilotRecord.h"

namespace editor {

// Skeleton: filled in by the group's own change.
CombatChamberGroup::CombatChamberGroup(pilot::PilotRecord& record, std::function<void()> markChanged, QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)) {
    setTitle(QStringLiteral(" Combat Chamber "));
}

void CombatChamberGroup::showFirstShipAndMission() {}
void CombatChamberGroup::showCompleted() {}
std::optional<std::size_t> CombatChamberGroup::selectedCraft() const { return std::nullopt; }

}  // namespace editor
