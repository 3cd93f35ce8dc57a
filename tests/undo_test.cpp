// Undo and redo in the real window: one step per user action that changes what the next
// Save would write, each undo putting back exactly the record and what the window showed
// before it, each redo what it showed after.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "FieldsView.h"
#include "UserActions.h"
#include "WindowFixture.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::bytesOf;
using testing_support::choose;
using testing_support::latin;
using testing_support::namesIn;
using testing_support::qpath;
using testing_support::readBytes;
using testing_support::showableRecord;
using testing_support::WindowShell;
using testing_support::writeRecord;

// The record and what the window shows of it.
struct Shown {
    PilotRecord record;
    editor::FieldsView fields;
    QString changedPanel;
    friend bool operator==(const Shown&, const Shown&) = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << "record starting "
         << testing::PrintToString(std::vector<std::uint8_t>(shown.record.bytes().begin(),
                                                             shown.record.bytes().begin() + 12))
         << ", panel \"" << shown.changedPanel.toStdString() << '"';
}

class Undo : public WindowShell {
protected:
    [[nodiscard]] Shown shown() const {
        return {window->record(), editor::FieldsView::capture(recordGroups()), changedPanel()};
    }
    [[nodiscard]] QAction* undoAction() const { return control<QAction>("Undo1"); }
    [[nodiscard]] QAction* redoAction() const { return control<QAction>("Redo1"); }
    // The keys, pressed where the focus is (a field, most often).
    void press(QKeySequence::StandardKey key) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keySequence(focus != nullptr ? focus : window.get(), QKeySequence(key));
    }
    void typeAndLeave(const char* field, const QString& keys) {
        typeInto(field, keys);
        QTest::keyClick(control(field), Qt::Key_Tab);
    }
    void click(const char* button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    void openPilot(const PilotRecord& pilot, const char* name = "pilot.TFR") {
        writeRecord(dir / name, pilot);
        showActive();
        open(dir / name);
        ASSERT_EQ(window->record(), pilot);
    }
};

// Edits in every group, with the choices between them that change no byte and so make no
// step of their own; undone one by one and redone again.
TEST_F(Undo, EveryStepGoesBackAndForthExactly) {
    const PilotRecord pilot = showableRecord(51);
    openPilot(pilot);
    const int rank = (pilot.u8(Field::Rank) + 1) % 6;
    const int status = (pilot.u8(Field::BattleStatus, 5) + 1) % 4;
    const int lastRadio = pilot.u8(Field::BattleLastMission, 5) == 4 ? 5 : 4;
    const std::string radio = "RadioButton" + std::to_string(lastRadio);
    const struct {
        const char* what;
        std::function<void()> act;
        QString step;  // the step's name, empty where the action makes no step
    } actions[] = {
        // Showing another battle stores its shown values again: no byte changes.
        {"battle 6 chosen", [this] { choose(control<QComboBox>("BattleNRBox1"), 5); }, QString()},
        {"total score typed", [this] { typeAndLeave("TotalScoreEdit1", latin("1234")); },
         latin("Total Score")},
        {"rank chosen", [this, rank] { choose(control<QComboBox>("RankBox"), rank); },
         latin("Rank")},
        {"training ship chosen", [this] { choose(control<QComboBox>("TrainingShipBox"), 2); },
         QString()},
        {"training score typed", [this] { typeAndLeave("ScoreEdit1", latin("777")); },
         latin("Training Score")},
        {"combat ship and mission chosen",
         [this] {
             choose(control<QComboBox>("CombatShipBox1"), 4);
             choose(control<QComboBox>("CombatMissionBox1"), 5);
         },
         QString()},
        {"completed box clicked", [this] { click("CheckBox18"); },
         latin("Combat Chamber Completed")},
        {"combat score typed", [this] { typeAndLeave("CombatMisScore", latin("-9")); },
         latin("Combat Chamber Score")},
        // Another battle's scores renew the total typed above: a step of its own.
        {"battle 3 chosen", [this] { choose(control<QComboBox>("BattleNRBox1"), 2); },
         latin("Battle")},
        {"battle 6 chosen again", [this] { choose(control<QComboBox>("BattleNRBox1"), 5); },
         QString()},
        {"mission 3 score typed", [this] { typeAndLeave("Edit3", latin("5000")); },
         latin("Mission 3 Score")},
        {"secondary goal ticked", [this] { click("CheckBox2"); },
         latin("Mission 2 Secondary Goal")},
        {"bonus goal ticked", [this] { click("CheckBox12"); }, latin("Mission 4 Bonus Goal")},
        {"last mission clicked", [this, radio] { click(radio.c_str()); },
         QStringLiteral("Mission %1 Last Completed").arg(lastRadio)},
        {"no mission finished ticked", [this] { click("CheckBox17"); },
         latin("No mission finished")},
        {"status chosen",
         [this, status] { choose(control<QComboBox>("BattleStatusBox1"), status); },
         latin("Battle Status")},
        {"kill counter typed", [this] { typeAndLeave("Edit20", latin("12")); }, latin("MIS Kills")},
        {"no mission finished unticked", [this] { click("CheckBox17"); },
         latin("No mission finished")},
    };

    struct Step {
        QString name;
        Shown before;
        Shown after;
    };
    std::vector<Step> steps;
    for (const auto& action : actions) {
        SCOPED_TRACE(action.what);
        Shown before = shown();
        action.act();
        Shown after = shown();
        if (action.step.isEmpty()) {
            EXPECT_EQ(after.record, before.record);
        } else {
            EXPECT_NE(after, before);
            steps.push_back({action.step, std::move(before), std::move(after)});
        }
        EXPECT_EQ(undoAction()->text(),
                  steps.empty() ? latin("Undo") : latin("Undo ") + steps.back().name);
        EXPECT_EQ(window->unsaved(), !steps.empty());
    }

    for (std::size_t i = steps.size(); i-- > 0;) {
        SCOPED_TRACE("undo " + steps[i].name.toStdString());
        ASSERT_TRUE(undoAction()->isEnabled());
        press(QKeySequence::Undo);
        EXPECT_EQ(shown(), steps[i].before);
        EXPECT_EQ(redoAction()->text(), latin("Redo ") + steps[i].name);
    }
    EXPECT_FALSE(undoAction()->isEnabled());
    EXPECT_EQ(window->record(), pilot);
    EXPECT_FALSE(window->unsaved());

    for (const Step& step : steps) {
        SCOPED_TRACE("redo " + step.name.toStdString());
        ASSERT_TRUE(redoAction()->isEnabled());
        press(QKeySequence::Redo);
        EXPECT_EQ(shown(), step.after);
    }
    EXPECT_FALSE(redoAction()->isEnabled());
    EXPECT_EQ(readBytes(dir / "pilot.TFR"), bytesOf(pilot));
}

// The keystrokes of one field make one step until the focus leaves it; typing back to the
// value it started from leaves no step at all. Undone, the window shows the pilot as opened,
// the CHANGED mark cleared: no field rule ran again.
TEST_F(Undo, KeystrokesInOneFieldMakeOneStep) {
    const PilotRecord pilot = showableRecord(52);
    openPilot(pilot);
    const Shown start = shown();
    typeInto("Edit83", latin("123"));
    EXPECT_EQ(undoAction()->text(), latin("Undo Skill"));
    const Shown typed = shown();
    press(QKeySequence::Undo);
    EXPECT_EQ(shown(), start);
    EXPECT_FALSE(undoAction()->isEnabled());
    press(QKeySequence::Redo);
    EXPECT_EQ(shown(), typed);

    typeInto("Edit83", latin("45"));
    QTest::keyClick(control("Edit83"), Qt::Key_Tab);
    typeInto("Edit83", latin("6"));
    press(QKeySequence::Undo);
    EXPECT_EQ(window->record().u16(Field::Skill), 45);
    press(QKeySequence::Undo);
    EXPECT_EQ(window->record().u16(Field::Skill), 123);
    press(QKeySequence::Undo);
    EXPECT_EQ(shown(), start);

    const QString original = control<QLineEdit>("CapturesEdit")->text();
    typeInto("CapturesEdit", latin("9"));
    EXPECT_EQ(undoAction()->text(), latin("Undo Captures"));
    typeInto("CapturesEdit", original);
    EXPECT_FALSE(undoAction()->isEnabled());
    EXPECT_FALSE(window->unsaved());
}

// A text kept while typing takes its normal form when the field is left; Redo shows the
// field as it was left, not as it was typed.
TEST_F(Undo, RedoShowsTheTextAsTheFieldWasLeft) {
    const PilotRecord pilot = showableRecord(58);
    openPilot(pilot);
    const struct {
        const char* field;
        const char* keys;
        const char* left;
    } cases[] = {
        {"CapturesEdit", "$1F", "31"}, {"Edit83", "-", "0"},
        {"CraftLostEdit", "-1", "0"},  {"Edit5", "$FF", "255"},
        {"LevelEdit2", "$FF", "2"},    {"TotalScoreEdit1", "-12", "-12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        typeAndLeave(c.field, latin(c.keys));
        EXPECT_EQ(control<QLineEdit>(c.field)->text(), latin(c.left));
        const Shown left = shown();
        press(QKeySequence::Undo);
        EXPECT_NE(shown(), left);
        press(QKeySequence::Redo);
        EXPECT_EQ(shown(), left);
        EXPECT_EQ(control<QLineEdit>(c.field)->text(), latin(c.left));
    }
}

// Undo and redo cross the last Save: at the saved state the pilot is not unsaved, and no
// file is touched.
TEST_F(Undo, UndoingToTheSavedStateLeavesNothingUnsaved) {
    const PilotRecord pilot = showableRecord(53);
    openPilot(pilot);
    typeAndLeave("Edit83", latin("5"));
    press(QKeySequence::Save);
    const auto saved = readBytes(dir / "pilot.TFR");
    EXPECT_NE(saved, bytesOf(pilot));
    EXPECT_FALSE(window->unsaved());
    typeAndLeave("Edit83", latin("6"));
    EXPECT_TRUE(window->unsaved());
    const auto files = namesIn(dir.path());

    press(QKeySequence::Undo);
    EXPECT_FALSE(window->unsaved());
    EXPECT_EQ(window->record().u16(Field::Skill), 5);
    press(QKeySequence::Undo);
    EXPECT_TRUE(window->unsaved());
    EXPECT_EQ(window->record(), pilot);
    press(QKeySequence::Redo);
    EXPECT_FALSE(window->unsaved());
    EXPECT_EQ(readBytes(dir / "pilot.TFR"), saved);
    EXPECT_EQ(namesIn(dir.path()), files);

    trigger("Close1");  // at the saved state: no question
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(Undo, OpenAndNewPilotStartANewHistory) {
    openPilot(showableRecord(54));
    typeAndLeave("Edit83", latin("5"));
    ASSERT_TRUE(undoAction()->isEnabled());
    writeRecord(dir / "other.TFR", showableRecord(55));
    dialogs.answerSaveChanges(ui::SaveChoice::Discard);
    open(dir / "other.TFR");
    EXPECT_EQ(window->CurrentFileName(), qpath(dir / "other.TFR"));
    EXPECT_FALSE(undoAction()->isEnabled());
    EXPECT_FALSE(redoAction()->isEnabled());
    EXPECT_EQ(undoAction()->text(), latin("Undo"));

    typeAndLeave("Edit83", latin("6"));
    press(QKeySequence::Undo);
    ASSERT_TRUE(redoAction()->isEnabled());
    typeAndLeave("Edit83", latin("7"));
    dialogs.answerSaveChanges(ui::SaveChoice::Discard);
    trigger("ToolbarButton974");
    EXPECT_EQ(window->record(), PilotRecord::newPilot());
    EXPECT_FALSE(undoAction()->isEnabled());
    EXPECT_FALSE(redoAction()->isEnabled());
}

// A whole record put into the window (a version restored, fields taken from another
// pilot) stands byte for byte, whatever a field rule would make of it, keeps the battle,
// craft and mission shown, and is one step each way.
TEST_F(Undo, ARecordPutIntoTheWindowIsOneExactStep) {
    const PilotRecord pilot = showableRecord(56);
    openPilot(pilot);
    choose(control<QComboBox>("BattleNRBox1"), 4);
    choose(control<QComboBox>("TrainingShipBox"), 3);
    click("CheckBox3");  // a pending goal tick of battle 5, which the new record replaces

    PilotRecord odd = showableRecord(57);
    const struct {
        const char* what;
        std::function<void(PilotRecord&)> change;
    } cases[] = {
        {"a plain record", [](PilotRecord&) {}},
        {"a total that is not the sum of its scores",
         [](PilotRecord& r) { r.setI32(Field::TotalScore, 99999); }},
        {"stored reset values",
         [](PilotRecord& r) {
             r.setU16(Field::Skill, 65535);
             r.setU8(Field::TrainingLevel, 255, 3);
             r.setU16(Field::ShipKills, 65535, 7);
         }},
        {"values outside the lists",
         [](PilotRecord& r) {
             r.setU8(Field::Rank, 9);
             r.setU8(Field::BattleStatus, 7, 4);
             r.setU8(Field::BattleLastMission, 12, 4);
             r.setU8(Field::CombatCompleted, 2, 0, 0);
         }},
        {"goal bits of the battle shown",
         [](PilotRecord& r) {
             r.setU8(Field::BattleSecondaryGoals, 0x81, 4);
             r.setU8(Field::BattleBonusGoals, 0x7E, 4);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.change(odd);
        const Shown before = shown();
        window->putRecord(odd, latin("Restore"));
        EXPECT_EQ(window->record(), odd);
        EXPECT_EQ(control<QComboBox>("BattleNRBox1")->currentIndex(), 4);
        EXPECT_EQ(control<QComboBox>("TrainingShipBox")->currentIndex(), 3);
        EXPECT_EQ(undoAction()->text(), latin("Undo Restore"));
        const Shown after = shown();

        press(QKeySequence::Undo);
        EXPECT_EQ(shown(), before);
        press(QKeySequence::Redo);
        EXPECT_EQ(shown(), after);

        // What Save writes is the record put, not a rule's idea of it.
        press(QKeySequence::Save);
        EXPECT_EQ(readBytes(dir / "pilot.TFR"), bytesOf(odd));
    }
}

}  // namespace
