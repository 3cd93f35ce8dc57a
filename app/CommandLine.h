#pragma once

#include <QString>
#include <QStringList>

// The editor's command line: [FILE], --help and --version.
namespace app {

struct CommandLine {
    enum class Action { OpenWindow, PrintHelp, PrintVersion, RefuseUsage };
    Action action = Action::OpenWindow;
    // For the window: the FILE arguments, each file:// URL turned into the local path it
    // names. Exactly one is loaded; none or several start on the all-zero record.
    QStringList files;
    // What to print: the help or version text, or the usage error with a hint.
    QString text;
};

// Reads the arguments, the program's name first, with Qt's own options (-style, -platform,
// ...) already taken out by the application.
[[nodiscard]] CommandLine readCommandLine(const QStringList& arguments);

// A file:// URL as the local path it names; any other argument as it is.
[[nodiscard]] QString localPath(const QString& argument);

// The exit statuses of the editor besides the window's own 0.
inline constexpr int kExitUsage = 2;

}  // namespace app
