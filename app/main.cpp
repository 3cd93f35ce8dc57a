#include <QApplication>

#include "DialogService.h"
#include "TForm1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brevanta"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brevanta"));

    ui::QtDialogService dialogs;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    editor::TForm1 window(arguments, dialogs);
    window.show();
    return QApplication::exec();
}
