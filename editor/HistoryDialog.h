#pragma once

#include <vector>

#include <QDialog>
#include <QString>

#include "History.h"
#include "ShownRecord.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace ui {
class ComparisonView;
class DialogService;
}  // namespace ui

namespace editor {

// File > History...: the kept versions of the pilot shown, newest first, with the time each
// was kept, where it came from and how many fields differ from the record the window shows;
// the comparison of the selected version with that record; Restore puts the version into
// the window, Take the selected fields, each as one undo step (the file changes only at
// Save); Open Folder shows the pilot's history folder.
class HistoryDialog : public QDialog {
    Q_OBJECT
public:
    // `note` says why there are no versions, where that is so.
    HistoryDialog(const QString& pilotName, std::vector<pilot::history::Entry> versions,
                  const QString& note, const QString& folder, ShownRecord shown,
                  ui::DialogService& dialogs, QWidget* parent);

private:
    void fillList();
    void showSelected();
    void restore();
    [[nodiscard]] const pilot::history::Entry* selected() const;
    [[nodiscard]] static QString timeText(const pilot::history::Entry& version);

    std::vector<pilot::history::Entry> m_versions;
    QString m_folder;
    ShownRecord m_shown;
    ui::DialogService& m_dialogs;
    QTreeWidget* m_list = nullptr;
    ui::ComparisonView* m_view = nullptr;
    QPushButton* m_restore = nullptr;
};

}  // namespace editor
