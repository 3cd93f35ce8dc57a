// What a screen reader hears of both windows, asked as it asks: through the accessibility
// interfaces of the controls. Every control is named for what it is for, never for the
// value it shows, and the mission controls name the battle shown.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "TForm2.h"
#include "UserActions.h"
#include "WindowFixture.h"

namespace {

using testing_support::choose;
using testing_support::latin;

QString accessibleText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(kind) : QString();
}

class ScreenReader : public testing_support::WindowShell {
protected:
    ScreenReader() {
        activate();  // fills the fields of an all-zero pilot
        window->BSF1Click();
    }
    [[nodiscard]] QWidget* named(bool form, const char* name) const {
        return form ? testing_support::control(*window->bsfForm(), name) : control(name);
    }
};

TEST_F(ScreenReader, EveryControlIsNamedForWhatItIsFor) {
    const struct {
        bool form;
        const char* control;
        const char* name;
    } cases[] = {
        // The editor's selectors, whatever entry they show.
        {false, "RankBox", "Rank"},
        {false, "SecOrderBox", "Secret order"},
        {false, "DifficultyBox", "Difficulty"},
        {false, "PilotStatusBox", "Pilot status"},
        {false, "TrainingShipBox", "Training craft"},
        {false, "CombatShipBox1", "Combat chamber craft"},
        {false, "CombatMissionBox1", "Combat chamber mission"},
        {false, "BattleNRBox1", "Battle"},
        {false, "BattleStatusBox1", "Battle status"},
        // Number fields by what they hold; the mission controls with the battle shown.
        {false, "TotalScoreEdit1", "Total score"},
        {false, "LaserHitsEdit", "Laser hits"},
        {false, "Edit83", "Skill"},
        {false, "ScoreEdit1", "Training score"},
        {false, "LevelEdit2", "Highest training level"},
        {false, "CombatMisScore", "Combat chamber score"},
        {false, "CheckBox18", "Combat chamber mission completed"},
        {false, "Edit3", "Battle 1, mission 3 score"},
        {false, "CheckBox2", "Battle 1, mission 2 secondary goal"},
        {false, "CheckBox16", "Battle 1, mission 8 bonus goal"},
        {false, "RadioButton5", "Battle 1, mission 5 last completed"},
        {false, "CheckBox17", "No mission finished"},
        // Kill counters by their label, saying what they count.
        {false, "Edit9", "Kills of X-W"},
        {false, "Edit34", "Kills of CN/A"},
        {false, "Edit74", "Kills of R&D"},
        // The texts handed to the form, the status bar, the menu bar and the toolbar.
        {false, "Edit79", "ID-Line"},
        {false, "Edit81", "Battle number"},
        {false, "Edit82", "Medal"},
        {false, "Edit80", "E-Mail"},
        {false, "StatusPanel1", "First status panel, empty"},
        {false, "ChangedPanel", "Changed"},
        {false, "StatusPanel3", "Third status panel, empty"},
        {false, "MainMenu1", "Menu bar"},
        {false, "ToolBar1", "Main Menu"},
        {false, "LoadToolbarButton", "Load a TFR"},
        {false, "qt_toolbar_ext_button", "More toolbar buttons"},
        // The form.
        {true, "Edit1", "ID-Line"},
        {true, "Edit3", "Battle number"},
        {true, "Edit4", "Medal"},
        {true, "Edit2", "E-Mail"},
        {true, "RadioButton1", "Include Battle"},
        {true, "BattleBox", "Battle"},
        {true, "ComboBox3", "Battle scores up to mission"},
        {true, "CheckBox1", "Highscore in mission 1"},
        {true, "CheckBox8", "Highscore in mission 8"},
        {true, "RadioButton2", "Include Combat Chamber"},
        {true, "CombatBox", "Combat chamber craft"},
        {true, "ComboBox1", "From mission"},
        {true, "ComboBox2", "To mission"},
        {true, "Panel1", "Battle scores"},
        {true, "Panel2", "Combat chamber scores"},
        {true, "BitBtn1", "Close"},
        {true, "BitBtn2", "Save BSF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(accessibleText(named(c.form, c.control), QAccessible::Name), latin(c.name));
    }
}

// A selector's entry is its value, never its name; every control that takes the keyboard
// focus says what it is.
TEST_F(ScreenReader, EveryFocusableControlHasANameAndSelectorsTellTheirEntryApart) {
    for (QWidget* root :
         {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(window->bsfForm())}) {
        for (QWidget* widget : root->findChildren<QWidget*>()) {
            if (widget->focusPolicy() == Qt::NoFocus || !widget->isVisibleTo(root) ||
                widget->inherits("QMenu")) {
                continue;
            }
            SCOPED_TRACE(widget->objectName().toStdString() + " " +
                         widget->metaObject()->className());
            const QString name = accessibleText(widget, QAccessible::Name).trimmed();
            EXPECT_FALSE(name.isEmpty());
            if (auto* box = qobject_cast<QComboBox*>(widget)) {
                EXPECT_EQ(accessibleText(widget, QAccessible::Value), box->currentText());
                EXPECT_NE(name, box->currentText());
            }
        }
    }
}

// The mission controls follow the battle shown, and so do the names of the steps that Undo
// offers; each kill counter has a description of its own.
TEST_F(ScreenReader, NamesFollowTheBattleShownAndDescribeEachCounter) {
    showActive();
    choose(control<QComboBox>("BattleNRBox1"), 3);
    EXPECT_EQ(accessibleText(control("Edit3"), QAccessible::Name),
              latin("Battle 4, mission 3 score"));
    EXPECT_EQ(accessibleText(control("RadioButton8"), QAccessible::Name),
              latin("Battle 4, mission 8 last completed"));
    typeInto("Edit3", latin("1200"));
    EXPECT_EQ(control<QAction>("Undo1")->text(), latin("Undo Battle 4, mission 3 score"));
    typeInto("Edit34", latin("3"));
    EXPECT_EQ(control<QAction>("Undo1")->text(), latin("Undo Kills of CN/A"));

    EXPECT_EQ(accessibleText(control("Edit34"), QAccessible::Description),
              latin("Destroyed ships of the type CN/A"));
    EXPECT_EQ(accessibleText(control("RankBox"), QAccessible::Description),
              latin("Rank of the current pilot"));
    EXPECT_EQ(accessibleText(control("RankBox"), QAccessible::Value), latin("Flight Cadet"));
    EXPECT_EQ(accessibleText(control("ChangedPanel"), QAccessible::Name), latin("Changed"));
    dialogs.answerSaveChanges(ui::SaveChoice::Discard);
    trigger("ToolbarButton974");  // New Pilot
    EXPECT_EQ(accessibleText(control("ChangedPanel"), QAccessible::Name), latin("Not changed"));
    EXPECT_EQ(accessibleText(control("Edit3"), QAccessible::Name),
              latin("Battle 1, mission 3 score"));
}

}  // namespace
