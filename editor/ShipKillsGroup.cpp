#include "ShipKillsGroup.h"

#include "PilotRecord.h"

namespace editor {

// Skeleton: filled in by the group's own change.
ShipKillsGroup::ShipKillsGroup(pilot::PilotRecord& record, std::function<void()> markChanged, std::function<void()> updateKillsTotal, QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)), m_updateKillsTotal(std::move(updateKillsTotal)) {
    setTitle(QStringLiteral(" Ship Kills "));
}

void ShipKillsGroup::showCounters() {}

}  // namespace editor
