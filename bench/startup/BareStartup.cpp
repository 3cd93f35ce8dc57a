// The yardstick of the start-up benchmark: the least a Qt Widgets program shows, a main
// window with a menu bar and a line edit, up to its first painted window.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include "FirstPaint.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.setCentralWidget(new QLineEdit(&window));
    window.setWindowTitle(QStringLiteral("Bare"));
    window.show();
    QTimer::singleShot(0, &window, [&window] { paintAndQuit(window); });
    return QApplication::exec();
}
