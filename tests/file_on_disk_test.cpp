// The pilot file changed by another program (the game) while the editor holds it: Save asks
// before writing over it, a notice offers Merge, Reload and Overwrite as soon as the file
// changes, and a merge keeps both sides' changes field by field.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "History.h"
#include "TestFiles.h"
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
    // The newest version the pilot's history keeps.
    [[nodiscard]] PilotRecord newestKept() const {
        auto entries =
            pilot::history::PilotHistory(testing_support::historyRoot(), m_pilotPath).entries();
        const auto& kept = std::get<std::vector<pilot::history::Entry>>(entries);
        return kept.empty() ? PilotRecord() : kept.front().record;
    }
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
        {"written as Save would write it", [this] { writeRecord(m_pilotPath, window->record()); },
         false},
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
            dialogs.answerChangedOnDisk(ui::ChangedFileChoice::Cancel);
        }
        trigger("SaveTFR1");
        ASSERT_EQ(dialogs.questions.size(), c.asks ? 1u : 0u);
        if (!c.asks) {
            EXPECT_EQ(readBytes(m_pilotPath), bytesOf(edited));
            EXPECT_FALSE(window->unsaved());
            continue;
        }
        EXPECT_EQ(dialogs.questions[0].kind, FakeDialogs::Question::Kind::ChangedOnDisk);
        EXPECT_EQ(dialogs.questions[0].text, question());
        EXPECT_EQ(dialogs.questions[0].parent, window.get());
        // Cancel leaves the other program's bytes, and the window, as they were.
        EXPECT_EQ(readBytes(m_pilotPath), theirs);
        EXPECT_EQ(window->record(), edited);
        EXPECT_TRUE(window->unsaved());
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));

        dialogs.answerChangedOnDisk(ui::ChangedFileChoice::Overwrite);
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
    dialogs.answerChangedOnDisk(ui::ChangedFileChoice::Cancel);
    trigger("Close1");
    EXPECT_EQ(dialogs.questions.size(), 2u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(readBytes(m_pilotPath), bytesOf(m_game));
    EXPECT_TRUE(dialogs.questionsAnswered());
}

// Coming back to the window after the file changed shows the notice above the groups;
// Reload shows the file as one undo step, Dismiss hides the notice until the file changes
// once more, Overwrite writes the pilot shown over it.
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
    EXPECT_EQ(control<QPushButton>("ReloadButton")->text(), latin("&Reload"));
    EXPECT_EQ(window->height(), height + notice()->height());
    EXPECT_EQ(general->mapTo(window.get(), QPoint()), groupsAt + QPoint(0, notice()->height()));
    EXPECT_EQ(window->record(), m_pilot);  // nothing read until the user asks

    QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(window->record(), m_game);
    EXPECT_FALSE(window->unsaved());
    EXPECT_EQ(changedPanel(), QString());
    EXPECT_TRUE(notice()->isHidden());
    EXPECT_EQ(window->height(), height);
    trigger("Undo1");
    EXPECT_EQ(window->record(), m_pilot);
    EXPECT_TRUE(window->unsaved());  // the file holds the game's bytes now
    trigger("Redo1");
    EXPECT_EQ(window->record(), m_game);
    EXPECT_FALSE(window->unsaved());

    writeRecord(m_gamePath, m_pilot);
    elsewhere([this] { gameRewritesInPlace(); });
    ASSERT_FALSE(notice()->isHidden());
    QTest::mouseClick(control<QPushButton>("DismissButton"), Qt::LeftButton);
    EXPECT_TRUE(notice()->isHidden());
    EXPECT_EQ(window->height(), height);
    elsewhere([] {});
    EXPECT_TRUE(notice()->isHidden());
    const PilotRecord third = showableRecord(63);
    writeRecord(m_gamePath, third);
    elsewhere([this] { gameRewritesInPlace(); });
    EXPECT_FALSE(notice()->isHidden());

    // Overwrite makes the file the editor's again; the history keeps what it replaced.
    edit();
    EXPECT_EQ(control<QPushButton>("ReloadButton")->text(), latin("Drop My Changes and &Reload"));
    const PilotRecord edited = window->record();
    QTest::mouseClick(control<QPushButton>("OverwriteButton"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(readBytes(m_pilotPath), bytesOf(edited));
    EXPECT_EQ(newestKept(), third);
    EXPECT_TRUE(notice()->isHidden());
    elsewhere([] {});
    EXPECT_TRUE(notice()->isHidden());
}

// With unsaved edits, Reload says that it drops them, asks nothing, and Undo brings them
// back; the next Save then writes over the file without a question.
TEST_F(FileOnDisk, DropMyChangesAndReloadIsOneUndoStep) {
    openPilot();
    edit();
    const PilotRecord edited = window->record();
    elsewhere([this] { gameRewritesInPlace(); });
    ASSERT_FALSE(notice()->isHidden());

    QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(window->record(), m_game);
    EXPECT_TRUE(notice()->isHidden());
    EXPECT_EQ(readBytes(m_pilotPath), bytesOf(m_game));
    EXPECT_EQ(control<QAction>("Undo1")->text(), latin("Undo Reload"));

    trigger("Undo1");
    EXPECT_EQ(window->record(), edited);
    EXPECT_EQ(changedPanel(), latin("CHANGED"));
    trigger("SaveTFR1");
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(readBytes(m_pilotPath), bytesOf(edited));
    EXPECT_EQ(newestKept(), m_game);
}

// A game write while the user edits: Merge, from the notice or from Save's question, keeps
// both sides' changes as one undo step; fields changed on both sides are the user's to
// decide, and Cancel there changes nothing.
TEST_F(FileOnDisk, MergeKeepsBothSidesAndAsksAboutTheFieldsBothChanged) {
    const auto withSkill = [](PilotRecord record, std::uint16_t skill) {
        record.setU16(Field::Skill, skill);
        return record;
    };
    const auto withRank = [](PilotRecord record, std::uint8_t rank) {
        record.setU8(Field::Rank, rank);
        return record;
    };
    const PilotRecord mine = withSkill(m_pilot, 1001);  // what edit() types first
    const struct {
        const char* what;
        PilotRecord theirs;
        bool fromSave;
        std::optional<std::optional<std::vector<bool>>> decided;  // asked, and the answer
        std::optional<PilotRecord> merged;                        // nothing: cancelled
    } cases[] = {
        {"other fields, from the notice", withRank(m_pilot, 4), false, std::nullopt,
         withRank(mine, 4)},
        {"other fields, from Save", withRank(m_pilot, 4), true, std::nullopt, withRank(mine, 4)},
        {"the same field, mine kept", withRank(withSkill(m_pilot, 77), 4), false,
         std::vector<bool>{false}, withRank(mine, 4)},
        {"the same field, theirs taken", withRank(withSkill(m_pilot, 77), 4), true,
         std::vector<bool>{true}, withRank(withSkill(m_pilot, 77), 4)},
        {"the same field, cancelled", withSkill(m_pilot, 77), false,
         std::optional<std::vector<bool>>(), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs = FakeDialogs();
        m_edits = 0;
        recreate({});
        writeRecord(m_pilotPath, m_pilot);
        openPilot();
        edit();
        ASSERT_EQ(window->record(), mine);
        writeRecord(m_pilotPath, c.theirs);
        if (c.decided) {
            dialogs.answerConflicts(*c.decided);
        }
        if (c.fromSave) {
            dialogs.answerChangedOnDisk(ui::ChangedFileChoice::Merge);
            trigger("SaveTFR1");
        } else {
            elsewhere([] {});
            QTest::mouseClick(control<QPushButton>("MergeButton"), Qt::LeftButton);
        }
        EXPECT_TRUE(dialogs.questionsAnswered());
        if (c.decided) {
            ASSERT_EQ(dialogs.conflicts.size(), 1u);
            EXPECT_EQ(dialogs.conflicts[0].field, latin("Skill"));
            EXPECT_EQ(dialogs.conflicts[0].base, QString::number(m_pilot.u16(Field::Skill)));
            EXPECT_EQ(dialogs.conflicts[0].mine, latin("1001"));
            EXPECT_EQ(dialogs.conflicts[0].theirs, latin("77"));
        }
        if (!c.merged) {
            EXPECT_EQ(window->record(), mine);
            EXPECT_EQ(readBytes(m_pilotPath), bytesOf(c.theirs));
            EXPECT_FALSE(notice()->isHidden());
            continue;
        }
        EXPECT_EQ(window->record(), *c.merged);
        EXPECT_TRUE(notice()->isHidden());
        // From Save the merge is written at once; from the notice at the next Save, which
        // asks nothing: the game's bytes are the base now, and the history keeps them.
        if (!c.fromSave) {
            EXPECT_EQ(readBytes(m_pilotPath), bytesOf(c.theirs));
            trigger("SaveTFR1");
        }
        EXPECT_EQ(readBytes(m_pilotPath), bytesOf(*c.merged));
        EXPECT_EQ(newestKept(), c.theirs);
        EXPECT_TRUE(dialogs.questionsAnswered());
        if (!c.fromSave) {
            // Undo takes the merge back to the user's edits alone.
            trigger("Undo1");
            EXPECT_EQ(window->record(), mine);
        }
    }
}

// Content decides: a file that another program wrote with the bytes Save would write asks
// nothing and is as if saved.
TEST_F(FileOnDisk, NoNoticeWhenTheFileHoldsWhatSaveWouldWrite) {
    openPilot();
    edit();
    const PilotRecord edited = window->record();
    elsewhere([&] { writeRecord(m_pilotPath, edited); });
    EXPECT_TRUE(notice()->isHidden());
    EXPECT_FALSE(window->unsaved());
    EXPECT_EQ(changedPanel(), QString());
    trigger("SaveTFR1");
    EXPECT_TRUE(dialogs.questions.empty());
}

// The notice comes while the window is active too, as soon as the file changes: written in
// place or replaced by a rename, and again after the rename.
TEST_F(FileOnDisk, TheNoticeComesAsSoonAsTheFileChanges) {
    const auto noticeShown = [this] {
        return QTest::qWaitFor([this] { return !notice()->isHidden(); });
    };
    openPilot();
    gameRewritesInPlace();
    ASSERT_TRUE(noticeShown());
    QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
    ASSERT_TRUE(notice()->isHidden());
    for (const std::uint32_t seed : {64u, 65u}) {
        SCOPED_TRACE(seed);
        writeRecord(dir / "new.tmp", showableRecord(seed));
        run(latin("mv"), {qpath(dir / "new.tmp"), qpath(m_pilotPath)});
        ASSERT_TRUE(noticeShown());
        QTest::mouseClick(control<QPushButton>("ReloadButton"), Qt::LeftButton);
        EXPECT_EQ(window->record(), showableRecord(seed));
        EXPECT_TRUE(notice()->isHidden());
    }
}

}  // namespace
