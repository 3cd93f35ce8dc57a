#pragma once

#include <functional>

#include <QGroupBox>

class QComboBox;
class QLineEdit;
namespace pilot {
class PilotRecord;
}

namespace editor {

class NumberField;

// " General Pilot Stats ": rank, secret order, difficulty and status selectors, then the
// score, kill, capture, shot, craft-lost and skill fields.
class GeneralStatsGroup : public QGroupBox {
    Q_OBJECT
public:
    GeneralStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                      QWidget* parent = nullptr);

    // Refresh steps, called by the window in its fixed order.
    void showSelectors();  // the four selectors; values outside a list leave it alone
    void showCounts();     // total score, kills, captures, shots, hits, craft lost
    void showSkill();

    // Show the stored total after it was recomputed (runs the field's rule on a change).
    void showTotalScore();
    void showKills();

private:
    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
};

}  // namespace editor
