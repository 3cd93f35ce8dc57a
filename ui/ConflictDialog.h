#pragma once

#include <vector>

#include <QDialog>

#include "DialogService.h"

class QTableWidget;

namespace ui {

// The fields that both the user and another program changed, each with its value as it
// was, as the user made it and as the other program wrote it. The user keeps their own
// value or takes the other program's, row by row or for all rows; every row keeps the user's
// value until decided otherwise. Merge takes the choices, Cancel drops them.
class ConflictDialog : public QDialog {
    Q_OBJECT
public:
    ConflictDialog(std::vector<ConflictRow> rows, QWidget* parent);

    // For each row, whether the other program's value is taken.
    [[nodiscard]] const std::vector<bool>& takesTheirs() const { return m_theirs; }

private:
    // Decides the selected rows, or every row.
    void choose(bool theirs, bool everyRow);
    void showChoice(int row);

    std::vector<ConflictRow> m_rows;
    std::vector<bool> m_theirs;
    QTableWidget* m_table = nullptr;
};

}  // namespace ui
