#include <cstdio>
#include <optional>

#include <QApplication>
#include <QCoreApplication>

#include "CommandLine.h"
#include "DialogService.h"
#include "Pictures.h"
#include "TForm1.h"
#include "WindowStyle.h"

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// --help, --version and a usage error are answered before the window system is reached,
// so they work without a display too.
std::optional<int> answerWithoutWindow(int& argc, char** argv) {
    const QCoreApplication core(argc, argv);
    const app::CommandLine line = app::readCommandLine(QCoreApplication::arguments());
    switch (line.action) {
        case app::CommandLine::Action::PrintHelp:
        case app::CommandLine::Action::PrintVersion:
            print(stdout, line.text);
            return 0;
        case app::CommandLine::Action::RefuseUsage:
        case app::CommandLine::Action::OpenWindow:
            break;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
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
    const app::CommandLine line = app::readCommandLine(QApplication::arguments());
    if (line.action != app::CommandLine::Action::OpenWindow) {
        print(stderr, line.text);
        return app::kExitUsage;
    }
    ui::useFixedStyle();

    ui::QtDialogService dialogs;
    editor::TForm1 window(line.files, dialogs);
    window.show();
    return QApplication::exec();
}
