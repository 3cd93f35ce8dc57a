// The question before unsaved changes are dropped: every way of leaving the pilot shown
// (Close from the menu and the popup, the close box, Open, New Pilot, a dropped file) asks
// only when the bytes the next Save would write differ from those last loaded or saved, and
// each answer leaves the right state.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include "PilotReport.h"
#include "TForm2.h"
#include "UserActions.h"
#include "WindowFixture.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::bytesOf;
using testing_support::choose;
using testing_support::FakeDialogs;
using testing_support::qpath;
using testing_support::readBytes;
using testing_support::showableRecord;
using testing_support::WindowShell;
using testing_support::writeRecord;

enum class Leave { Close1, Close2, CloseBox, Open, NewPilot, Drop };

const char* nameOf(Leave leave) {
    switch (leave) {
        case Leave::Close1:
            return "menu Close";
        case Leave::Close2:
            return "popup Close";
        case Leave::CloseBox:
            return "close box";
        case Leave::Open:
            return "Open";
        case Leave::NewPilot:
            return "New Pilot";
        case Leave::Drop:
            return "dropped file";
    }
    return "";
}

constexpr Leave kAllWays[] = {Leave::Close1, Leave::Close2,   Leave::CloseBox,
                              Leave::Open,   Leave::NewPilot, Leave::Drop};

// A drag from a file manager: enter, then drop, on the widget under the mouse.
void dropFile(QWidget* target, const fs::path& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(qpath(path))});
    const QPointF point(5, 5);
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

class UnsavedChanges : public WindowShell {
protected:
    UnsavedChanges() {
        writeRecord(m_pilotPath, m_pilot);
        writeRecord(m_otherPath, m_other);
    }

    // A new window on fresh dialogs, showing the pilot as saved.
    void openPilot() {
        dialogs = FakeDialogs();
        recreate({});
        writeRecord(m_pilotPath, m_pilot);
        showActive();
        open(m_pilotPath);
        ASSERT_EQ(window->record(), m_pilot);
        ASSERT_FALSE(window->unsaved());
    }

    // Does what the user does to leave the pilot; the Open dialog, if it comes, picks the
    // other pilot.
    void leave(Leave way) {
        switch (way) {
            case Leave::Close1:
                trigger("Close1");
                break;
            case Leave::Close2:
                trigger("Close2");
                break;
            case Leave::CloseBox:
                window->windowHandle()->close();
                break;
            case Leave::Open:
                dialogs.answer(qpath(m_otherPath));
                trigger("OpenTFR1");
                break;
            case Leave::NewPilot:
                trigger("ToolbarButton974");
                break;
            case Leave::Drop:
                dropFile(window.get(), m_otherPath);
                break;
        }
    }

    // Whether the pilot was left: the window closed or shows another pilot.
    [[nodiscard]] bool left(Leave way) const {
        switch (way) {
            case Leave::Close1:
            case Leave::Close2:
            case Leave::CloseBox:
                return !window->isVisible();
            case Leave::Open:
            case Leave::Drop:
                return window->CurrentFileName() == qpath(m_otherPath) &&
                       window->record() == m_other;
            case Leave::NewPilot:
                return window->CurrentFileName() == QStringLiteral("Noname.TFR") &&
                       window->record() == PilotRecord::newPilot();
        }
        return false;
    }

    [[nodiscard]] std::size_t questionsAsked() const { return dialogs.questions.size(); }

    PilotRecord m_pilot = showableRecord(41);
    PilotRecord m_other = showableRecord(42);
    fs::path m_pilotPath = dir / "pilot.TFR";
    fs::path m_otherPath = dir / "other.TFR";
};

// Edits that change no byte, or are undone, leave without a question; the CHANGED mark
// plays no part.
TEST_F(UnsavedChanges, NoQuestionWhileTheBytesAreThoseLoaded) {
    const struct {
        const char* what;
        std::function<void()> act;
    } unchanged[] = {
        {"nothing done", [] {}},
        {"a battle switch alone",
         [this] {
             choose(control<QComboBox>("BattleNRBox1"), 6);
             choose(control<QComboBox>("BattleNRBox1"), 2);
         }},
        {"another training ship and combat mission",
         [this] {
             choose(control<QComboBox>("TrainingShipBox"), 3);
             choose(control<QComboBox>("CombatMissionBox1"), 5);
         }},
        {"an edit, then its undo",
         [this] {
             typeInto("CapturesEdit", QStringLiteral("999"));
             QTest::keySequence(control("CapturesEdit"), QKeySequence::Undo);
         }},
        {"a goal box ticked and unticked",
         [this] {
             QTest::mouseClick(control<QCheckBox>("CheckBox3"), Qt::LeftButton);
             QTest::mouseClick(control<QCheckBox>("CheckBox3"), Qt::LeftButton);
         }},
        {"the same number typed again",
         [this] {
             const QString shown = control<QLineEdit>("LaserHitsEdit")->text();
             typeInto("LaserHitsEdit", shown);
         }},
    };
    for (const Leave way : kAllWays) {
        for (const auto& c : unchanged) {
            SCOPED_TRACE(std::string(nameOf(way)) + ", " + c.what);
            openPilot();
            c.act();
            EXPECT_FALSE(window->unsaved());
            leave(way);
            EXPECT_EQ(questionsAsked(), 0u);
            EXPECT_TRUE(left(way));
            EXPECT_EQ(readBytes(m_pilotPath), bytesOf(m_pilot));
        }
    }
}

// A changed byte asks "Save changes to NAME?"; Cancel stays with everything as it was,
// Discard leaves the file alone, Save writes the edits and then leaves.
TEST_F(UnsavedChanges, EachAnswerLeavesTheRightState) {
    for (const Leave way : kAllWays) {
        for (const ui::SaveChoice answer :
             {ui::SaveChoice::Cancel, ui::SaveChoice::Discard, ui::SaveChoice::Save}) {
            SCOPED_TRACE(std::string(nameOf(way)) + " answered " +
                         std::to_string(static_cast<int>(answer)));
            openPilot();
            typeInto("CapturesEdit", QStringLiteral("4321"));
            QTest::mouseClick(control<QCheckBox>("CheckBox10"), Qt::LeftButton);
            const bool ticked = control<QCheckBox>("CheckBox10")->isChecked();
            ASSERT_TRUE(window->unsaved());
            const PilotRecord edited = window->record();
            dialogs.answerSaveChanges(answer);
            leave(way);
            ASSERT_EQ(questionsAsked(), 1u);
            EXPECT_EQ(dialogs.questions[0].kind, FakeDialogs::Question::Kind::SaveChanges);
            EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("Save changes to pilot.TFR?"));
            EXPECT_EQ(dialogs.questions[0].parent, window.get());
            EXPECT_EQ(left(way), answer != ui::SaveChoice::Cancel);
            if (answer == ui::SaveChoice::Cancel) {
                EXPECT_TRUE(window->isVisible());
                EXPECT_EQ(window->record(), edited);
                EXPECT_TRUE(window->unsaved());
                EXPECT_EQ(window->CurrentFileName(), qpath(m_pilotPath));
                EXPECT_EQ(control<QCheckBox>("CheckBox10")->isChecked(), ticked);
            }
            PilotRecord saved = edited;
            saved.setU8(Field::BattleBonusGoals,
                        static_cast<std::uint8_t>(edited.u8(Field::BattleBonusGoals) ^ 2u));
            EXPECT_EQ(readBytes(m_pilotPath),
                      bytesOf(answer == ui::SaveChoice::Save ? saved : m_pilot));
            EXPECT_TRUE(dialogs.errors.empty());
        }
    }
}

// A Save that fails (a read-only mount) keeps the window, the record and the question's
// cause; nothing is left.
TEST_F(UnsavedChanges, AFailedSaveKeepsEverything) {
    testing_support::ReadOnlyMount mount(dir / "ro");
    const auto bytes = bytesOf(m_pilot);
    if (!mount.mounted() ||
        !mount.populate({{"ro.TFR", std::string(bytes.begin(), bytes.end())}})) {
        GTEST_SKIP() << "no read-only tmpfs here";
    }
    for (const Leave way : kAllWays) {
        SCOPED_TRACE(nameOf(way));
        dialogs = FakeDialogs();
        recreate({});
        showActive();
        open(dir / "ro" / "ro.TFR");
        typeInto("Edit83", QStringLiteral("77"));
        const PilotRecord edited = window->record();
        dialogs.answerSaveChanges(ui::SaveChoice::Save);
        leave(way);
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], QStringLiteral("Dateizugriff verweigert."));
        EXPECT_EQ(dialogs.errors[0].file, qpath(dir / "ro" / "ro.TFR"));
        EXPECT_FALSE(left(way));
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->record(), edited);
        EXPECT_TRUE(window->unsaved());
        EXPECT_EQ(window->CurrentFileName(), qpath(dir / "ro" / "ro.TFR"));
        EXPECT_EQ(readBytes(dir / "ro" / "ro.TFR"), bytes);
    }
}

// Without a name, Save asks for one: the pilot is left only once the record is written, not
// when the dialog is cancelled or the text report is chosen instead.
TEST_F(UnsavedChanges, SaveWithoutANameGoesThroughSaveAs) {
    const struct {
        const char* what;
        const char* chosen;  // nullptr: cancelled
        int type;
        bool leaves;
    } cases[] = {
        {"cancelled", nullptr, 0, false},
        {"the text report", "ace", 1, false},
        {"a pilot file", "ace", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dialogs = FakeDialogs();
        recreate({});
        showActive();
        typeInto("Edit83", QStringLiteral("5"));
        dialogs.answerSaveChanges(ui::SaveChoice::Save);
        if (c.chosen != nullptr) {
            dialogs.answer(qpath(dir / c.chosen), c.type);
        }
        trigger("Close1");
        ASSERT_EQ(dialogs.questions.size(), 1u);
        EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("Save changes to Untitled?"));
        EXPECT_EQ(window->isVisible(), !c.leaves);
        EXPECT_EQ(fs::exists(dir / "ace.TFR"), c.leaves);
        EXPECT_EQ(fs::exists(dir / "ace.TXT"), c.type == 1);
        fs::remove(dir / "ace.TFR");
        fs::remove(dir / "ace.TXT");
    }
}

// While the form window is shown (it stays on top), the question belongs to it, so that the
// desktop shows it above the form.
TEST_F(UnsavedChanges, WithTheFormShownTheQuestionBelongsToIt) {
    openPilot();
    trigger("BSF1");
    ASSERT_TRUE(window->bsfForm()->isVisible());
    typeInto("Edit83", QStringLiteral("5"));
    dialogs.answerSaveChanges(ui::SaveChoice::Cancel);
    trigger("Close1");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].parent, window->bsfForm());
    EXPECT_TRUE(window->bsfForm()->isVisible());
}

// A drag that carries one local file is taken by the window, also over an edit, which
// would otherwise take the file's name as text; other drags are left to the edits.
TEST_F(UnsavedChanges, AFileDroppedOnAFieldOpensIt) {
    openPilot();
    auto* edit = control<QLineEdit>("TotalScoreEdit1");
    dropFile(edit, m_otherPath);
    EXPECT_EQ(window->record(), m_other);
    EXPECT_EQ(edit->text(), QString::number(m_other.i32(Field::TotalScore)));
    EXPECT_EQ(window->CurrentFileName(), qpath(m_otherPath));
    EXPECT_EQ(title(), titleFor(m_otherPath));
    EXPECT_TRUE(dialogs.errors.empty());

    const auto accepted = [](QWidget* target, QMimeData& data) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        return enter.isAccepted();
    };
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(qpath(m_pilotPath)), QUrl::fromLocalFile(qpath(m_otherPath))});
    EXPECT_FALSE(accepted(window.get(), two));
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://vessk.example/ace.TFR"))});
    EXPECT_FALSE(accepted(window.get(), remote));
    QMimeData text;
    text.setText(QStringLiteral("12"));
    EXPECT_TRUE(accepted(edit, text));
    EXPECT_FALSE(accepted(window.get(), text));
    EXPECT_EQ(window->CurrentFileName(), qpath(m_otherPath));

    // A file that does not load reports the error and keeps the pilot shown.
    dropFile(window.get(), dir / "missing.TFR");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], QStringLiteral("Datei nicht gefunden."));
    EXPECT_EQ(dialogs.errors[0].file, qpath(dir / "missing.TFR"));
    EXPECT_EQ(window->record(), m_other);
}

}  // namespace
