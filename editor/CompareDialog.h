#pragma once

#include <QDialog>
#include <QString>

#include "PilotRecord.h"
#include "ShownRecord.h"

namespace ui {
class ComparisonView;
}

namespace editor {

// File > Compare With...: every field in which another pilot file differs from the record
// the window shows, with Take for the selected fields.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(const QString& otherName, const pilot::PilotRecord& other, ShownRecord shown,
                  QWidget* parent);

private:
    void refresh();

    QString m_otherName;
    pilot::PilotRecord m_other;
    ShownRecord m_shown;
    ui::ComparisonView* m_view = nullptr;
};

// The column of the record the window shows.
[[nodiscard]] QString shownColumnTitle();

}  // namespace editor
