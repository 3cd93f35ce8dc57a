// The editor's command line: [FILE] as a path or a file:// URL, --help and --version, read
// by the parser and by the built program; and the start-up benchmark's editor program, which
// must end on any pilot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>

#include "CommandLine.h"
#include "TestFiles.h"

namespace {

using app::CommandLine;
using Action = app::CommandLine::Action;

TEST(CommandLineRead, ArgumentsGiveTheFilesOrTheAnswer) {
    const struct Case {
        QStringList arguments;
        Action action;
        QStringList files;
    } cases[] = {
        {{}, Action::OpenWindow, {}},
        {{QStringLiteral("ace.TFR")}, Action::OpenWindow, {QStringLiteral("ace.TFR")}},
        {{QStringLiteral("/p/ace.TFR")}, Action::OpenWindow, {QStringLiteral("/p/ace.TFR")}},
        {{QStringLiteral("file:///p/my%20ace.TFR")},
         Action::OpenWindow,
         {QStringLiteral("/p/my ace.TFR")}},
        {{QStringLiteral("file:///p/%C3%A4s.tfr")},
         Action::OpenWindow,
         {QStringLiteral("/p/\u00e4s.tfr")}},
        // Not a URL: a name with a colon or a percent sign stays as it is.
        {{QStringLiteral("a:b%20.TFR")}, Action::OpenWindow, {QStringLiteral("a:b%20.TFR")}},
        {{QStringLiteral("a.TFR"), QStringLiteral("file:///b.TFR")},
         Action::OpenWindow,
         {QStringLiteral("a.TFR"), QStringLiteral("/b.TFR")}},
        {{QStringLiteral("--"), QStringLiteral("--help")},
         Action::OpenWindow,
         {QStringLiteral("--help")}},
        {{QStringLiteral("--help")}, Action::PrintHelp, {}},
        {{QStringLiteral("-h")}, Action::PrintHelp, {}},
        {{QStringLiteral("--help-all")}, Action::RefuseUsage, {}},
        {{QStringLiteral("ace.TFR"), QStringLiteral("--help")}, Action::PrintHelp, {}},
        {{QStringLiteral("--version")}, Action::PrintVersion, {}},
        {{QStringLiteral("-v")}, Action::PrintVersion, {}},
        {{QStringLiteral("--frobnicate")}, Action::RefuseUsage, {}},
        {{QStringLiteral("ace.TFR"), QStringLiteral("-x")}, Action::RefuseUsage, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const CommandLine line =
            app::readCommandLine(QStringList{QStringLiteral("brevanta")} + c.arguments);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.files, c.files);
        switch (c.action) {
            case Action::OpenWindow:
                EXPECT_TRUE(line.text.isEmpty());
                break;
            case Action::PrintHelp:
                EXPECT_TRUE(line.text.contains(QStringLiteral("[FILE]")));
                EXPECT_TRUE(line.text.contains(QStringLiteral("--version")));
                break;
            case Action::PrintVersion:
                EXPECT_EQ(line.text, QStringLiteral("brevanta 1.0.0\n"));
                break;
            case Action::RefuseUsage:
                EXPECT_TRUE(line.text.startsWith(QStringLiteral("brevanta: Unknown option")));
                EXPECT_TRUE(line.text.contains(QStringLiteral("brevanta --help")));
                break;
        }
    }
}

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// A built editor program with a bare environment: no display unless the run names a
// platform, and the test's own state folder.
ProgramRun runEditor(const QStringList& arguments, const QString& platform = QString(),
                     const QString& program = QStringLiteral(BREVANTA_EDITOR_PATH)) {
    QProcessEnvironment environment;
    for (const char* name : {"PATH", "XDG_STATE_HOME"}) {
        environment.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    }
    if (!platform.isEmpty()) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(EditorProgram, HelpAndVersionPrintAndExitWithoutADisplay) {
    const ProgramRun help = runEditor({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: "))) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("[options] [FILE]")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("file:// URL")));
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    const ProgramRun version = runEditor({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("brevanta 1.0.0\n"));
    EXPECT_TRUE(version.err.isEmpty()) << version.err.toStdString();
}

TEST(EditorProgram, AnUnknownOptionIsAUsageError) {
    const ProgramRun run = runEditor({QStringLiteral("--frobnicate"), QStringLiteral("ace.TFR")},
                                     QStringLiteral("offscreen"));
    EXPECT_EQ(run.exitCode, app::kExitUsage);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains(QStringLiteral("Unknown option 'frobnicate'")))
        << run.err.toStdString();
}

// A pilot of random bytes: its opening refresh resets and recomputes values, so what Save
// would write differs from the file, and the quit at the first paint meets the question
// about unsaved changes. The benchmark's program ends there all the same.
TEST(StartupBenchmark, TheEditorProgramEndsOnAPilotThatItsRefreshChanges) {
    testing_support::TempDir dir;
    const auto pilot = dir / "RANDOM.TFR";
    testing_support::writeRecord(pilot, testing_support::patternedRecord(91));
    const ProgramRun run =
        runEditor({QString::fromStdString(pilot.string())}, QStringLiteral("offscreen"),
                  QStringLiteral(BREVANTA_EDITOR_STARTUP_PATH));
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
}

}  // namespace
