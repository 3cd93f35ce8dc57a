// The problems of the record in the editor window: marks where they are, their count, their
// list with its remedies, and Go to Field, which finds any field by its name.
#include <array>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "BattleStatsGroup.h"
#include "BsfGenerationGroup.h"
#include "CombatChamberGroup.h"
#include "GeneralStatsGroup.h"
#include "GoToFieldDialog.h"
#include "ProblemMarks.h"
#include "ProblemsDialog.h"
#include "ShipKillsGroup.h"
#include "TForm1.h"
#include "TrainingGroup.h"

namespace editor {

void TForm1::createProblemMarks(QLabel& countPanel) {
    m_fieldMap = FieldMap({m_general, m_training, m_combat, m_battle, m_shipKills});
    m_problems = new ProblemMarks(m_record, m_fieldMap, countPanel, this);
    connect(m_problems, &ProblemMarks::listRequested, this, &TForm1::ProblemsClick);
}

// Connected after the groups' own rules, so that each change has run when the record is
// checked: a choice that shows another battle, craft or mission moves marks to or from the
// selectors too.
void TForm1::watchForProblems(QWidget* group) {
    const auto check = [this] { m_problemCheck.request(); };
    for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (auto* box = qobject_cast<QComboBox*>(child)) {
            connect(box, &QComboBox::activated, this, check);
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            connect(button, &QAbstractButton::toggled, this, check);
        } else if (auto* edit = qobject_cast<QLineEdit*>(child)) {
            connect(edit, &QLineEdit::textChanged, this, check);
        }
    }
}

void TForm1::checkProblems() {
    m_problems->update();
}

const std::vector<pilot::Problem>& TForm1::problems() const {
    return m_problems->problems();
}

void TForm1::ProblemsClick() {
    if (m_problemsDialog == nullptr) {
        m_problemsDialog = new ProblemsDialog(m_fieldMap, this);
        // A hidden list is filled when it is shown again.
        connect(m_problems, &ProblemMarks::problemsChanged, m_problemsDialog, [this] {
            if (m_problemsDialog->isVisible()) {
                m_problemsDialog->setProblems(m_problems->problems());
            }
        });
        connect(m_problemsDialog, &ProblemsDialog::fixRequested, this, &TForm1::applyFix);
    }
    if (!m_problemsDialog->isVisible()) {
        m_problemsDialog->setProblems(m_problems->problems());
    }
    m_problemsDialog->show();
    m_problemsDialog->raise();
    m_problemsDialog->activateWindow();
}

void TForm1::GoToFieldClick() {
    if (m_goToField == nullptr) {
        const std::array<QWidget*, 6> groups = {m_general, m_training,  m_combat,
                                                m_battle,  m_shipKills, m_bsfGeneration};
        m_goToField = new GoToFieldDialog(m_fieldMap, groups, this);
    }
    m_goToField->start();
}

// The shown battle's pending goal ticks are part of what is fixed, so that none is lost.
void TForm1::applyFix(pilot::Fix fix, const QString& stepName) {
    pilot::PilotRecord fixed = m_battle->withShownFields(m_record);
    pilot::applyFix(fixed, fix);
    putRecord(fixed, stepName);
}

}  // namespace editor
