// The pilot file changed by another program (the game) while the editor holds it: Save asks
// before writing over it, and coming back to the window shows a notice offering Reload.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "WindowFixture.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::bytesOf;
using testing_support::FakeDialogs;
using testing_support::latin;
using testing_support::qpath;
using testing_support::readBytes;
using testing_support::showableRecord;
using testing_support::WindowShell;
using testing_support::writeRecord;

class FileOnDisk : public WindowShell {
protected:
    FileOnDisk() {
        writeRecord(m_pilotPath, m_pilot);
        writeRecord(m_gamePath, m_game);
    }

    void openPilot() {
        showActive();
        open(m_pilotPath);
        ASSERT_EQ(window->record(), m_pilot);
    }
    // Each time another skill.
    void edit() {
        typeInto("Edit83", QString::number(1000 + ++m_edits));
        QTest::keyClick(control("Edit83"), Qt::Key_Tab);
        ASSERT_TRUE(window->unsaved());
    }
    // Another process at work on the file.
    static void run(const QString& program, const QStringList& arguments) {
        ASSERT_EQ(QProcess::execute(program, arguments), 0) << program.toStdString();
    }
    void gameRewritesInPlace() { run(latin("cp"), {qpath(m_gamePath), qpath(m_pilotPath)}); }
    // The user works in another window meanwhile, then comes back to the editor.
    void elsewhere(const std::function<void()>& meanwhile) {
        QWidget other;
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        meanwhile();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    [[nodiscard]] QWidget* notice() const { return control("DiskChangeBar"); }
    [[nodiscard]] QString question() const {
        return latin("pilot.TFR was changed by another program since it was opened.");
    }

    PilotRecord m_pilot = showableRecord(61);
    PilotRecord m_game = showableRecord(62);
    fs::path m_pilotPath = dir / "pilot.TFR";
    fs::path m_gamePath = dir / "game.TFR";
    int m_edits = 0;
};

// What the other program does decides whether Save asks: new bytes, in place or by a
// rename, ask; the same bytes again, or a file removed, do not.
TEST_F(FileOnDisk, SaveAsksOnlyOverBytesAnotherProgramChanged) {
    const struct {
        const char* what;
        std::function<void()> change;
        bool asks;
    } cases[] = {
        {"rewritten in place", [this] { gameRewritesInPlace(); }, true},
        {"replaced by a rename",
         [this] {
             run(latin("cp"), {qpath(m_gamePath), qpath(dir / "new.tmp")});
             run(latin("mv"), {qpath(dir / "new.tmp"), qpath(m_pilotPath)});
         },
         true},
        {"grown, the first bytes kept",
         [this] {
             run(latin("truncate"), {latin("--size=2000"), qpath(m_pilotPath)});
         },
         true},
        {"touched, the same bytes", [this] { run(latin("touch"), {qpath(m_pilotPath)}); }, false},
        {"removed", [this] { run(latin("rm"), {qpath(m_pilotPath)}); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs = FakeDialogs();
        recreate({});
        writeRecord(m_pilotPath, m_pilot);
        openPilot();
        edit();
        const PilotRecord edited = window->record();
        c.change();
        const bool existed = fs::exists(m_pilotPath);
        const auto theirs = existed ? readBytes(m_pilotPath) : std::vector<std::uint8_t>();
        if (c.asks) {
            dialogs.answerOverwrite(false);
        }
        trigger("SaveTFR1");
        ASSERT_EQ(dialogs.questions.size(), c.asks ? 1u : 0u);
        if (!c.asks) {
            EXPECT_EQ(readBytes(m_pilotPath), bytesOf(edited));
            EXPECT_FALSE(window->unsaved());
            continue;
        }
        EXPECT_EQ(dialogs.questions[0].kind, FakeDialogs::Question::Kind::Overwrite);
        EXPECT_EQ(dialogs.questions[0].text, question());
        EXPECT_EQ(dialogs.questions[0].parent, window.get());
        // Cancel leaves the other program's bytes, and the window, as they were.
        EXPECT_EQ(readBytes(m_pilotPath), theirs);
        EXPECT_EQ(window->record(), edited);
        EXPECT_TRUE(window->unsaved());
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));

        dialogs.answerOverwrite(true);
        trigger("SaveToolbarButton");
        EXPECT_EQ(dialogs.questions.size(), 2u);
        EXPECT_EQ(readBytes(m_pilotPath), bytesOf(edited));
        EXPECT_FALSE(window->unsaved());
        EXPECT_EQ(changedPanel(), QString());

        edit();
        trigger("SaveTFR1");  // the file is ours again: no question
        EXPECT_EQ(dialogs.questions.size(), 2u);
        EXPECT_TRUE(dialogs.errors.empty());
    }
}

// The Save of the question before closing asks too; Cancel there keeps the window open.
TEST_F(FileOnDisk, TheSaveBeforeClosingAsksToo) {
    openPilot();
    edit();
    gameRewritesInPlace();
    dialogs.answerSaveChanges(ui::SaveChoice::Save);
    dialogs.answerOverwrite(false);
    trigger("Close1");
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(readBytes(m_pilotPath), bytesOf(m_game));
    EXPECT_TRUE(dialogs.questionsAnswered());
}

// Coming back to the window after the file changed shows the notice above the groups; Reload
// reads the file, Dismiss hides the notice until the file changes once more.
TEST_F(FileOnDisk, ComingBackShowsANoticeOfferingReload) {
    openPilot();
    const int height = window->height();
    auto* general = window->findChildren<QGroupBox*>().value(0);
    const QPoint groupsAt = general->mapTo(window.get(), QPoint());

    elsewhere([] {});
    EXPECT_TRUE(notice()->isHidden());

    elsewhere([this] { gameRewritesInPlace(); });
    ASSERT_FALSE(notice()->isHidden());
    EXPECT_EQ(control<QLabel>("DiskChangeText")->text(), question());
    EXPECT_EQ(window->height(), height + notice()->height());
    EXPECT_EQ(general->mapTo(window.get(), QPoint()), groupsAt + QPoint(0, notice()->height()));
    EXPECT_EQ(window->record(), m_pilot);  // nothing read until the user asks

    QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(window->record(), m_game);
    EXPECT_FALSE(window->unsaved());
    EXPECT_TRUE(notice()->isHidden());
    EXPECT_EQ(window->height(), height);
    EXPECT_FALSE(control<QAction>("Undo1")->isEnabled());

    writeRecord(m_gamePath, m_pilot);
    elsewhere([this] { gameRewritesInPlace(); });
    ASSERT_FALSE(notice()->isHidden());
    QTest::mouseClick(control<QPushButton>("DismissButton"), Qt::LeftButton);
    EXPECT_TRUE(notice()->isHidden());
    EXPECT_EQ(window->height(), height);
    elsewhere([] {});
    EXPECT_TRUE(notice()->isHidden());
    writeRecord(m_gamePath, showableRecord(63));
    elsewhere([this] { gameRewritesInPlace(); });
    EXPECT_FALSE(notice()->isHidden());

    // A Save over the change (confirmed) makes the file the editor's again.
    edit();
    dialogs.answerOverwrite(true);
    trigger("SaveTFR1");
    EXPECT_TRUE(notice()->isHidden());
    elsewhere([] {});
    EXPECT_TRUE(notice()->isHidden());
}

// With unsaved edits, Reload asks first: Cancel keeps them, Discard reads the file.
TEST_F(FileOnDisk, ReloadAsksAboutUnsavedEdits) {
    openPilot();
    edit();
    const PilotRecord edited = window->record();
    elsewhere([this] { gameRewritesInPlace(); });
    ASSERT_FALSE(notice()->isHidden());

    dialogs.answerSaveChanges(ui::SaveChoice::Cancel);
    QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, latin("Save changes to pilot.TFR?"));
    EXPECT_EQ(window->record(), edited);
    EXPECT_FALSE(notice()->isHidden());

    dialogs.answerSaveChanges(ui::SaveChoice::Discard);
    QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
    EXPECT_EQ(window->record(), m_game);
    EXPECT_TRUE(notice()->isHidden());
    EXPECT_EQ(readBytes(m_pilotPath), bytesOf(m_game));
}

}  // namespace
