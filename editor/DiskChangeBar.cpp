#include "DiskChangeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "WindowStyle.h"

namespace editor {

QString changedByAnotherProgram(const QString& name) {
    return QStringLiteral("%1 was changed by another program since it was opened.").arg(name);
}

namespace {

// How much of the palette's highlight colour tints the notice's background.
constexpr float kTint = 0.25F;

}  // namespace

DiskChangeBar::DiskChangeBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("DiskChangeBar"));
    setAccessibleName(QStringLiteral("File changed on disk"));
    setFixedHeight(kHeight);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 2, 2);
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
    hide();
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

// The window's colours, a little of the highlight mixed into the background and the
// highlight as the frame: the notice stands out under a light and a dark palette alike,
// with the window's text on it.
void DiskChangeBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor window = palette().color(QPalette::Window);
    const QColor highlight = palette().color(QPalette::Highlight);
    painter.fillRect(rect(), ui::mixedColour(window, highlight, kTint));
    painter.setPen(highlight);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFrame::paintEvent(event);
}

void DiskChangeBar::setShown(bool shown) {
    if (isHidden() == shown) {
        setVisible(shown);
        Q_EMIT shownChanged();
    }
}

void DiskChangeBar::dismiss() {
    m_dismissed = m_seen;
    setShown(false);
}

}  // namespace editor
