#pragma once

#include <vector>

#include <QDialog>

#include "RecordChecks.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace editor {

class FieldMap;

// The list of the record's problems: severity, field and message, one row each. Activating
// a row (Enter, a double click, "Go to Field") chooses the battle, craft or mission it
// belongs to and puts the focus into its control; a row whose value no field of the window
// shows (a spare craft slot) says so. Where a problem has one sure remedy, the list offers
// it ("Recompute Total Score"); the window applies it as one step that Undo takes back. Not
// modal: the list stays open beside the window and follows its problems.
class ProblemsDialog : public QDialog {
    Q_OBJECT
public:
    ProblemsDialog(const FieldMap& places, QWidget* parent);

    void setProblems(const std::vector<pilot::Problem>& problems);

Q_SIGNALS:
    // The remedy and its name ("Recompute Total Score"), for Undo.
    void fixRequested(pilot::Fix fix, const QString& name);

private:
    [[nodiscard]] const pilot::Problem* currentProblem() const;
    void showCurrent();
    void goToCurrent();
    void fixCurrent();

    const FieldMap& m_places;
    std::vector<pilot::Problem> m_problems;
    QTreeWidget* m_list = nullptr;
    QLabel* m_note = nullptr;
    QPushButton* m_goTo = nullptr;
    QPushButton* m_fix = nullptr;
};

}  // namespace editor
