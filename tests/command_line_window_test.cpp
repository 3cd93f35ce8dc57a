// The window started on a file manager's argument.
#include <gtest/gtest.h>

#include <QUrl>

#include "CommandLine.h"
#include "WindowFixture.h"

namespace {

using testing_support::qpath;
using testing_support::WindowShell;

// What a file manager passes: the file's URL, which the window loads as the local path.
TEST_F(WindowShell, AFileUrlLoadsThePilotItNames) {
    const auto path = dir / "my ace.TFR";
    const pilot::PilotRecord pilot = testing_support::showableRecord(12);
    testing_support::writeRecord(path, pilot);
    const QString url = QUrl::fromLocalFile(qpath(path)).toString(QUrl::FullyEncoded);
    ASSERT_TRUE(url.endsWith(QStringLiteral("/my%20ace.TFR")));

    recreate(app::readCommandLine({QStringLiteral("brevanta"), url}).files);
    activate();
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(window->CurrentFileName(), qpath(path));
    EXPECT_EQ(title(), titleFor(path));
    EXPECT_EQ(window->record(), pilot);
    EXPECT_EQ(changedPanel(), QString());
}

}  // namespace
