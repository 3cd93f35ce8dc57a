#include "DiskChangeBar.h"

#include <QLabel>
#include <QPushButton>

#include "DialogService.h"

namespace editor {

QString changedByAnotherProgram(const QString& name) {
    return QStringLiteral("%1 was changed by another program since it was opened.").arg(name);
}

DiskChangeBar::DiskChangeBar(QWidget* parent) : NoticeBar(QStringLiteral("DiskChangeBar"), parent) {
    setAccessibleName(QStringLiteral("File changed on disk"));
    m_text = addText("DiskChangeText");
    auto* merge = addButton(ui::mergeCaption(), "MergeButton",
                            QStringLiteral("Keep your changes and theirs, field by field; where "
                                           "both changed a field, you choose"));
    m_reload = addButton(ui::reloadCaption(false), "ReloadButton",
                         QStringLiteral("Show the file as the other program left it; Undo "
                                        "brings your changes back"));
    auto* overwrite = addButton(ui::overwriteCaption(), "OverwriteButton",
                                QStringLiteral("Save the pilot shown over the other program's "
                                               "bytes, which the history keeps"));
    auto* dismiss = addButton(QStringLiteral("&Dismiss"), "DismissButton",
                              QStringLiteral("Keep the pilot shown; Save asks before writing"));

    connect(merge, &QPushButton::clicked, this, &DiskChangeBar::mergeRequested);
    connect(m_reload, &QPushButton::clicked, this, &DiskChangeBar::reloadRequested);
    connect(overwrite, &QPushButton::clicked, this, &DiskChangeBar::overwriteRequested);
    connect(dismiss, &QPushButton::clicked, this, &DiskChangeBar::dismiss);
}

void DiskChangeBar::notice(const QString& name, const pilot::FileStamp& seen, bool unsavedEdits) {
    m_seen = seen;
    if (m_seen == m_dismissed) {
        setShown(false);
        return;
    }
    m_text->setText(changedByAnotherProgram(name));
    setUnsavedEdits(unsavedEdits);
    setShown(true);
}

void DiskChangeBar::hideNotice() {
    m_seen.reset();
    setShown(false);
}

void DiskChangeBar::clear() {
    m_dismissed.reset();
    hideNotice();
}

// The notice grows when the longer caption leaves the text less room.
void DiskChangeBar::setUnsavedEdits(bool unsavedEdits) {
    m_reload->setText(ui::reloadCaption(unsavedEdits));
    const int height = minimumHeight();
    fitHeight(*m_text);
    if (!isHidden() && minimumHeight() != height) {
        Q_EMIT shownChanged();
    }
}

void DiskChangeBar::dismiss() {
    m_dismissed = m_seen;
    setShown(false);
}

}  // namespace editor
