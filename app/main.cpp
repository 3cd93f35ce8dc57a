#include <QApplication>

#include "DialogService.h"
#include "Pictures.h"
#include "TForm1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The name only: a display name would be appended to every window caption on X11.
    QApplication::setApplicationName(QStringLiteral("Brevanta"));
    QApplication::setWindowIcon(ui::picture(QStringLiteral("brevanta")));

    ui::QtDialogService dialogs;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    editor::TForm1 window(arguments, dialogs);
    window.show();
    return QApplication::exec();
}
