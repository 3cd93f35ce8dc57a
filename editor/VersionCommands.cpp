// What the editor window keeps of its pilots and compares them with: the history of the pilot
// shown, the comparison with another pilot file, and the note of a version not kept.
#include <variant>

#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>

#include "BattleStatsGroup.h"
#include "CompareDialog.h"
#include "FileNames.h"
#include "HistoryDialog.h"
#include "PilotFileIO.h"
#include "TForm1.h"
#include "VersionKeeper.h"

namespace editor {

namespace {

// The dialog belongs to the window, which it keeps from edits while it is open, and goes
// when it is closed.
void openDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace

void TForm1::CompareWith1Click() {
    const auto choice = m_compareDialog.execute(dialogParent(), m_dialogs);
    if (!choice) {
        return;
    }
    auto loaded = pilot::loadPilotFile(toPath(choice->path));
    if (const auto* error = std::get_if<pilot::IoError>(&loaded)) {
        showError(*error, choice->path);
        return;
    }
    openDialog(new CompareDialog(QFileInfo(choice->path).fileName(),
                                 std::get<pilot::PilotRecord>(loaded), shownRecord(),
                                 dialogParent()));
}

void TForm1::History1Click() {
    std::vector<pilot::history::Entry> versions;
    QString note;
    QString folder;
    auto history = pilot::history::historyOf(toPath(m_currentFileName));
    if (m_currentFileName.isEmpty()) {
        note = QStringLiteral("The pilot shown has no file yet, and so no versions.");
    } else if (const auto* none = std::get_if<pilot::history::KeepFailure>(&history)) {
        note = QStringLiteral("No versions are kept: ") + QString::fromStdString(none->reason);
    } else {
        const auto& found = std::get<pilot::history::PilotHistory>(history);
        folder = QString::fromStdString(found.folder().string());
        auto entries = found.entries();
        if (const auto* error = std::get_if<pilot::IoError>(&entries)) {
            note = QStringLiteral("The versions cannot be read: ") +
                   QString::fromStdString(pilot::withClosingPeriod(error->message()));
        } else {
            versions = std::get<std::vector<pilot::history::Entry>>(std::move(entries));
        }
    }
    openDialog(new HistoryDialog(shownFileName(), std::move(versions), note, folder, shownRecord(),
                                 m_dialogs, dialogParent()));
}

ShownRecord TForm1::shownRecord() {
    return {[this] { return m_battle->withShownFields(m_record); },
            [this](const pilot::PilotRecord& record, const QString& stepName) {
                putRecord(record, stepName);
            }};
}

// The panel shows as much of the reason as fits; its tooltip the whole and where.
void TForm1::showKeepFailure(const std::optional<pilot::history::KeepFailure>& failure) {
    if (!failure) {
        m_keepNotice->clear();
        m_keepNotice->setToolTip({});
        m_keepNotice->setAccessibleName(QStringLiteral("First status panel, empty"));
        return;
    }
    const QString text =
        QStringLiteral("No earlier version kept: ") + QString::fromStdString(failure->reason);
    m_keepNotice->setText(m_keepNotice->fontMetrics().elidedText(
        text, Qt::ElideRight, m_keepNotice->contentsRect().width()));
    m_keepNotice->setToolTip(text + QStringLiteral("\n") +
                             QString::fromStdString(failure->concerning.string()));
    m_keepNotice->setAccessibleName(text);
}

}  // namespace editor
