#include "DialogService.h"

#include <QDir>
#include <QFileInfo>

namespace ui {

// Skeleton: filled in by the window shell's change.
std::optional<FileChoice> QtDialogService::chooseFile(QWidget*, const FileDialogOptions&,
                                                      const QString&, int) {
    return std::nullopt;
}

void QtDialogService::showError(QWidget*, const QString&) {}

void QtDialogService::showAbout(QWidget*) {}

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
