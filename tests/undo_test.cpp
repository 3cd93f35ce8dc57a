// Undo and redo in the real window: one step per user action that changes what the next
// Save would write, each undo putting back exactly the record and what the window showed
// before it, each redo what it showed after.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <ostream>
#include <span>
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

// The record and what the window shows of it, group by group.
struct Shown {
    PilotRecord record;
    std::vector<editor::FieldsView> groups;
    QString changedPanel;
    friend bool operator==(const Shown&, const Shown&) = default;
};

// The groups whose selector picks what they show, by their place among the record's groups;
// a step names those whose fields it changes.
enum Picking : unsigned { kNone = 0, kTraining = 1u << 1, kCombat = 1u << 2, kBattle = 1u << 3 };
constexpr std::array<std::size_t, 3> kPickingGroups = {1, 2, 3};

// What a step taken back or again shows: the state it leads to, but a group whose fields
// the step left alone shows what it showed before (another battle chosen since stays).
Shown expectedAfterStep(Shown target, const Shown& now, unsigned changes) {
    for (const std::size_t group : kPickingGroups) {
        if ((changes & (1u << group)) == 0) {
            target.groups[group] = now.groups[group];
        }
    }
    return target;
}

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << "record starting "
         << testing::PrintToString(std::vector<std::uint8_t>(shown.record.bytes().begin(),
                                                             shown.record.bytes().begin() + 12))
         << ", panel \"" << shown.changedPanel.toStdString() << '"';
}

class Undo : public WindowShell {
protected:
    [[nodiscard]] Shown shown() const {
        Shown now{window->record(), {}, changedPanel()};
        for (QWidget* group : recordGroups()) {
            now.groups.push_back(editor::FieldsView::capture(std::span(&group, 1)));
        }
        return now;
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
        unsigned changes = kNone;
    } actions[] = {
        // Showing another battle stores its shown values again: no byte changes.
        {"battle 6 chosen", [this] { choose(control<QComboBox>("BattleNRBox1"), 5); }, QString()},
        {"total score typed", [this] { typeAndLeave("TotalScoreEdit1", latin("1234")); },
         latin("Total score")},
        {"rank chosen", [this, rank] { choose(control<QComboBox>("RankBox"), rank); },
         latin("Rank")},
        {"training ship chosen", [this] { choose(control<QComboBox>("TrainingShipBox"), 2); },
         QString()},
        {"training score typed", [this] { typeAndLeave("ScoreEdit1", latin("777")); },
         latin("Training score"), kTraining},
        {"combat ship and mission chosen",
         [this] {
             choose(control<QComboBox>("CombatShipBox1"), 4);
             choose(control<QComboBox>("CombatMissionBox1"), 5);
         },
         QString()},
        {"completed box clicked", [this] { click("CheckBox18"); },
         latin("Combat chamber mission completed"), kCombat},
        {"combat score typed", [this] { typeAndLeave("CombatMisScore", latin("-9")); },
         latin("Combat chamber score"), kCombat},
        // Another battle's scores renew the total typed above: a step of its own, which
        // changes no battle's fields.
        {"battle 3 chosen", [this] { choose(control<QComboBox>("BattleNRBox1"), 2); },
         latin("Battle")},
        {"battle 6 chosen again", [this] { choose(control<QComboBox>("BattleNRBox1"), 5); },
         QString()},
        {"mission 3 score typed", [this] { typeAndLeave("Edit3", latin("5000")); },
         latin("Battle 6, mission 3 score"), kBattle},
        {"secondary goal ticked", [this] { click("CheckBox2"); },
         latin("Battle 6, mission 2 secondary goal"), kBattle},
        {"bonus goal ticked", [this] { click("CheckBox12"); },
         latin("Battle 6, mission 4 bonus goal"), kBattle},
        {"last mission clicked", [this, radio] { click(radio.c_str()); },
         QStringLiteral("Battle 6, mission %1 last completed").arg(lastRadio), kBattle},
        {"no mission finished ticked", [this] { click("CheckBox17"); },
         latin("No mission finished"), kBattle},
        {"status chosen",
         [this, status] { choose(control<QComboBox>("BattleStatusBox1"), status); },
         latin("Battle status"), kBattle},
        {"kill counter typed", [this] { typeAndLeave("Edit20", latin("12")); },
         latin("Kills of MIS")},
        {"no mission finished unticked", [this] { click("CheckBox17"); },
         latin("No mission finished"), kBattle},
    };

    struct Step {
        QString name;
        Shown before;
        Shown after;
        unsigned changes;
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
            steps.push_back({action.step, std::move(before), std::move(after), action.changes});
        }
        EXPECT_EQ(undoAction()->text(),
                  steps.empty() ? latin("Undo") : latin("Undo ") + steps.back().name);
        EXPECT_EQ(window->unsaved(), !steps.empty());
    }

    for (std::size_t i = steps.size(); i-- > 0;) {
        SCOPED_TRACE("undo " + steps[i].name.toStdString());
        ASSERT_TRUE(undoAction()->isEnabled());
        const Shown now = shown();
        press(QKeySequence::Undo);
        EXPECT_EQ(shown(), expectedAfterStep(steps[i].before, now, steps[i].changes));
        EXPECT_EQ(redoAction()->text(), latin("Redo ") + steps[i].name);
    }
    EXPECT_FALSE(undoAction()->isEnabled());
    EXPECT_EQ(window->record(), pilot);
    EXPECT_FALSE(window->unsaved());

    for (const Step& step : steps) {
        SCOPED_TRACE("redo " + step.name.toStdString());
        ASSERT_TRUE(redoAction()->isEnabled());
        const Shown now = shown();
        press(QKeySequence::Redo);
        EXPECT_EQ(shown(), expectedAfterStep(step.after, now, step.changes));
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

// Undo and redo take back or again only what the step changed: a general value undone
// keeps the battle, craft and mission now in view; a step that changed what a selector
// shows (a mission score of battle 3) brings that back into view. A goal tick committed by
// a later switch of battles stays committed.
// The entries chosen in the battle, training craft, combat craft and mission selectors.
struct View {
    int battle;
    int trainingCraft;
    int combatCraft;
    int combatMission;
    friend bool operator==(const View&, const View&) = default;
};

void PrintTo(const View& view, std::ostream* out) {
    *out << "battle " << view.battle << ", training " << view.trainingCraft << ", combat "
         << view.combatCraft << "/" << view.combatMission;
}

TEST_F(Undo, StepsBringBackTheViewOnlyWhereTheyChangedWhatItShows) {
    const auto view = [this] {
        return View{control<QComboBox>("BattleNRBox1")->currentIndex(),
                    control<QComboBox>("TrainingShipBox")->currentIndex(),
                    control<QComboBox>("CombatShipBox1")->currentIndex(),
                    control<QComboBox>("CombatMissionBox1")->currentIndex()};
    };
    const auto showView = [this](const View& v) {
        choose(control<QComboBox>("BattleNRBox1"), v.battle);
        choose(control<QComboBox>("TrainingShipBox"), v.trainingCraft);
        choose(control<QComboBox>("CombatShipBox1"), v.combatCraft);
        choose(control<QComboBox>("CombatMissionBox1"), v.combatMission);
    };
    const View editedIn{2, 1, 3, 4};
    const View movedTo{5, 6, 0, 7};
    const struct {
        const char* what;
        std::function<void()> edit;
        View afterUndo;
    } cases[] = {
        {"skill typed", [this] { typeAndLeave("Edit83", latin("77")); }, movedTo},
        {"rank chosen", [this] { choose(control<QComboBox>("RankBox"), 4); }, movedTo},
        {"kill counter typed", [this] { typeAndLeave("Edit9", latin("8")); }, movedTo},
        {"mission 3 score of battle 3 typed", [this] { typeAndLeave("Edit3", latin("4321")); },
         View{editedIn.battle, movedTo.trainingCraft, movedTo.combatCraft, movedTo.combatMission}},
        {"secondary goal of battle 3 ticked", [this] { click("CheckBox4"); },
         View{editedIn.battle, movedTo.trainingCraft, movedTo.combatCraft, movedTo.combatMission}},
        {"training score typed", [this] { typeAndLeave("ScoreEdit1", latin("55")); },
         View{movedTo.battle, editedIn.trainingCraft, movedTo.combatCraft, movedTo.combatMission}},
        {"combat completed clicked", [this] { click("CheckBox18"); },
         View{movedTo.battle, movedTo.trainingCraft, editedIn.combatCraft, editedIn.combatMission}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PilotRecord pilot = showableRecord(58);
        if (window->unsaved()) {
            dialogs.answerSaveChanges(ui::SaveChoice::Discard);
        }
        openPilot(pilot);
        showView(editedIn);
        c.edit();
        const PilotRecord edited = window->record();
        ASSERT_TRUE(window->unsaved());
        showView(movedTo);

        press(QKeySequence::Undo);
        EXPECT_EQ(view(), c.afterUndo);
        EXPECT_FALSE(window->unsaved());  // what Save writes is the pilot as opened
        press(QKeySequence::Redo);
        EXPECT_EQ(view(), c.afterUndo);
        EXPECT_TRUE(window->unsaved());
        EXPECT_EQ(window->record().u16(Field::Skill), edited.u16(Field::Skill));
        EXPECT_EQ(window->record().i32(Field::BattleMissionScore, 2, 2),
                  edited.i32(Field::BattleMissionScore, 2, 2));
    }

    // A tick of battle 3 is committed by the switch to battle 6; undoing a later general
    // edit keeps battle 6 in view and the tick in the record.
    dialogs.answerSaveChanges(ui::SaveChoice::Discard);
    openPilot(showableRecord(59));
    showView(editedIn);
    const bool ticked = control<QCheckBox>("CheckBox4")->isChecked();
    click("CheckBox4");
    typeAndLeave("Edit83", latin("9"));
    showView(movedTo);
    press(QKeySequence::Undo);
    EXPECT_EQ(view(), movedTo);
    EXPECT_EQ(undoAction()->text(), latin("Undo Battle 3, mission 4 secondary goal"));
    EXPECT_EQ((window->record().u8(Field::BattleSecondaryGoals, 2) >> 3) & 1u, ticked ? 0u : 1u);
    press(QKeySequence::Undo);
    EXPECT_EQ(view().battle, editedIn.battle);
    EXPECT_EQ(control<QCheckBox>("CheckBox4")->isChecked(), ticked);
    EXPECT_FALSE(window->unsaved());
}

}  // namespace
