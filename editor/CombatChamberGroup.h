#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include <QGroupBox>

#include "FieldPlaces.h"

class QCheckBox;
class QComboBox;
class QLabel;
namespace pilot {
class PilotRecord;
}

namespace editor {

class NumberField;

// " Combat Chamber ": ship and mission selectors, the mission's score and completed box.
// The mission selector, the score and its label appear with the first refresh or the first
// ship choice; the completed box stays disabled until then, as it addresses nothing before.
class CombatChamberGroup : public QGroupBox, public ShowsItems {
    Q_OBJECT
public:
    CombatChamberGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                       QWidget* parent = nullptr);

    // Refresh steps: "TIE Fighter", "Mission 1" and its score; later its completed box.
    void showFirstShipAndMission();
    void showCompleted();
    // The score and completed box of the craft and mission selected.
    void showSelectedMission();

    // The craft selected in CombatShipBox1, if any (handed to the submission form).
    [[nodiscard]] std::optional<std::size_t> selectedCraft() const;

    // The user's choices: show the selected ship's and mission's values.
    void CombatShipBox1Change();
    void CombatMissionBox1Change();
    // Any change of the completed box's state, the user's or the display's: stores 1 or 0
    // and marks nothing.
    void CheckBox18Click(bool checked);

    [[nodiscard]] std::optional<FieldPlace> placeOf(const pilot::RecordItem& item) const override;

private:
    struct Element {
        std::size_t craft;
        std::size_t mission;
    };
    [[nodiscard]] std::optional<Element> selectedElement() const;
    void revealMissionControls();

    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
    QComboBox* m_shipBox = nullptr;
    QComboBox* m_missionBox = nullptr;
    QLabel* m_scoreLabel = nullptr;
    NumberField* m_scoreField = nullptr;
    QCheckBox* m_completedBox = nullptr;
};

}  // namespace editor
