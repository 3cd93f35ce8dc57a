#include "StandardKeys.h"

namespace editor {

QList<QKeySequence> standardKeys(QKeySequence::StandardKey key) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.isEmpty()) {
        return keys;
    }
    switch (key) {
        case QKeySequence::Open:
            return {QKeySequence(Qt::CTRL | Qt::Key_O)};
        case QKeySequence::Save:
            return {QKeySequence(Qt::CTRL | Qt::Key_S)};
        case QKeySequence::SaveAs:
            return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
        case QKeySequence::New:
            return {QKeySequence(Qt::CTRL | Qt::Key_N)};
        case QKeySequence::Quit:
            return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
        case QKeySequence::Undo:
            return {QKeySequence(Qt::CTRL | Qt::Key_Z)};
        case QKeySequence::Redo:
            return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
        default:
            return {};
    }
}

}  // namespace editor
