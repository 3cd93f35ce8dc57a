#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include <QMainWindow>
#include <QStringList>

#include "DeferredUpdate.h"
#include "DialogService.h"
#include "FieldPlaces.h"
#include "FileStamp.h"
#include "History.h"
#include "IoError.h"
#include "PilotFileIO.h"
#include "PilotRecord.h"
#include "RecordChecks.h"
#include "ShownRecord.h"

class QGroupBox;
class QLabel;
class QMenu;

namespace bsfwindow {
class TForm2;
}

namespace editor {

class BattleStatsGroup;
class BsfGenerationGroup;
class CombatChamberGroup;
class DiskChangeBar;
class FileWatch;
class EditHistory;
class GeneralStatsGroup;
class GoToFieldDialog;
class OpeningNotice;
class ProblemMarks;
class ProblemsDialog;
class ShipKillsGroup;
class TrainingGroup;
struct WindowState;

// The editor window: owns the one pilot record of the run, shows every value of it in six
// groups of fields and carries the file commands, the submission form and the About box.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `arguments` are the command-line arguments after the program name: exactly one names
    // a pilot file to load when the window is first shown.
    TForm1(QStringList arguments, ui::DialogService& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    [[nodiscard]] const pilot::PilotRecord& record() const { return m_record; }
    [[nodiscard]] const QString& CurrentFileName() const { return m_currentFileName; }
    [[nodiscard]] bool changed() const { return m_changedFlag; }
    // Whether what the next Save would write differs from the bytes last loaded or saved,
    // or set by New Pilot or at start-up. The CHANGED mark plays no part in it.
    [[nodiscard]] bool unsaved() const;

    // Commands; the menu, toolbar and popup entries all run these.
    void OpenTFR1Click();
    void SaveTFR1Click();
    void SaveAs1Click();
    void ToolbarButton974Click();  // New Pilot
    void CompareWith1Click();
    void History1Click();
    void BSF1Click();
    void FORMClick();  // About
    void Close1Click();
    // The list of problems, and the search of a field by its name (ProblemCommands.cpp).
    void ProblemsClick();
    void GoToFieldClick();

    // The activation routine: loads the command-line file or refreshes the fields. Runs
    // once, right after the window is first shown.
    void Button1Click();

    void LoadPilotFile(const QString& path);
    // Opens a file given otherwise than through the Open dialog (dropped on the window),
    // after the question about unsaved changes.
    void openFile(const QString& path);
    void RefreshAllFields();
    void MarkChanged();
    void ClearChanged();
    void UpdateTotalScore();
    void UpdateKillsTotal();
    // Puts `record` into the window as it stands, byte for byte: the fields show its values
    // for the battle, craft and mission shown, and no field rule runs (a total that is not
    // the sum of its parts, or a stored reset value, stays as it is). One undo step named
    // `stepName`, none when what Save would write does not change. The CHANGED mark shows.
    void putRecord(const pilot::PilotRecord& record, const QString& stepName);
    // Applies a problem's remedy to what Save would write, as one undo step `stepName`.
    void applyFix(pilot::Fix fix, const QString& stepName);
    // The problems the window marks: the record's checks and what the last load changed.
    [[nodiscard]] const std::vector<pilot::Problem>& problems() const;

    // The Battle Submission Form window, made hidden when it is first needed: nothing of it
    // is shown before the first hand-over. The hand-over reaches it here, and so do the
    // tests that drive the form the editor opened.
    [[nodiscard]] bsfwindow::TForm2* bsfForm();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Window layout (TForm1.cpp).
    void fitToClientArea();
    void createGroups(QWidget* client);
    // Checks the record again after every action on the group's controls (ProblemCommands.cpp).
    void watchForProblems(QWidget* group);
    void createProblemMarks(QLabel& countPanel);
    // Returns the bar; `countPanel` is its third panel, which counts the problems.
    [[nodiscard]] QWidget* createStatusBar(QWidget* parent, QLabel*& countPanel);

    // The groups that show the record (all but " BSF Generation ").
    [[nodiscard]] std::array<QWidget*, 5> recordGroups() const;

    // Command surfaces (MainCommands.cpp).
    void createMenus();
    void createToolBar();
    void createPopupMenu1();
    void createContextMenuKey();
    void offerPopup(QWidget* widget);

    // Storage (FileCommands.cpp).
    // True when the record was written.
    bool SavePilotFile(const QString& fileName, pilot::ExpectedFile expected,
                       pilot::history::Origin origin = pilot::history::Origin::Replaced);
    void saveRecordAs(const QString& chosenName);
    void saveReport(const QString& chosenName);
    void showError(const pilot::IoError& error, const QString& fileName);
    // Says in the first status panel why no earlier version was kept, until the next load,
    // save or New Pilot; empties it when none was to be kept or it was kept.
    void showKeepFailure(const std::optional<pilot::history::KeepFailure>& failure);
    // The record as the comparison dialogs see and change it (VersionCommands.cpp).
    [[nodiscard]] ShownRecord shownRecord();
    // The file as a command loaded, saved or created it: the bytes `unsaved()` compares with
    // from now on and the file's stamp (none after New Pilot).
    struct CleanFile {
        pilot::PilotRecord bytes;
        std::optional<pilot::FileStamp> stamp;
    };
    // The one place where the current file changes: its name and the title that shows it,
    // and with `clean` the bytes and stamp of the file as it now is, the CHANGED mark gone.
    // Without it (a text report was written) the changes stay unsaved, and only what was
    // known of another name is forgotten.
    void setCurrentFile(const QString& fileName, std::optional<CleanFile> clean);

    // Unsaved changes and the file on disk (UnsavedChanges.cpp).
    // True when the current work may be replaced: nothing is unsaved, the user discards
    // it, or saves it.
    [[nodiscard]] bool maybeSave();
    // The name the questions use for the current file.
    [[nodiscard]] QString shownFileName() const;
    // The window to which the editor's dialogs belong: the form while it is shown, which
    // stays on top and would hide them otherwise.
    [[nodiscard]] QWidget* dialogParent();

    void showUnsavedEdits();

    // The file changed by another program (DiskChanges.cpp).
    // Shows or hides the notice that another program changed the current file.
    void checkFileOnDisk();
    // The current file as it is now, or nothing after an error box.
    [[nodiscard]] std::optional<pilot::LoadedPilot> readDisk();
    void takeDiskAsBase(const pilot::LoadedPilot& disk);
    void showFromDisk(const pilot::LoadedPilot& disk, const pilot::PilotRecord& shown,
                      const QString& stepName);
    // Merges the file's changes with the window's, the conflicts decided by the user; false
    // when the file could not be read or the user cancelled.
    bool mergeWithDisk();
    // Shows the file as it is now, the window's changes dropped (Undo brings them back).
    void reloadFromDisk();
    void overwriteDisk();
    [[nodiscard]] bool holdsNothingNew(const pilot::LoadedPilot& disk,
                                       std::int64_t knownSize) const;
    [[nodiscard]] bool decideOverChanged(const QString& fileName,
                                         const pilot::ChangedOnDisk& changed,
                                         pilot::ExpectedFile& expected,
                                         pilot::history::Origin& origin);

    void checkProblems();

    // What Undo keeps and puts back (WindowStates.cpp).
    [[nodiscard]] WindowState currentState() const;
    // Shows `state`, reached by a step from or to `other`. A group that picks what it shows
    // (battle, training craft, combat craft and mission) keeps what it shows now unless the
    // step changed its fields: undoing a general value keeps the battle in view.
    void showState(const WindowState& state, const WindowState& other);

    QStringList m_arguments;
    ui::DialogService& m_dialogs;
    pilot::PilotRecord m_record;
    QString m_currentFileName;
    bool m_changedFlag = false;
    pilot::PilotRecord m_cleanRecord;             // the bytes `unsaved()` compares with
    std::optional<pilot::FileStamp> m_fileStamp;  // CurrentFileName as last loaded or saved
    bool m_activated = false;
    bool m_centred = false;

    ui::FileDialog m_openDialog;
    ui::FileDialog m_saveDialog;
    ui::FileDialog m_compareDialog;

    GeneralStatsGroup* m_general = nullptr;
    TrainingGroup* m_training = nullptr;
    CombatChamberGroup* m_combat = nullptr;
    BattleStatsGroup* m_battle = nullptr;
    ShipKillsGroup* m_shipKills = nullptr;
    BsfGenerationGroup* m_bsfGeneration = nullptr;
    QLabel* m_changedPanel = nullptr;
    QLabel* m_keepNotice = nullptr;
    DiskChangeBar* m_diskChangeBar = nullptr;
    FileWatch* m_fileWatch = nullptr;
    OpeningNotice* m_openingNotice = nullptr;
    FieldMap m_fieldMap;
    ProblemMarks* m_problems = nullptr;
    ProblemsDialog* m_problemsDialog = nullptr;  // made when first opened
    GoToFieldDialog* m_goToField = nullptr;      // made when first opened
    EditHistory* m_history = nullptr;
    DeferredUpdate m_totalScoreUpdate{[this] { UpdateTotalScore(); }};
    DeferredUpdate m_killsTotalUpdate{[this] { UpdateKillsTotal(); }};
    DeferredUpdate m_problemCheck{[this] { checkProblems(); }};
    QMenu* m_popup = nullptr;
    bsfwindow::TForm2* m_bsfForm = nullptr;
};

}  // namespace editor
