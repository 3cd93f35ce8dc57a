#include "CommandLine.h"

#include <QCommandLineParser>
#include <QUrl>

namespace app {

QString localPath(const QString& argument) {
    const QUrl url(argument);
    return url.isLocalFile() ? url.toLocalFile() : argument;
}

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows every value of a pilot file (.TFR) in one window for editing,\n"
                       "and writes its pilot report and Battle Submission Forms."));
    // Not addHelpOption(): its --help-all would list Qt's own options, which the window
    // takes but this parser never sees.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("The pilot file to open, as a path or a file:// URL. Without it, or "
                       "with more than one, the window starts on an all-zero pilot."),
        QStringLiteral("[FILE]"));

    CommandLine line;
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::PrintHelp;
        line.text = parser.helpText();
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::PrintVersion;
        line.text = QStringLiteral("brevanta " BREVANTA_VERSION "\n");
    } else if (!parsed) {
        line.action = CommandLine::Action::RefuseUsage;
        line.text = QStringLiteral("brevanta: %1\nTry 'brevanta --help' for more information.\n")
                        .arg(parser.errorText());
    } else {
        for (const QString& argument : parser.positionalArguments()) {
            line.files.append(localPath(argument));
        }
    }
    return line;
}

}  // namespace app
