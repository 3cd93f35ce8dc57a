// What Undo keeps of the window and puts back, and a whole record put into the window as
// one step.
#include <algorithm>
#include <span>
#include <vector>

#include <QSignalBlocker>

#include "BattleStatsGroup.h"
#include "CombatChamberGroup.h"
#include "EditHistory.h"
#include "GeneralStatsGroup.h"
#include "ShipKillsGroup.h"
#include "TForm1.h"
#include "TrainingGroup.h"

namespace editor {

namespace {

// The fields behind the selectors of the training, combat chamber and battle groups.
constexpr std::array kTrainingFields = {pilot::Field::TrainingScore, pilot::Field::TrainingLevel};
constexpr std::array kCombatFields = {pilot::Field::CombatScore, pilot::Field::CombatCompleted};
constexpr std::array kBattleFields = {
    pilot::Field::BattleStatus, pilot::Field::BattleLastMission, pilot::Field::BattleSecondaryGoals,
    pilot::Field::BattleBonusGoals, pilot::Field::BattleMissionScore};

// Whether any byte of the fields differs between the two records.
bool differIn(const pilot::PilotRecord& a, const pilot::PilotRecord& b,
              std::span<const pilot::Field> fields) {
    return std::ranges::any_of(fields, [&](pilot::Field field) {
        const pilot::FieldInfo& info = pilot::fieldInfo(field);
        const auto begin = static_cast<std::ptrdiff_t>(info.offset);
        const auto end = begin + static_cast<std::ptrdiff_t>(info.size());
        return !std::equal(a.bytes().begin() + begin, a.bytes().begin() + end,
                           b.bytes().begin() + begin);
    });
}

}  // namespace

WindowState TForm1::currentState() const {
    return {m_record, m_battle->withShownFields(m_record), FieldsView::capture(recordGroups()),
            m_changedFlag};
}

// Puts back what the window held and showed, running no field rule; a group keeps what it
// shows now when the step left its fields alone and it shows something else (another
// battle, craft or mission chosen since). Those fields hold the same values in both states,
// so the group shows them rightly; the ticks of the battle that state showed are committed
// into the record, as a switch to the battle kept would have committed them.
void TForm1::showState(const WindowState& state, const WindowState& other) {
    const std::array<std::pair<QWidget*, std::span<const pilot::Field>>, 3> selecting = {{
        {m_training, kTrainingFields},
        {m_combat, kCombatFields},
        {m_battle, kBattleFields},
    }};
    std::vector<std::pair<QWidget*, FieldsView>> shownNow;
    for (const auto& [group, fields] : selecting) {
        if (!differIn(state.pending, other.pending, fields)) {
            shownNow.emplace_back(group, FieldsView::capture(std::span(&group, 1)));
        }
    }
    m_record = state.record;
    state.fields.restore(recordGroups());
    for (const auto& [group, view] : shownNow) {
        if (FieldsView::capture(std::span(&group, 1)) != view) {
            view.restore(std::span(&group, 1));
            if (group == m_battle) {
                m_record = state.pending;
            }
        }
    }
    m_battle->adoptShownBattle();
    if (state.changedMark) {
        MarkChanged();
    } else {
        ClearChanged();
    }
    m_problemCheck.request();
}

void TForm1::putRecord(const pilot::PilotRecord& record, const QString& stepName) {
    m_record = record;
    {
        // The shown values are set from code with every control's signals blocked, so that
        // no rule stores, resets or recomputes anything.
        std::vector<QSignalBlocker> blocked;
        for (QWidget* group : recordGroups()) {
            for (QWidget* control : group->findChildren<QWidget*>()) {
                blocked.emplace_back(control);
            }
        }
        m_general->showSelectors();
        m_general->showCounts();
        m_general->showSkill();
        m_training->TrainingShipBoxChange();
        m_combat->showSelectedMission();
        m_battle->ShowBattle();
        m_shipKills->showCounters();
    }
    MarkChanged();
    m_problemCheck.request();
    m_history->commandDone(stepName);
}

}  // namespace editor
