#include "TrainingGroup.h"

#include "PilotRecord.h"

namespace editor {

// Skeleton: filled in by the group's own change.
TrainingGroup::TrainingGroup(pilot::PilotRecord& record, std::function<void()> markChanged, QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)) {
    setTitle(QStringLiteral(" Training Missions (Maze)"));
}

void TrainingGroup::showFirstShip() {}

}  // namespace editor
