#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include <QGroupBox>

namespace pilot {
class PilotRecord;
}

namespace editor {

// " Battle Stats ": one of the 20 battles at a time, with its status, eight mission scores,
// secondary and bonus goal boxes and the last successfully completed mission. Goal ticks
// reach the record only through CommitBattleFields.
class BattleStatsGroup : public QGroupBox {
    Q_OBJECT
public:
    BattleStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                     std::function<void()> updateTotalScore, QWidget* parent = nullptr);

    // Refresh steps around the other groups' steps: untick the goal boxes; select battle 1
    // and show its scores; show its goals, status and last completed mission.
    void uncheckGoals();
    void showFirstBattleScores();
    void showFirstBattleDetails();

    // Writes the shown scores and goal boxes into the slots of the current battle.
    void CommitBattleFields();

    [[nodiscard]] std::size_t currentBattle() const;
    // The battle selected in BattleNRBox1, if any (handed to the submission form).
    [[nodiscard]] std::optional<std::size_t> selectedBattle() const;

private:
    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
    std::function<void()> m_updateTotalScore;
};

}  // namespace editor
