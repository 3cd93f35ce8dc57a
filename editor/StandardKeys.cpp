#include "StandardKeys.h"

#include <array>
#include <utility>

namespace editor {

namespace {

constexpr std::array<std::pair<QKeySequence::StandardKey, QKeyCombination>, 7> kCommonKeys = {{
    {QKeySequence::Open, Qt::CTRL | Qt::Key_O},
    {QKeySequence::Save, Qt::CTRL | Qt::Key_S},
    {QKeySequence::SaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S},
    {QKeySequence::New, Qt::CTRL | Qt::Key_N},
    {QKeySequence::Quit, Qt::CTRL | Qt::Key_Q},
    {QKeySequence::Undo, Qt::CTRL | Qt::Key_Z},
    {QKeySequence::Redo, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
}};

// Ctrl+Y redoes in most programs of every desktop; Qt binds it only under KDE.
constexpr QKeyCombination kRedoEverywhere = Qt::CTRL | Qt::Key_Y;

}  // namespace

QList<QKeySequence> standardKeys(QKeySequence::StandardKey key) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (keys.isEmpty()) {
        for (const auto& [command, common] : kCommonKeys) {
            if (command == key) {
                keys.append(QKeySequence(common));
            }
        }
    }
    if (key == QKeySequence::Redo && !keys.contains(QKeySequence(kRedoEverywhere))) {
        keys.append(QKeySequence(kRedoEverywhere));
    }
    return keys;
}

}  // namespace editor
