#include "BattleStatsGroup.h"

#include "PilotRecord.h"

namespace editor {

// Skeleton: filled in by the group's own change.
BattleStatsGroup::BattleStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged, std::function<void()> updateTotalScore, QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)), m_updateTotalScore(std::move(updateTotalScore)) {
    setTitle(QStringLiteral(" Battle Stats "));
}

void BattleStatsGroup::uncheckGoals() {}
void BattleStatsGroup::showFirstBattleScores() {}
void BattleStatsGroup::showFirstBattleDetails() {}
void BattleStatsGroup::CommitBattleFields() {}
std::size_t BattleStatsGroup::currentBattle() const { return 0; }
std::optional<std::size_t> BattleStatsGroup::selectedBattle() const { return std::nullopt; }

}  // namespace editor
