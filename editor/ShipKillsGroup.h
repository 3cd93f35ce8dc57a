#pragma once

#include <functional>

#include <QGroupBox>

namespace pilot {
class PilotRecord;
}

namespace editor {

// " Ship Kills ": the 70 kill counters, one per craft type, in a grid of four columns.
class ShipKillsGroup : public QGroupBox {
    Q_OBJECT
public:
    ShipKillsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                   std::function<void()> updateKillsTotal, QWidget* parent = nullptr);

    // Refresh step: the counters in index order, Edit9 first.
    void showCounters();

private:
    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
    std::function<void()> m_updateKillsTotal;
};

}  // namespace editor
