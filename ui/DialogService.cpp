#include "DialogService.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

#include "AboutBox.h"

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

}  // namespace

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
        if (options.confirmCreate && !QFileInfo::exists(path) &&
            !confirmCreation(&dialog, options, path)) {
            continue;
        }
        return FileChoice{path, static_cast<int>(std::max<qsizetype>(
                                    0, options.filters.indexOf(dialog.selectedNameFilter())))};
    }
    return std::nullopt;
}

void QtDialogService::showError(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Brevanta"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

void QtDialogService::showAbout(QWidget* parent) {
    AboutBox box(parent);
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
