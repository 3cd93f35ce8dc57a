#pragma once

#include <functional>

#include <QGroupBox>

namespace pilot {
class PilotRecord;
}

namespace editor {

// " Training Missions (Maze)": a ship selector with the ship's maze score and highest level.
class TrainingGroup : public QGroupBox {
    Q_OBJECT
public:
    TrainingGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                  QWidget* parent = nullptr);

    // Refresh step: "TIE Fighter" and its values.
    void showFirstShip();

private:
    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
};

}  // namespace editor
