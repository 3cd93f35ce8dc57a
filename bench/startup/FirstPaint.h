#pragma once

#include <QCoreApplication>
#include <QWidget>

// Where both start-up programs stop: the window is painted whole, at once, then the
// event loop ends. It ends outright rather than asking the windows to close: the editor
// would ask about unsaved changes first (a pilot whose opening refresh resets or recomputes
// a value is unsaved), in a dialog that nobody answers.
inline void paintAndQuit(QWidget& window) {
    window.repaint();
    QCoreApplication::exit(0);
}
