#pragma once

#include <array>
#include <functional>

#include <QGroupBox>

#include "FieldPlaces.h"
#include "FieldTable.h"

class QLabel;
namespace pilot {
class PilotRecord;
}

namespace editor {

class NumberField;

// " Ship Kills ": the 70 kill counters, one per craft type, in a grid of four columns.
// Every counter edit stores its value under the number-field rule, then marks the pilot
// changed and recomputes the kills total.
class ShipKillsGroup : public QGroupBox, public ShowsItems {
    Q_OBJECT
public:
    ShipKillsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                   std::function<void()> updateKillsTotal, QWidget* parent = nullptr);

    // Refresh step: the counters in index order, Edit9 first.
    void showCounters();

    [[nodiscard]] std::optional<FieldPlace> placeOf(const pilot::RecordItem& item) const override;

protected:
    // The labels are narrowed where their names would not fit the group's font.
    bool event(QEvent* event) override;

private:
    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
    std::function<void()> m_updateKillsTotal;
    std::array<NumberField*, pilot::kShipKillCounters> m_counters{};
    std::array<QLabel*, pilot::kShipKillCounters> m_labels{};
};

}  // namespace editor
