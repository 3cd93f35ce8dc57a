#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// How a file dialog is set up ("Load Pilotfile", "TFR Files (*.TFR)", "TFR", ...).
struct FileDialogOptions {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QStringList filters;  // one entry per type, "TFR File (*.TFR)"
    QString defaultSuffix;
    bool confirmOverwrite = false;  // ask before replacing an existing file
    bool confirmCreate = false;     // ask before creating a file that does not exist yet
};

// What a confirmed file dialog returns: the full path and the 0-based type chosen.
struct FileChoice {
    QString path;
    int filterIndex = 0;
};

// The answer to "Save changes to NAME?".
enum class SaveChoice { Save, Discard, Cancel };

// The answer to "NAME was changed by another program since it was opened." before a Save.
enum class ChangedFileChoice { Merge, Reload, Overwrite, Cancel };

// The captions of the answers to a file changed on disk, alike in the notice and in Save's
// question: "Drop My Changes and Reload" while there are unsaved edits, "Reload" otherwise;
// "Overwrite Their Changes"; "Merge".
[[nodiscard]] QString reloadCaption(bool unsavedEdits);
[[nodiscard]] QString overwriteCaption();
[[nodiscard]] QString mergeCaption();

// A field that both the user and another program changed, to different values: its name as
// the window shows it, its name in the record, and the three values as the window shows them.
struct ConflictRow {
    QString field;
    QString recordName;
    QString base;
    QString mine;
    QString theirs;
};

// The seam between the windows and the modal dialogs of the desktop: the windows never
// call QFileDialog or QMessageBox themselves, so tests answer with canned replies. Every
// box is modal and belongs to `parent`, so that the desktop shows it above that window.
class DialogService {
public:
    virtual ~DialogService() = default;

    // Shows a file dialog opening on initialName and initialFilter; nothing on Cancel.
    [[nodiscard]] virtual std::optional<FileChoice> chooseFile(QWidget* parent,
                                                               const FileDialogOptions& options,
                                                               const QString& initialName,
                                                               int initialFilter) = 0;
    // The error box: caption "Brevanta", error icon, OK button; `text` is the message and
    // `file` names the file concerned in a second line.
    virtual void showError(QWidget* parent, const QString& text, const QString& file) = 0;
    // The question before unsaved changes are dropped, with Save, Discard and Cancel;
    // `detail` (what Save would change) stands below it.
    [[nodiscard]] virtual SaveChoice askSaveChanges(QWidget* parent, const QString& question,
                                                    const QString& detail) = 0;
    // The question before a file another program changed is written over, with Merge,
    // Reload ("Drop My Changes and Reload" when there are `unsavedEdits`), "Overwrite Their
    // Changes" and Cancel.
    [[nodiscard]] virtual ChangedFileChoice askChangedOnDisk(QWidget* parent,
                                                             const QString& question,
                                                             bool unsavedEdits) = 0;
    // Lets the user decide each conflict of a merge: for each row, true to take theirs, false
    // to keep mine; nothing on Cancel.
    [[nodiscard]] virtual std::optional<std::vector<bool>> decideConflicts(
        QWidget* parent, const std::vector<ConflictRow>& rows) = 0;
    // The question before an existing file the window did not open is written over, with
    // Replace and Cancel; true for Replace.
    [[nodiscard]] virtual bool askReplace(QWidget* parent, const QString& question) = 0;
    // Shows the folder in the desktop's file manager; says so when there is none.
    virtual void showFolder(QWidget* parent, const QString& folder) = 0;
    // Says that the desktop could not open an address, and shows the address as text the
    // user can select and copy.
    virtual void showUnopenedAddress(QWidget* parent, const QString& text,
                                     const QString& address) = 0;
    // The modal About box.
    virtual void showAbout(QWidget* parent) = 0;
};

// The real dialogs of the desktop.
class QtDialogService final : public DialogService {
public:
    [[nodiscard]] std::optional<FileChoice> chooseFile(QWidget* parent,
                                                       const FileDialogOptions& options,
                                                       const QString& initialName,
                                                       int initialFilter) override;
    void showError(QWidget* parent, const QString& text, const QString& file) override;
    [[nodiscard]] SaveChoice askSaveChanges(QWidget* parent, const QString& question,
                                            const QString& detail) override;
    [[nodiscard]] ChangedFileChoice askChangedOnDisk(QWidget* parent, const QString& question,
                                                     bool unsavedEdits) override;
    [[nodiscard]] std::optional<std::vector<bool>> decideConflicts(
        QWidget* parent, const std::vector<ConflictRow>& rows) override;
    [[nodiscard]] bool askReplace(QWidget* parent, const QString& question) override;
    void showFolder(QWidget* parent, const QString& folder) override;
    void showUnopenedAddress(QWidget* parent, const QString& text, const QString& address) override;
    void showAbout(QWidget* parent) override;
};

// A file dialog of a window with its settings and what it remembers between uses (the
// name and type chosen last). A confirmed choice also makes the chosen file's folder the
// process's current directory, against which relative names resolve.
class FileDialog {
public:
    explicit FileDialog(FileDialogOptions options) : m_options(std::move(options)) {}

    [[nodiscard]] std::optional<FileChoice> execute(QWidget* parent, DialogService& dialogs);

private:
    FileDialogOptions m_options;
    QString m_lastName;
    int m_lastFilter = 0;
};

}  // namespace ui
