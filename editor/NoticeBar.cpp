#include "NoticeBar.h"

#include <QHBoxLayout>

namespace editor {

NoticeBar::NoticeBar(const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
    setFixedHeight(kHeight);
    m_row = new QHBoxLayout(this);
    m_row->setContentsMargins(6, 2, 2, 2);
    hide();
}

void NoticeBar::setShown(bool shown) {
    if (isHidden() == shown) {
        setVisible(shown);
        Q_EMIT shownChanged();
    }
}

}  // namespace editor
