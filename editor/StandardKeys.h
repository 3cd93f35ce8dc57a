#pragma once

#include <QKeySequence>
#include <QList>

namespace editor {

// The desktop's keys for a standard command, or the keys most desktops use where this one
// binds none (several have none for Quit or Save As). Redo also takes Ctrl+Y everywhere.
[[nodiscard]] QList<QKeySequence> standardKeys(QKeySequence::StandardKey key);

}  // namespace editor
