#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include <QGroupBox>

namespace pilot {
class PilotRecord;
}

namespace editor {

// " Combat Chamber ": ship and mission selectors, the mission's score and completed box.
class CombatChamberGroup : public QGroupBox {
    Q_OBJECT
public:
    CombatChamberGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                       QWidget* parent = nullptr);

    // Refresh steps: "TIE Fighter", "Mission 1" and its score; later its completed box.
    void showFirstShipAndMission();
    void showCompleted();

    // The craft selected in CombatShipBox1, if any (handed to the submission form).
    [[nodiscard]] std::optional<std::size_t> selectedCraft() const;

private:
    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
};

}  // namespace editor
