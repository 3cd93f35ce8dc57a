#pragma once

#include <span>
#include <vector>

#include <QDialog>

#include "FieldSearch.h"

class QLineEdit;
class QListWidget;

namespace editor {

// Go to Field: a search box over every field's names with the fields it finds listed below
// it, the best first. Up and Down move in the list while the box keeps the focus; Enter or
// a double click chooses the field, whose battle, craft or mission is then chosen and whose
// control takes the focus.
class GoToFieldDialog : public QDialog {
    Q_OBJECT
public:
    GoToFieldDialog(const FieldMap& places, std::span<QWidget* const> groups, QWidget* parent);

    // Shows the box empty, ready for a name.
    void start();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& query);
    void choose();

    FieldSearch m_search;
    std::vector<const FieldTarget*> m_found;
    QLineEdit* m_query = nullptr;
    QListWidget* m_list = nullptr;
};

}  // namespace editor
