// Go to Field in the real window: Ctrl+F, a name typed key by key, Enter; the battle, craft
// or mission is chosen and the field has the focus.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "UserActions.h"
#include "WindowFixture.h"

namespace {

using testing_support::choose;
using testing_support::latin;

class GoToField : public testing_support::WindowShell {
protected:
    GoToField() { qputenv("XDG_STATE_HOME", QByteArray::fromStdString((dir / "state").string())); }

    // The offscreen platform activates a window shown only when asked again once it is
    // exposed; a desktop's window manager does so itself.
    static void activate(QWidget* shown) {
        QApplication::processEvents();
        shown->activateWindow();
        for (int wait = 0; wait < 100 && QApplication::activeWindow() != shown; ++wait) {
            QTest::qWait(10);
        }
    }
    // Enter in the box: the dialog goes and the window is active again.
    void enter() {
        QTest::keyClick(control<QLineEdit>("GoToFieldEdit"), Qt::Key_Return);
        activate(window.get());
    }
    // Ctrl+F in the window, the query typed into the box.
    QListWidget* search(const char* query) {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QWidget* focus = QApplication::focusWidget();
        QTest::keySequence(focus != nullptr ? focus : window.get(), QKeySequence::Find);
        auto* box = control<QLineEdit>("GoToFieldEdit");
        EXPECT_TRUE(box->isVisible());
        activate(box->window());
        EXPECT_TRUE(box->hasFocus());
        EXPECT_EQ(box->text(), QString());
        QTest::keyClicks(box, latin(query));
        return control<QListWidget>("GoToFieldList");
    }
};

TEST_F(GoToField, FindsEveryKindOfNameAndTakesTheUserThere) {
    const struct {
        const char* query;
        int downs;  // Down pressed before Enter
        const char* focused;
        std::map<std::string, int> entries;
    } cases[] = {
        {"battle 4 mission 3", 0, "Edit3", {{"BattleNRBox1", 3}}},
        {"battle 4 mission 3", 1, "CheckBox3", {{"BattleNRBox1", 3}}},
        {"BattleMissionScore[3][2]", 0, "Edit3", {{"BattleNRBox1", 3}}},
        {"battlemissionscore[19][7]", 0, "Edit8", {{"BattleNRBox1", 19}}},
        {"T/F kills", 0, "Edit13", {}},
        {"kills of t/i", 0, "Edit14", {}},
        {"Skill", 0, "Edit83", {}},
        {"Edit83", 0, "Edit83", {}},
        {"edit20", 0, "Edit20", {}},
        {"Rank", 0, "RankBox", {}},
        {"laserhits", 0, "LaserHitsEdit", {}},
        {"training tie bomber level", 0, "LevelEdit2", {{"TrainingShipBox", 2}}},
        {"TrainingScore[6]", 0, "ScoreEdit1", {{"TrainingShipBox", 6}}},
        {"CombatCompleted[6][7]",
         0,
         "CheckBox18",
         {{"CombatShipBox1", 6}, {"CombatMissionBox1", 7}}},
        {"combat interceptor mission 2 score",
         0,
         "CombatMisScore",
         {{"CombatShipBox1", 1}, {"CombatMissionBox1", 1}}},
        {"battle 12 mission 2 bonus", 0, "CheckBox10", {{"BattleNRBox1", 11}}},
        {"battle 8 status", 0, "BattleStatusBox1", {{"BattleNRBox1", 7}}},
        {"BattleNRBox1", 0, "BattleNRBox1", {}},
        {"no mission finished", 0, "CheckBox17", {}},
        {"ID-Line", 0, "Edit79", {}},
        // The control of the battle shown is the one meant by its own name.
        {"Edit5", 0, "Edit5", {{"BattleNRBox1", 7}}},
    };
    showActive();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.query) + " " + std::to_string(c.downs));
        QListWidget* found = search(c.query);
        ASSERT_GT(found->count(), 0);
        auto* box = control<QLineEdit>("GoToFieldEdit");
        for (int down = 0; down < c.downs; ++down) {
            QTest::keyClick(box, Qt::Key_Down);
        }
        EXPECT_EQ(found->currentRow(), c.downs);
        enter();
        EXPECT_FALSE(box->isVisible());
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), latin(c.focused));
        for (const auto& [selector, entry] : c.entries) {
            EXPECT_EQ(control<QComboBox>(selector.c_str())->currentIndex(), entry) << selector;
        }
    }
}

// The list names what it found as the window and the record do; a name that is nothing
// finds nothing, and Enter then does nothing.
TEST_F(GoToField, ListsWhatItFindsByTitleRecordNameAndControl) {
    showActive();
    QListWidget* found = search("battle 4 mission 3");
    ASSERT_EQ(found->count(), 3);
    EXPECT_EQ(found->item(0)->text(), QStringLiteral("Battle 4, mission 3: score  \u2014  "
                                                     "BattleMissionScore[3][2], Edit3"));
    EXPECT_EQ(found->item(1)->text(), QStringLiteral("Battle 4, mission 3: secondary goal  \u2014  "
                                                     "BattleSecondaryGoals[3] bit 2, CheckBox3"));
    QTest::keyClick(control<QLineEdit>("GoToFieldEdit"), Qt::Key_Escape);

    QWidget* before = window->focusWidget();
    found = search("warp drive");
    EXPECT_EQ(found->count(), 0);
    QTest::keyClick(control<QLineEdit>("GoToFieldEdit"), Qt::Key_Return);
    EXPECT_TRUE(control("GoToFieldEdit")->isVisible());
    QTest::keyClick(control<QLineEdit>("GoToFieldEdit"), Qt::Key_Escape);
    EXPECT_FALSE(control("GoToFieldEdit")->isVisible());
    EXPECT_EQ(window->focusWidget(), before);
}

// Going to a field is a choice of the user: a battle switch commits the battle shown and
// Undo takes it back like any other.
TEST_F(GoToField, ChoosingAnotherBattleCommitsTheShownOne) {
    showActive();
    choose(control<QComboBox>("BattleNRBox1"), 2);
    QTest::mouseClick(control("CheckBox4"), Qt::LeftButton);
    static_cast<void>(search("battle 6 mission 1"));
    enter();
    EXPECT_EQ(control<QComboBox>("BattleNRBox1")->currentIndex(), 5);
    EXPECT_EQ(window->record().u8(pilot::Field::BattleSecondaryGoals, 2), 0x08);
}

}  // namespace
