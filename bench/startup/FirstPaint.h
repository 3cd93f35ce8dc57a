#pragma once

#include <QCoreApplication>
#include <QWidget>

// Where both start-up programs stop: the window is painted whole, at once, then the
// event loop ends.
inline void paintAndQuit(QWidget& window) {
    window.repaint();
    QCoreApplication::quit();
}
