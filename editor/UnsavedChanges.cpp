// What keeps the user's work from being lost: the question before unsaved changes would be
// dropped (Close, Open, New Pilot, a dropped file) and the check of the file on disk each
// time the window becomes active again.
#include <QCloseEvent>
#include <QFileInfo>

#include "BattleStatsGroup.h"
#include "RecordItems.h"
#include "TForm1.h"
#include "TForm2.h"

namespace editor {

namespace {

// The question names this many of the fields Save would change, then how many more.
constexpr std::size_t kNamedChanges = 5;

}  // namespace

bool TForm1::unsaved() const {
    return m_battle->withShownFields(m_record) != m_cleanRecord;
}

QString TForm1::shownFileName() const {
    return m_currentFileName.isEmpty() ? QStringLiteral("Untitled")
                                       : QFileInfo(m_currentFileName).fileName();
}

QWidget* TForm1::dialogParent() {
    if (m_bsfForm != nullptr && m_bsfForm->isVisible()) {
        return m_bsfForm;
    }
    return this;
}

// Save goes on only when the record was written: a failed or cancelled save, or a Save As
// that wrote the text report instead, leaves the changes unsaved and the window as it is.
bool TForm1::maybeSave() {
    if (!unsaved()) {
        return true;
    }
    const QString question = QStringLiteral("Save changes to %1?").arg(shownFileName());
    QStringList detail = {QStringLiteral("Save would change:")};
    for (const std::string& line :
         pilot::changeLines(m_cleanRecord, m_battle->withShownFields(m_record), kNamedChanges)) {
        detail.append(QString::fromStdString(line));
    }
    switch (m_dialogs.askSaveChanges(dialogParent(), question, detail.join(u'\n'))) {
        case ui::SaveChoice::Save:
            SaveTFR1Click();
            return !unsaved();
        case ui::SaveChoice::Discard:
            return true;
        case ui::SaveChoice::Cancel:
            return false;
    }
    return false;
}

// The menu's and popup's Close, the close box and the end of the desktop session all come
// here.
void TForm1::closeEvent(QCloseEvent* event) {
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    if (m_bsfForm != nullptr) {
        m_bsfForm->close();
    }
    QMainWindow::closeEvent(event);
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        checkFileOnDisk();
    }
}

void TForm1::openFile(const QString& path) {
    if (maybeSave()) {
        LoadPilotFile(path);
    }
}

}  // namespace editor
