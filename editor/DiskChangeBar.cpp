#include "DiskChangeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace editor {

QString changedByAnotherProgram(const QString& name) {
    return QStringLiteral("%1 was changed by another program since it was opened.").arg(name);
}

DiskChangeBar::DiskChangeBar(QWidget* parent) : NoticeBar(QStringLiteral("DiskChangeBar"), parent) {
    setAccessibleName(QStringLiteral("File changed on disk"));
    QHBoxLayout* layout = row();
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("DiskChangeText"));
    layout->addWidget(m_text, 1);
    auto* reload = new QPushButton(QStringLiteral("&Reload"), this);
    reload->setObjectName(QStringLiteral("ReloadButton"));
    reload->setToolTip(QStringLiteral("Read the file as the other program left it"));
    layout->addWidget(reload);
    auto* dismiss = new QPushButton(QStringLiteral("&Dismiss"), this);
    dismiss->setObjectName(QStringLiteral("DismissButton"));
    dismiss->setToolTip(QStringLiteral("Keep the pilot shown; Save asks before writing"));
    layout->addWidget(dismiss);

    connect(reload, &QPushButton::clicked, this, &DiskChangeBar::reloadRequested);
    connect(dismiss, &QPushButton::clicked, this, &DiskChangeBar::dismiss);
}

void DiskChangeBar::check(const QString& name, const std::filesystem::path& path,
                          const std::optional<pilot::FileStamp>& stamp) {
    m_seen.reset();
    if (stamp && pilot::changedSince(path, *stamp)) {
        m_seen = pilot::currentStamp(path);
    }
    if (!m_seen || m_seen == m_dismissed) {
        setShown(false);
        return;
    }
    m_text->setText(changedByAnotherProgram(name));
    setShown(true);
}

void DiskChangeBar::clear() {
    m_seen.reset();
    m_dismissed.reset();
    setShown(false);
}

void DiskChangeBar::dismiss() {
    m_dismissed = m_seen;
    setShown(false);
}

}  // namespace editor
