#include "EditorStart.h"

#include <cstdio>
#include <memory>
#include <optional>

#include <QApplication>
#include <QCoreApplication>
#include <QTimer>

#include "Accessibility.h"
#include "CommandLine.h"
#include "DialogService.h"
#include "Pictures.h"
#include "TForm1.h"
#include "WindowStyle.h"

namespace app {

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// --help, --version and a usage error are answered before the window system is reached,
// so they work without a display too. The arguments are decoded as the application decodes
// them; only the help, which names the program as it was started, needs one.
std::optional<int> answerWithoutWindow(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    CommandLine line = readCommandLine(arguments);
    if (line.action == CommandLine::Action::PrintHelp) {
        const QCoreApplication core(argc, argv);
        line = readCommandLine(QCoreApplication::arguments());
    }
    switch (line.action) {
        case CommandLine::Action::PrintHelp:
        case CommandLine::Action::PrintVersion:
            print(stdout, line.text);
            return 0;
        case CommandLine::Action::RefuseUsage:
        case CommandLine::Action::OpenWindow:
            break;
    }
    return std::nullopt;
}

}  // namespace

int runEditor(int argc, char** argv, const std::function<void(QWidget& window)>& started) {
    if (const auto status = answerWithoutWindow(argc, argv)) {
        return *status;
    }
    QApplication application(argc, argv);
    // The name only: a display name would be appended to every window caption on X11.
    QApplication::setApplicationName(QStringLiteral("Brevanta"));
    QApplication::setApplicationVersion(QStringLiteral(BREVANTA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(BREVANTA_DESKTOP_ID));
    QApplication::setWindowIcon(ui::picture(QStringLiteral("brevanta")));

    // Read again without Qt's own options, which the application has taken out by now.
    const CommandLine line = readCommandLine(QApplication::arguments());
    if (line.action != CommandLine::Action::OpenWindow) {
        print(stderr, line.text);
        return kExitUsage;
    }
    ui::useFixedStyle();
    ui::nameListsByPurpose();

    ui::QtDialogService dialogs;
    auto window = std::make_unique<editor::TForm1>(line.files, dialogs);
    window->show();
    if (started) {
        // Queued behind the activation, which the first show queues.
        QTimer::singleShot(0, window.get(), [&window, &started] { started(*window); });
    }
    const int status = QApplication::exec();
    // Once its event loop is over the program ends, and the system takes the window's memory
    // back at once: taking its hundreds of widgets apart one by one would only hold up the
    // exit. It has nothing left to write (every save is complete when it returns), and the
    // application still closes the window system's windows.
    static_cast<void>(window.release());
    return status;
}

}  // namespace app
