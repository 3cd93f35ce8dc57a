#include "NoticeBar.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "WindowStyle.h"

namespace editor {

namespace {

// How much of the palette's highlight colour tints the notice's background.
constexpr float kTint = 0.25F;

}  // namespace

NoticeBar::NoticeBar(const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFixedHeight(kHeight);
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(6, 2, 2, 2);
    hide();
}

// The window's colours, a little of the highlight mixed into the background and the
// highlight as the frame: the notice stands out under a light and a dark palette alike,
// with the window's text on it.
void NoticeBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor window = palette().color(QPalette::Window);
    const QColor highlight = palette().color(QPalette::Highlight);
    painter.fillRect(rect(), ui::mixedColour(window, highlight, kTint));
    painter.setPen(highlight);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    QFrame::paintEvent(event);
}

QLabel* NoticeBar::addText(const char* name) {
    auto* text = new QLabel(this);
    text->setObjectName(QLatin1String(name));
    text->setWordWrap(true);
    m_row->addWidget(text, 1);
    return text;
}

QPushButton* NoticeBar::addButton(const QString& text, const char* name, const QString& tip) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(tip);
    m_row->addWidget(button);
    return button;
}

void NoticeBar::fitHeight(const QLabel& text) {
    const QMargins margins = m_row->contentsMargins();
    int textWidth = parentWidget()->width() - margins.left() - margins.right() - 2 * frameWidth();
    for (int i = 0; i < m_row->count(); ++i) {
        const QWidget* widget = m_row->itemAt(i)->widget();
        if (widget != nullptr && widget != &text) {
            textWidth -= widget->sizeHint().width() + m_row->spacing();
        }
    }
    const int textHeight = text.heightForWidth(std::max(textWidth, 1));
    setFixedHeight(
        std::max(kHeight, textHeight + margins.top() + margins.bottom() + 2 * frameWidth()));
}

void NoticeBar::setShown(bool shown) {
    if (isHidden() == shown) {
        setVisible(shown);
        Q_EMIT shownChanged();
    }
}

}  // namespace editor
