#pragma once

#include <functional>

#include <QGroupBox>
#include <QList>

#include "FieldPlaces.h"

class QComboBox;
namespace pilot {
class PilotRecord;
}

namespace editor {

class NumberField;

// " Training Missions (Maze)": a ship selector with the ship's maze score and highest level.
// The two fields stay disabled until a ship is selected: without one they address nothing.
class TrainingGroup : public QGroupBox, public ShowsItems {
    Q_OBJECT
public:
    TrainingGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                  QWidget* parent = nullptr);

    // Refresh step: "TIE Fighter" and its values.
    void showFirstShip();

    // The user's choice of a ship: shows its values. The choice itself marks nothing; the
    // fields' rules do where their texts change.
    void TrainingShipBoxChange();

    [[nodiscard]] std::optional<FieldPlace> placeOf(const pilot::RecordItem& item) const override;

private:
    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
    QComboBox* m_shipBox = nullptr;
    QList<NumberField*> m_fields;  // score, highest level
};

}  // namespace editor
