// The storage commands of the editor window: open, save, save as (pilot file or text
// report) and New Pilot.
#include <filesystem>
#include <string_view>
#include <variant>

#include <QFile>

#include "BattleStatsGroup.h"
#include "PilotFileIO.h"
#include "PilotReport.h"
#include "TForm1.h"

namespace editor {

namespace {

constexpr int kTextFileType = 1;  // "Text File" in the Save dialog; 0 is "TFR File"
constexpr qsizetype kExtensionLength = 4;

// The file system's bytes of a name, as every file operation and the report's first line
// use them.
QByteArray nativeName(const QString& name) {
    return QFile::encodeName(name);
}

std::filesystem::path toPath(const QString& name) {
    return std::filesystem::path(nativeName(name).toStdString());
}

// Appends the extension unless the fourth character from the end is a point ("ace" becomes
// "ace.TFR", "ace.txt" stays); shorter names always get it.
QString withExtension(const QString& name, const QString& extension) {
    if (name.size() >= kExtensionLength && name.at(name.size() - kExtensionLength) == u'.') {
        return name;
    }
    return name + extension;
}

}  // namespace

void TForm1::setTitle() {
    setWindowTitle(QStringLiteral("Brevanta  [ ") + m_currentFileName + QStringLiteral(" ]"));
}

void TForm1::showError(const pilot::IoError& error) {
    m_dialogs.showError(this, QString::fromStdString(pilot::withClosingPeriod(error.message())));
}

// The file is read into a record of its own: a failed load leaves the record, the name, the
// title, the fields and the CHANGED mark as they were, so a later Save cannot write the
// shown pilot over the file that failed to load.
void TForm1::LoadPilotFile(const QString& path) {
    auto loaded = pilot::loadPilotFile(toPath(path));
    if (const auto* error = std::get_if<pilot::IoError>(&loaded)) {
        showError(*error);
        return;
    }
    m_record = std::get<pilot::PilotRecord>(loaded);
    m_currentFileName = path;
    setTitle();
    RefreshAllFields();
    ClearChanged();
}

void TForm1::OpenTFR1Click() {
    if (const auto choice = m_openDialog.execute(this, m_dialogs)) {
        LoadPilotFile(choice->path);
    }
}

bool TForm1::SavePilotFile(const QString& fileName) {
    m_battle->CommitBattleFields();
    if (const auto error = pilot::savePilotFile(toPath(fileName), m_record)) {
        showError(*error);
        return false;
    }
    return true;
}

// Before any Open, New Pilot or Save As there is no name to save under: ask for one.
void TForm1::SaveTFR1Click() {
    if (m_currentFileName.isEmpty()) {
        SaveAs1Click();
        return;
    }
    if (SavePilotFile(m_currentFileName)) {
        ClearChanged();
    }
}

// The type chosen in the dialog decides what is written, never the extension typed.
void TForm1::SaveAs1Click() {
    const auto choice = m_saveDialog.execute(this, m_dialogs);
    if (!choice) {
        return;
    }
    if (choice->filterIndex == kTextFileType) {
        saveReport(choice->path);
    } else {
        saveRecordAs(choice->path);
    }
}

// A failed write keeps the previous name, which the title still shows.
void TForm1::saveRecordAs(const QString& chosenName) {
    const QString fileName = withExtension(chosenName, QStringLiteral(".TFR"));
    if (!SavePilotFile(fileName)) {
        return;
    }
    m_currentFileName = fileName;
    setTitle();
    ClearChanged();
}

// The report replaces an existing file only once it is complete. Afterwards the name points
// at the pilot file beside the report ("ace.TXT" becomes "ace.TFR"), so a later Save never
// writes over the report; a failed write keeps the previous name. The CHANGED mark stays:
// the record itself was not saved.
void TForm1::saveReport(const QString& chosenName) {
    const QString reportName = withExtension(chosenName, QStringLiteral(".TXT"));
    m_battle->CommitBattleFields();
    const QByteArray reportPath = nativeName(reportName);
    const std::string text = reports::pilotReport(
        m_record,
        std::string_view(reportPath.constData(), static_cast<std::size_t>(reportPath.size())));
    if (const auto error = pilot::writeFileSafely(toPath(reportName), text)) {
        showError(*error);
        return;
    }
    m_currentFileName =
        reportName.left(reportName.size() - kExtensionLength) + QStringLiteral(".TFR");
    setTitle();
}

void TForm1::ToolbarButton974Click() {
    m_currentFileName = QStringLiteral("Noname.TFR");
    m_record.InitNewPilot();
    RefreshAllFields();
    ClearChanged();
    setTitle();
}

}  // namespace editor
