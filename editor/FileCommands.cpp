// The storage commands of the editor window: open, save, save as (pilot file or text
// report) and New Pilot.
#include <filesystem>
#include <string_view>
#include <variant>

#include <QFile>
#include <QFileInfo>

#include "BattleStatsGroup.h"
#include "ByteFiles.h"
#include "DiskChangeBar.h"
#include "EditHistory.h"
#include "FileNames.h"
#include "FileWatch.h"
#include "OpeningNotice.h"
#include "PilotFileIO.h"
#include "PilotReport.h"
#include "ProblemMarks.h"
#include "TForm1.h"
#include "VersionKeeper.h"

namespace editor {

namespace {

constexpr int kTextFileType = 1;  // "Text File" in the Save dialog; 0 is "TFR File"
constexpr qsizetype kExtensionLength = 4;

// Appends the extension unless the fourth character from the end is a point ("ace" becomes
// "ace.TFR", "ace.txt" stays); shorter names always get it.
QString withExtension(const QString& name, const QString& extension) {
    if (name.size() >= kExtensionLength && name.at(name.size() - kExtensionLength) == u'.') {
        return name;
    }
    return name + extension;
}

}  // namespace

void TForm1::setCurrentFile(const QString& fileName, std::optional<CleanFile> clean) {
    if (clean) {
        m_cleanRecord = clean->bytes;
        m_fileStamp = std::move(clean->stamp);
        m_diskChangeBar->clear();
        m_openingNotice->dismiss();
        m_problems->clearCorrections();
        ClearChanged();
    } else if (fileName != m_currentFileName) {
        // What was loaded or saved under another name says nothing about this one.
        m_fileStamp.reset();
        m_diskChangeBar->clear();
    }
    m_currentFileName = fileName;
    m_fileWatch->watch(fileName);
    setWindowTitle(QStringLiteral("Brevanta  [ ") + fileName + QStringLiteral(" ]"));
}

// The message as the error box's main text, and the file as the second line: its full path,
// since a relative name resolves against a folder the user may not see.
void TForm1::showError(const pilot::IoError& error, const QString& fileName) {
    m_dialogs.showError(dialogParent(),
                        QString::fromStdString(pilot::withClosingPeriod(error.message())),
                        QFileInfo(fileName).absoluteFilePath());
}

// The file is read into a record of its own: a failed load leaves the record, the name, the
// title, the fields and the CHANGED mark as they were, so a later Save cannot write the
// shown pilot over the file that failed to load. A load starts a new undo history. The
// pilot's history keeps the bytes as they were opened, unless it holds them already: the
// game's latest progress is kept before the first edit is saved. What the refresh changed
// in the file's values (a total that was not the sum of its parts, a stored reset value) is
// said at once in a notice and kept in the list of problems.
void TForm1::LoadPilotFile(const QString& path) {
    auto loaded = pilot::loadPilotFileWithStamp(toPath(path));
    if (const auto* error = std::get_if<pilot::IoError>(&loaded)) {
        showError(*error, path);
        return;
    }
    const auto& [record, stamp] = std::get<pilot::LoadedPilot>(loaded);
    showKeepFailure(pilot::history::keepOpened(toPath(path), record));
    m_record = record;
    RefreshAllFields();
    setCurrentFile(path, CleanFile{record, stamp});
    m_history->restart();
    m_openingNotice->showChanges(record, m_record);
    m_problems->setCorrections(record, m_record);
}

// Asks about unsaved changes before the dialog, so that the answer is not taken for the
// choice of a file.
void TForm1::OpenTFR1Click() {
    if (!maybeSave()) {
        return;
    }
    if (const auto choice = m_openDialog.execute(dialogParent(), m_dialogs)) {
        LoadPilotFile(choice->path);
    }
}

// Writes what CommitBattleFields would leave in the record; the record takes it only once it
// is written, so a failed or cancelled save leaves the window as it was. Given the stamp of
// the file as last loaded or saved, it writes over a file another program changed since only
// as the user decides (decideOverChanged); expecting no file, over any file only when the
// user says so. What it writes over goes into the pilot's history first, under the file's
// lock, as a version of `origin`.
bool TForm1::SavePilotFile(const QString& fileName, pilot::ExpectedFile expected,
                           pilot::history::Origin origin) {
    const auto path = toPath(fileName);
    for (;;) {
        // Anew each round: a merge changes what is written.
        const pilot::PilotRecord pending = m_battle->withShownFields(m_record);
        pilot::history::ReplacedVersionKeeper keeper(path, origin);
        auto result = pilot::savePilotFileChecked(path, pending, expected, keeper.keeper());
        if (const auto* changed = std::get_if<pilot::ChangedOnDisk>(&result)) {
            if (!decideOverChanged(fileName, *changed, expected, origin)) {
                return false;
            }
            continue;
        }
        if (const auto* error = std::get_if<pilot::IoError>(&result)) {
            showError(*error, fileName);
            return false;
        }
        showKeepFailure(keeper.failure());
        m_record = pending;
        setCurrentFile(fileName, CleanFile{pending, std::get<pilot::FileStamp>(result)});
        m_history->markClean();
        return true;
    }
}

// Before any Open, New Pilot or Save As there is no name to save under: ask for one. Save
// writes without asking only over the file this window loaded or last saved; any other file
// of the name (after New Pilot, or a name a text report left) it replaces only when the user
// says so.
void TForm1::SaveTFR1Click() {
    if (m_currentFileName.isEmpty()) {
        SaveAs1Click();
        return;
    }
    SavePilotFile(m_currentFileName,
                  m_fileStamp ? pilot::ExpectedFile(*m_fileStamp) : pilot::NoFile{});
}

// The type chosen in the dialog decides what is written, never the extension typed.
void TForm1::SaveAs1Click() {
    const auto choice = m_saveDialog.execute(dialogParent(), m_dialogs);
    if (!choice) {
        return;
    }
    if (choice->filterIndex == kTextFileType) {
        saveReport(choice->path);
    } else {
        saveRecordAs(choice->path);
    }
}

// A failed write keeps the previous name, which the title still shows. The dialog has asked
// before replacing the file it names, which the history keeps all the same; a name the
// extension was added to here is another file, replaced only when the user says so.
void TForm1::saveRecordAs(const QString& chosenName) {
    const QString name = withExtension(chosenName, QStringLiteral(".TFR"));
    SavePilotFile(name,
                  name == chosenName ? pilot::ExpectedFile(pilot::AnyFile{}) : pilot::NoFile{});
}

// The report replaces an existing file only once it is complete. Afterwards the name points
// at the pilot file beside the report ("ace.TXT" becomes "ace.TFR"), so a later Save never
// writes over the report; a failed write keeps the previous name. The CHANGED mark stays:
// the record itself was not saved.
void TForm1::saveReport(const QString& chosenName) {
    const QString reportName = withExtension(chosenName, QStringLiteral(".TXT"));
    m_battle->CommitBattleFields();
    m_history->settle();
    const QByteArray reportPath = nativeName(reportName);
    const std::string text = reports::pilotReport(
        m_record,
        std::string_view(reportPath.constData(), static_cast<std::size_t>(reportPath.size())));
    if (const auto error = pilot::writeFileSafely(toPath(reportName), text)) {
        showError(*error, reportName);
        return;
    }
    setCurrentFile(reportName.left(reportName.size() - kExtensionLength) + QStringLiteral(".TFR"),
                   std::nullopt);
}

// Touches no file; starts a new history.
void TForm1::ToolbarButton974Click() {
    if (!maybeSave()) {
        return;
    }
    m_record.InitNewPilot();
    const pilot::PilotRecord created = m_record;
    RefreshAllFields();
    setCurrentFile(QStringLiteral("Noname.TFR"), CleanFile{created, std::nullopt});
    showKeepFailure(std::nullopt);
    m_history->restart();
}

}  // namespace editor
