#pragma once

#include <array>
#include <cstddef>
#include <functional>

#include <QGroupBox>

#include "FieldPlaces.h"
#include "FieldTable.h"

class QComboBox;
namespace pilot {
class PilotRecord;
}

namespace editor {

class NumberField;

// " General Pilot Stats ": rank, secret order, difficulty and status selectors, then the
// score, kill, capture, shot, craft-lost and skill fields.
class GeneralStatsGroup : public QGroupBox, public ShowsItems {
    Q_OBJECT
public:
    static constexpr std::size_t kSelectorCount = 4;
    static constexpr std::size_t kNumberFieldCount = 9;

    GeneralStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                      QWidget* parent = nullptr);

    // Refresh steps, called by the window in its fixed order.
    void showSelectors();  // the four selectors; values outside a list leave it alone
    void showCounts();     // total score, kills, captures, shots, hits, craft lost
    void showSkill();

    // Show the stored total after it was recomputed (runs the field's rule on a change).
    void showTotalScore();
    void showKills();

    [[nodiscard]] std::optional<FieldPlace> placeOf(const pilot::RecordItem& item) const override;

    // The user's choice of an entry: stores its position into the selector's byte.
    void RankBoxChange();
    void SecOrderBoxChange();
    void DifficultyBoxChange();
    void PilotStatusBoxChange();

private:
    void storeChoice(pilot::Field field);
    NumberField& numberField(pilot::Field field);

    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
    std::array<QComboBox*, kSelectorCount> m_selectors{};
    std::array<NumberField*, kNumberFieldCount> m_numberFields{};
};

}  // namespace editor
