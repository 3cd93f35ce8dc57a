#include "DialogService.h"

#include <array>
#include <utility>

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include "AboutBox.h"
#include "ConflictDialog.h"

namespace ui {

namespace {

// The extension a type's filter names ("TXT" for "Text File (*.TXT)"), or the configured
// default when the filter names no single extension. A name typed without extension gets
// the extension of the type chosen, so that a text report typed as "ace" does not land in
// "ace.TFR", the name the pilot file beside it will be saved under.
QString suffixOfFilter(const FileDialogOptions& options, const QString& filter) {
    static const QRegularExpression singlePattern(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
    const auto match = singlePattern.match(filter);
    return match.hasMatch() ? match.captured(1) : options.defaultSuffix;
}

bool confirmCreation(QWidget* parent, const FileDialogOptions& options, const QString& path) {
    const QString question =
        QStringLiteral("%1 does not exist.\nCreate it?").arg(QDir::toNativeSeparators(path));
    return QMessageBox::question(parent, options.title, question) == QMessageBox::Yes;
}

// Every box of the program carries the application title.
QString caption() {
    return QStringLiteral("Brevanta");
}

// Gives the standard buttons of a box their captions with a letter for the keyboard (the
// desktop's own captions of Save, Discard and Cancel have none).
void markLetters(QMessageBox& box) {
    const std::array<std::pair<QMessageBox::StandardButton, const char*>, 4> captions = {{
        {QMessageBox::Save, "&Save"},
        {QMessageBox::Discard, "&Discard"},
        {QMessageBox::Cancel, "&Cancel"},
        {QMessageBox::Ok, "&OK"},
    }};
    for (const auto& [button, text] : captions) {
        if (QAbstractButton* shown = box.button(button)) {
            shown->setText(QString::fromLatin1(text));
        }
    }
}

// A warning with Cancel, the default, and the button that writes over a file.
bool askToWriteOver(QWidget* parent, const QString& question, const QString& writeOver) {
    QMessageBox box(QMessageBox::Warning, caption(), question, QMessageBox::Cancel, parent);
    QPushButton* accept = box.addButton(writeOver, QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    markLetters(box);
    box.exec();
    return box.clickedButton() == accept;
}

}  // namespace

QString reloadCaption(bool unsavedEdits) {
    return unsavedEdits ? QStringLiteral("Drop My Changes and &Reload") : QStringLiteral("&Reload");
}

QString overwriteCaption() {
    return QStringLiteral("&Overwrite Their Changes");
}

QString mergeCaption() {
    return QStringLiteral("&Merge");
}

std::optional<FileChoice> QtDialogService::chooseFile(QWidget* parent,
                                                      const FileDialogOptions& options,
                                                      const QString& initialName,
                                                      int initialFilter) {
    const bool saving = options.mode == FileDialogOptions::Mode::Save;
    // Qt's own dialog: the default extension follows the chosen type on every desktop.
    QFileDialog dialog(parent, options.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An Open dialog lets a typed name through, existing or not.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    dialog.setNameFilters(options.filters);
    const QString firstFilter = options.filters.value(initialFilter, options.filters.value(0));
    dialog.selectNameFilter(firstFilter);
    dialog.setDefaultSuffix(suffixOfFilter(options, firstFilter));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &options](const QString& filter) {
                         dialog.setDefaultSuffix(suffixOfFilter(options, filter));
                     });
    if (!initialName.isEmpty()) {
        dialog.selectFile(initialName);
    }

    while (dialog.exec() == QDialog::Accepted) {
        const QString path = dialog.selectedFiles().value(0);
        if (path.isEmpty()) {
            continue;
        }
        // The question belongs to the window that asked for the dialog, not to the dialog
        // that has closed: the desktop stacks it above that window (the form stays on top).
        if (options.confirmCreate && !QFileInfo::exists(path) &&
            !confirmCreation(parent, options, path)) {
            continue;
        }
        return FileChoice{path, static_cast<int>(std::max<qsizetype>(
                                    0, options.filters.indexOf(dialog.selectedNameFilter())))};
    }
    return std::nullopt;
}

void QtDialogService::showError(QWidget* parent, const QString& text, const QString& file) {
    QMessageBox box(QMessageBox::Critical, caption(), text, QMessageBox::Ok, parent);
    box.setInformativeText(QDir::toNativeSeparators(file));
    markLetters(box);
    box.exec();
}

SaveChoice QtDialogService::askSaveChanges(QWidget* parent, const QString& question,
                                           const QString& detail) {
    QMessageBox box(QMessageBox::Warning, caption(), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(detail);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    markLetters(box);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

// Merge is the default: pressing Enter loses neither side's changes.
ChangedFileChoice QtDialogService::askChangedOnDisk(QWidget* parent, const QString& question,
                                                    bool unsavedEdits) {
    QMessageBox box(QMessageBox::Warning, caption(), question, QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral(
        "Merge keeps your changes and theirs, field by field, and asks where both changed "
        "the same field."));
    QPushButton* merge = box.addButton(mergeCaption(), QMessageBox::AcceptRole);
    QPushButton* reload = box.addButton(reloadCaption(unsavedEdits), QMessageBox::DestructiveRole);
    QPushButton* overwrite = box.addButton(overwriteCaption(), QMessageBox::DestructiveRole);
    box.setDefaultButton(merge);
    box.setEscapeButton(QMessageBox::Cancel);
    markLetters(box);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked == merge) {
        return ChangedFileChoice::Merge;
    }
    if (clicked == reload) {
        return ChangedFileChoice::Reload;
    }
    return clicked == overwrite ? ChangedFileChoice::Overwrite : ChangedFileChoice::Cancel;
}

std::optional<std::vector<bool>> QtDialogService::decideConflicts(
    QWidget* parent, const std::vector<ConflictRow>& rows) {
    ConflictDialog dialog(rows, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.takesTheirs();
}

// Cancel is the default: pressing Enter keeps the file that is there.
bool QtDialogService::askReplace(QWidget* parent, const QString& question) {
    return askToWriteOver(parent, question, QStringLiteral("&Replace"));
}

void QtDialogService::showFolder(QWidget* parent, const QString& folder) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder))) {
        showUnopenedAddress(
            parent, QStringLiteral("No file manager could be started for this folder."), folder);
    }
}

void QtDialogService::showUnopenedAddress(QWidget* parent, const QString& text,
                                          const QString& address) {
    QMessageBox box(QMessageBox::Warning, caption(), text, QMessageBox::Ok, parent);
    box.setInformativeText(address);
    markLetters(box);
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text() == address) {
            label->setTextFormat(Qt::PlainText);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
        }
    }
    box.exec();
}

void QtDialogService::showAbout(QWidget* parent) {
    AboutBox box(*this, parent);
    box.exec();
}

std::optional<FileChoice> FileDialog::execute(QWidget* parent, DialogService& dialogs) {
    auto choice = dialogs.chooseFile(parent, m_options, m_lastName, m_lastFilter);
    if (choice) {
        m_lastName = choice->path;
        m_lastFilter = choice->filterIndex;
        QDir::setCurrent(QFileInfo(choice->path).absolutePath());
    }
    return choice;
}

}  // namespace ui
