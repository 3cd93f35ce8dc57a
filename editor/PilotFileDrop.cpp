#include "PilotFileDrop.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace editor {

PilotFileDrop::PilotFileDrop(QWidget* window) : QObject(window), m_window(window) {
    m_window->setAcceptDrops(true);
    m_window->installEventFilter(this);
    // The edits of the window itself, not of its child windows (the form).
    for (QLineEdit* edit : m_window->findChildren<QLineEdit*>()) {
        if (edit->window() == m_window) {
            edit->installEventFilter(this);
        }
    }
}

QString PilotFileDrop::droppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return {};
    }
    return urls.front().toLocalFile();
}

bool PilotFileDrop::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QString path = droppedFile(drop->mimeData());
    if (path.isEmpty()) {
        return false;  // text and other data go to the edits as usual
    }
    if (watched != m_window) {
        // Not taken here: the drag goes on to the window.
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        Q_EMIT dropped(path);
    }
    return true;
}

}  // namespace editor
