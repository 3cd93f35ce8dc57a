#include "TForm2.h"

#include "PilotRecord.h"

namespace reports {

// Skeleton: the form window is filled in by its own change.
TForm2::TForm2(const pilot::PilotRecord& record, ui::DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent), m_record(record), m_dialogs(dialogs) {
    setWindowTitle(QStringLiteral("Battle Submission Form"));
}

void TForm2::handOver(const BsfHandOver&) {}
void TForm2::BitBtn1Click() {}
void TForm2::BitBtn2Click() {}

}  // namespace reports
