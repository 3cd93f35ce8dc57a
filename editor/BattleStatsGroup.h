#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include <QGroupBox>

#include "FieldPlaces.h"
#include "FieldTable.h"
#include "PilotRecord.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;

namespace editor {

class NumberField;

// " Battle Stats ": one of the 20 battles at a time, with its status, eight mission scores,
// secondary and bonus goal boxes and the last successfully completed mission. Goal ticks
// reach the record only through CommitBattleFields.
class BattleStatsGroup : public QGroupBox, public ShowsItems {
    Q_OBJECT
public:
    BattleStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                     std::function<void()> updateTotalScore, QWidget* parent = nullptr);

    // Refresh steps around the other groups' steps: select battle 1 and show its scores;
    // show its goals, status and last completed mission.
    void showFirstBattleScores();
    void showFirstBattleDetails();

    // Writes the shown scores and goal boxes into the slots of the current battle.
    void CommitBattleFields();
    // The record as CommitBattleFields would leave it: what the next Save writes.
    [[nodiscard]] pilot::PilotRecord withShownFields(pilot::PilotRecord record) const;
    // The battle selector was put back to a battle shown before (by Undo): that battle is
    // the current one again, with nothing committed or shown.
    void adoptShownBattle();
    // ShowBattle of the battle shown: scores, goals, status and last mission.
    void ShowBattle();

    // The battle selected in BattleNRBox1, if any (handed to the submission form).
    [[nodiscard]] std::optional<std::size_t> selectedBattle() const;

    [[nodiscard]] std::optional<FieldPlace> placeOf(const pilot::RecordItem& item) const override;

private:
    // The secondary goals (CheckBox1..8) and the bonus goals (CheckBox9..16): box of
    // mission m+1 <-> bit m of the battle's byte.
    static constexpr std::size_t kGoalColumns = 2;
    using GoalColumn = std::array<QCheckBox*, pilot::kMissions>;

    // The controls that show an item of the battle shown.
    [[nodiscard]] std::vector<QWidget*> controlsOf(const pilot::RecordItem& item) const;
    void buildControls();
    // The current battle, which the mission controls name ("Battle 4, mission 3 score").
    void setCurrentBattle(std::size_t battle);
    void nameMissionControls() const;
    void writeShownFields(pilot::PilotRecord& record) const;
    void chainTabOrder() const;

    void BattleNRBox1Change(int index);
    void BattleStatusBox1Change(int index);
    void RadioButtonClick(std::size_t mission, bool checked);
    void CheckBox17Click(bool ticked);

    void showScores();
    void showDetails();
    void showGoals();
    void showStatus();
    void showLastMission();
    void unselectRadios();

    pilot::PilotRecord& m_record;
    std::function<void()> m_markChanged;
    std::function<void()> m_updateTotalScore;
    std::size_t m_currentBattle = 0;

    QComboBox* m_battleBox = nullptr;
    QComboBox* m_statusBox = nullptr;
    std::array<NumberField*, pilot::kMissions> m_scores{};
    std::array<GoalColumn, kGoalColumns> m_goals{};
    std::array<QRadioButton*, pilot::kMissions> m_radios{};
    QButtonGroup* m_radioGroup = nullptr;
    QCheckBox* m_noMissionBox = nullptr;
};

}  // namespace editor
