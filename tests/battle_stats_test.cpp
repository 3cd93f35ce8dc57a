#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "BattleStatsGroup.h"
#include "PilotRecord.h"
#include "Totals.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;

template <typename T>
T* control(const QWidget& root, const QString& name) {
    T* widget = root.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QString numbered(const char* stem, std::size_t number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

// Picks an entry as the user does: the selection moves, then `activated` fires.
void choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

// Types over the selected text. Every keystroke runs the field's rule and a lone "-" does
// not convert, so a negative number gets its digits first and the sign last.
void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    if (text.startsWith(QLatin1Char('-'))) {
        QTest::keyClicks(edit, text.mid(1));
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, '-');
    } else {
        QTest::keyClicks(edit, text);
    }
}

// Pastes over the selected text: one change of the text, as "$1F" needs.
void pasteInto(QLineEdit* edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

std::int32_t score(const PilotRecord& record, std::size_t battle, std::size_t mission) {
    return record.i32(Field::BattleMissionScore, battle, mission);
}

// The group alone; the window's callbacks become counters, and the total is recomputed into
// the record as the window does.
class BattleGroupTest : public ::testing::Test {
protected:
    BattleGroupTest()
        : m_group(
              m_record, [this] { ++m_marks; },
              [this] {
                  ++m_totals;
                  m_record.setI32(Field::TotalScore, pilot::missionScoreTotal(m_record));
              }) {
        m_group.show();
    }

    void refresh() {
        m_group.uncheckGoals();
        m_group.showFirstBattleScores();
        m_group.showFirstBattleDetails();
    }
    void chooseBattle(std::size_t battle) {
        choose(control<QComboBox>(m_group, QStringLiteral("BattleNRBox1")),
               static_cast<int>(battle));
    }
    QLineEdit* edit(std::size_t number) {
        return control<QLineEdit>(m_group, numbered("Edit", number));
    }
    QCheckBox* box(std::size_t number) {
        return control<QCheckBox>(m_group, numbered("CheckBox", number));
    }
    QRadioButton* radio(std::size_t number) {
        return control<QRadioButton>(m_group, numbered("RadioButton", number));
    }
    QComboBox* statusBox() {
        return control<QComboBox>(m_group, QStringLiteral("BattleStatusBox1"));
    }
    std::vector<std::size_t> checkedRadios() {
        std::vector<std::size_t> checked;
        for (std::size_t n = 1; n <= 8; ++n) {
            if (radio(n)->isChecked()) {
                checked.push_back(n);
            }
        }
        return checked;
    }

    PilotRecord m_record;
    int m_marks = 0;
    int m_totals = 0;
    editor::BattleStatsGroup m_group;
};

TEST_F(BattleGroupTest, SelectorsListTheBattlesAndStatusesWithoutTypedText) {
    auto* battles = control<QComboBox>(m_group, QStringLiteral("BattleNRBox1"));
    ASSERT_EQ(battles->count(), 20);
    EXPECT_EQ(battles->itemText(0), QStringLiteral("Battle  1"));
    EXPECT_EQ(battles->itemText(8), QStringLiteral("Battle  9"));
    EXPECT_EQ(battles->itemText(9), QStringLiteral("Battle 10"));
    EXPECT_EQ(battles->itemText(19), QStringLiteral("Battle 20"));
    ASSERT_EQ(statusBox()->count(), 4);
    EXPECT_EQ(statusBox()->itemText(0), QStringLiteral("Not Displayed (Battle does not exist)"));
    EXPECT_EQ(statusBox()->itemText(3), QStringLiteral("Completed"));
    EXPECT_FALSE(battles->isEditable());
    EXPECT_FALSE(statusBox()->isEditable());
    EXPECT_EQ(statusBox()->toolTip(),
              QStringLiteral("A Battle can have four stats:\nNot Displayed (Battle does not "
                             "exist)\nIn Progress (Current Battle)\nNot Completed\nCompleted"));
}

TEST_F(BattleGroupTest, ControlsStandWhereTheFormPutsThem) {
    struct Place {
        const char* name;
        int top;
        int width;
    };
    const std::vector<Place> places = {
        {"BattleNRBox1", 12, 75}, {"BattleStatusBox1", 12, 199},
        {"Edit1", 45, 71},        {"Edit4", 150, 71},
        {"Edit5", 45, 71},        {"Edit8", 150, 71},
        {"CheckBox1", -1, 15},    {"CheckBox16", -1, 15},
        {"RadioButton8", -1, 15}, {"CheckBox17", 172, -1},
    };
    for (const Place& place : places) {
        const auto* widget = control<QWidget>(m_group, QString::fromLatin1(place.name));
        if (place.top >= 0) {
            EXPECT_EQ(widget->y(), place.top) << place.name;
        }
        if (place.width >= 0) {
            EXPECT_EQ(widget->width(), place.width) << place.name;
        }
    }
    // Missions 5..8 stand right of missions 1..4; each row's boxes share the edit's line and
    // lie right of it.
    for (std::size_t n = 1; n <= 8; ++n) {
        const QRect score = edit(n)->geometry();
        for (const QWidget* onLine :
             {static_cast<QWidget*>(box(n)), static_cast<QWidget*>(box(n + 8)),
              static_cast<QWidget*>(radio(n))}) {
            EXPECT_GT(onLine->x(), score.right()) << n;
            EXPECT_GE(onLine->y(), score.top()) << n;
            EXPECT_LE(onLine->geometry().bottom(), score.bottom()) << n;
        }
        EXPECT_LT(box(n)->x(), box(n + 8)->x());
        EXPECT_LT(box(n + 8)->x(), radio(n)->x());
        EXPECT_LE(radio(n)->geometry().right(), 295);
    }
    EXPECT_GT(edit(5)->x(), radio(1)->geometry().right());
    // Labels "Mission n:" at y 35, 70, 105, 140 in each half; heads S, B, C at y 35.
    std::vector<QString> missionLabels;
    std::vector<QString> heads;
    for (const QLabel* label : m_group.findChildren<QLabel*>()) {
        if (label->text().startsWith(QStringLiteral("Mission"))) {
            const int n = label->text().mid(8, 1).toInt();
            EXPECT_EQ(label->y(), 35 + 35 * ((n - 1) % 4)) << n;
            EXPECT_EQ(label->y() + 10, edit(static_cast<std::size_t>(n))->y()) << n;
            missionLabels.push_back(label->text());
        } else {
            EXPECT_EQ(label->y(), 35);
            heads.push_back(label->text());
        }
    }
    EXPECT_EQ(missionLabels.size(), 8u);
    std::sort(heads.begin(), heads.end());
    EXPECT_EQ(heads, (std::vector<QString>{QStringLiteral("B"), QStringLiteral("B"),
                                           QStringLiteral("C"), QStringLiteral("C"),
                                           QStringLiteral("S"), QStringLiteral("S")}));
}

TEST_F(BattleGroupTest, TabOrderRunsSelectorsScoresGoalsRadiosThenNoMissionBox) {
    std::vector<QString> expected = {QStringLiteral("BattleNRBox1"),
                                     QStringLiteral("BattleStatusBox1")};
    for (std::size_t n = 1; n <= 8; ++n) {
        expected.push_back(numbered("Edit", n));
    }
    for (std::size_t n = 1; n <= 16; ++n) {
        expected.push_back(numbered("CheckBox", n));
    }
    for (std::size_t n = 1; n <= 8; ++n) {
        expected.push_back(numbered("RadioButton", n));
    }
    expected.push_back(QStringLiteral("CheckBox17"));

    // The chain also holds the labels; keep the named controls of the group.
    std::vector<QString> chain;
    QWidget* const first = control<QWidget>(m_group, expected.front());
    QWidget* widget = first;
    do {
        if (m_group.isAncestorOf(widget) && !widget->objectName().isEmpty()) {
            chain.push_back(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != first);
    EXPECT_EQ(chain, expected);
}

TEST_F(BattleGroupTest, SwitchCommitsIntoThePreviousBattleOnly) {
    for (std::size_t m = 0; m < 8; ++m) {
        m_record.setI32(Field::BattleMissionScore, static_cast<std::int32_t>(300 + m), 2, m);
        m_record.setI32(Field::BattleMissionScore, static_cast<std::int32_t>(700 + m), 6, m);
    }
    m_record.setU8(Field::BattleSecondaryGoals, 0x10, 6);
    m_record.setU8(Field::BattleBonusGoals, 0x20, 6);
    m_record.setU8(Field::BattleLastMission, 4, 6);
    refresh();
    chooseBattle(2);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("300"));
    typeInto(edit(2), QStringLiteral("42"));
    box(3)->click();   // secondary goal of mission 3
    box(16)->click();  // bonus goal of mission 8
    const PilotRecord before = m_record;

    chooseBattle(6);

    PilotRecord expected = before;
    expected.setU8(Field::BattleSecondaryGoals, 0x04, 2);
    expected.setU8(Field::BattleBonusGoals, 0x80, 2);
    EXPECT_EQ(m_record, expected);  // battle 7's slots hold what they held
    EXPECT_EQ(score(m_record, 2, 1), 42);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("700"));
    EXPECT_EQ(m_group.currentBattle(), 6u);
    EXPECT_EQ(m_group.selectedBattle(), std::optional<std::size_t>(6));
    EXPECT_TRUE(box(5)->isChecked());
    EXPECT_TRUE(box(14)->isChecked());
    EXPECT_FALSE(box(3)->isChecked());
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{4});
}

TEST_F(BattleGroupTest, GoalBytesShowAsTicksAndCommitBackUnchanged) {
    const std::vector<std::uint8_t> patterns = {0x81, 0x00, 0xFF, 0x5A, 0x01, 0x80};
    for (const std::uint8_t secondary : patterns) {
        const auto bonus = static_cast<std::uint8_t>(~secondary);
        m_record.setU8(Field::BattleSecondaryGoals, secondary, 0);
        m_record.setU8(Field::BattleBonusGoals, bonus, 0);
        refresh();
        for (std::size_t m = 0; m < 8; ++m) {
            EXPECT_EQ(box(m + 1)->isChecked(), ((secondary >> m) & 1u) != 0) << int(secondary);
            EXPECT_EQ(box(m + 9)->isChecked(), ((bonus >> m) & 1u) != 0) << int(secondary);
        }
        m_record.setU8(Field::BattleSecondaryGoals, 0x33, 0);
        m_record.setU8(Field::BattleBonusGoals, 0x33, 0);
        m_group.CommitBattleFields();
        EXPECT_EQ(m_record.u8(Field::BattleSecondaryGoals, 0), secondary);
        EXPECT_EQ(m_record.u8(Field::BattleBonusGoals, 0), bonus);
    }
}

TEST_F(BattleGroupTest, CommitWritesScoresAndGoalsButNeitherMarksNorTotals) {
    m_record.setU8(Field::BattleStatus, 2, 0);
    m_record.setU8(Field::BattleLastMission, 5, 0);
    refresh();
    typeInto(edit(8), QStringLiteral("-9"));
    box(9)->click();
    m_record.setI32(Field::BattleMissionScore, 1234, 0, 7);  // differs from the shown text
    m_record.setI32(Field::TotalScore, 77);
    m_record.setU8(Field::BattleLastMission, 6, 0);
    const int marks = m_marks;
    const int totals = m_totals;

    m_group.CommitBattleFields();

    EXPECT_EQ(score(m_record, 0, 7), -9);
    EXPECT_EQ(m_record.u8(Field::BattleBonusGoals, 0), 0x01);
    EXPECT_EQ(m_record.u8(Field::BattleStatus, 0), 2);
    EXPECT_EQ(m_record.u8(Field::BattleLastMission, 0), 6);
    EXPECT_EQ(m_record.i32(Field::TotalScore), 77);
    EXPECT_EQ(m_marks, marks);
    EXPECT_EQ(m_totals, totals);
}

TEST_F(BattleGroupTest, UncommittedGoalTicksAreLostOnRefresh) {
    m_record.setU8(Field::BattleSecondaryGoals, 0x01, 0);
    refresh();
    box(1)->click();
    box(2)->click();
    box(10)->click();
    chooseBattle(0);  // the shown battle again: no switch, no commit
    EXPECT_EQ(m_record.u8(Field::BattleBonusGoals, 0), 0x00);
    refresh();
    EXPECT_TRUE(box(1)->isChecked());
    EXPECT_FALSE(box(2)->isChecked());
    EXPECT_FALSE(box(10)->isChecked());
    EXPECT_EQ(m_record.u8(Field::BattleSecondaryGoals, 0), 0x01);
    EXPECT_EQ(m_record.u8(Field::BattleBonusGoals, 0), 0x00);
}

TEST_F(BattleGroupTest, GoalClicksMarkChangedWithoutStoring) {
    refresh();
    const int marks = m_marks;
    box(4)->click();
    box(12)->click();
    EXPECT_EQ(m_marks, marks + 2);
    EXPECT_EQ(m_record.u8(Field::BattleSecondaryGoals, 0), 0);
    EXPECT_EQ(m_record.u8(Field::BattleBonusGoals, 0), 0);
}

TEST_F(BattleGroupTest, ScoreTextsFollowTheNumberFieldRule) {
    struct Case {
        const char* text;
        bool paste;
        std::int32_t stored;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"$1F", true, 31, "31"},
        {" 12", true, 12, "12"},
        {"-250", false, -250, "-250"},
        {"", true, 0, "0"},
        {"2147483647", false, 0, "0"},
        {"2147483648", true, 0, "0"},
        {"-2147483648", true, INT32_MIN, "-2147483648"},
        {"12 ", true, 0, "0"},
        {"007", false, 7, "7"},
    };
    refresh();
    for (const Case& c : cases) {
        m_record.setI32(Field::BattleMissionScore, 5, 0, 3);
        edit(4)->setText(QStringLiteral("5"));
        const QString text = QString::fromLatin1(c.text);
        if (c.paste) {
            pasteInto(edit(4), text);
        } else {
            typeInto(edit(4), text);
        }
        if (text.isEmpty()) {
            QTest::keyClick(edit(4), Qt::Key_Delete);
        }
        EXPECT_EQ(score(m_record, 0, 3), c.stored) << c.text;
        EXPECT_EQ(edit(4)->text(), QString::fromLatin1(c.shown)) << c.text;
        EXPECT_EQ(m_record.i32(Field::TotalScore), c.stored) << c.text;
    }
}

TEST_F(BattleGroupTest, ScoreEditStoresThenMarksThenTotals) {
    refresh();
    std::string order;
    editor::BattleStatsGroup group(
        m_record, [&order] { order += 'M'; }, [&order] { order += 'U'; });
    typeInto(group.findChild<QLineEdit*>(QStringLiteral("Edit6")), QStringLiteral("3"));
    EXPECT_EQ(score(m_record, 0, 5), 3);
    EXPECT_EQ(order, "MU");
}

TEST_F(BattleGroupTest, StoredSentinelScoreShowsZeroAndClearsTheSlot) {
    m_record.setI32(Field::BattleMissionScore, 2147483647, 4, 2);
    m_record.setI32(Field::BattleMissionScore, 10, 4, 3);
    refresh();
    chooseBattle(4);
    EXPECT_EQ(edit(3)->text(), QStringLiteral("0"));
    EXPECT_EQ(score(m_record, 4, 2), 0);
    EXPECT_EQ(m_record.i32(Field::TotalScore), 10);
}

TEST_F(BattleGroupTest, StatusOutsideTheListShowsEmptyAndStaysUntilPicked) {
    m_record.setU8(Field::BattleStatus, 1, 0);
    m_record.setU8(Field::BattleStatus, 7, 1);
    refresh();
    EXPECT_EQ(statusBox()->currentText(), QStringLiteral("In Progress (Current Battle)"));
    chooseBattle(1);
    EXPECT_EQ(statusBox()->currentIndex(), -1);
    EXPECT_TRUE(statusBox()->currentText().isEmpty());
    chooseBattle(0);
    chooseBattle(1);
    EXPECT_EQ(m_record.u8(Field::BattleStatus, 1), 7);

    const int marks = m_marks;
    choose(statusBox(), 3);
    EXPECT_EQ(m_record.u8(Field::BattleStatus, 1), 3);
    EXPECT_EQ(m_record.u8(Field::BattleStatus, 0), 1);
    EXPECT_EQ(m_marks, marks);  // a status change alone marks nothing
}

TEST_F(BattleGroupTest, IndexesOutsideTheListsNeverReachTheRecord) {
    refresh();
    const PilotRecord before = m_record;
    for (const int index : {-1, 20, 255}) {
        Q_EMIT control<QComboBox>(m_group, QStringLiteral("BattleNRBox1"))->activated(index);
        Q_EMIT statusBox()->activated(index < 20 ? index : 4);
    }
    EXPECT_EQ(m_record, before);
    EXPECT_EQ(m_group.currentBattle(), 0u);
}

TEST_F(BattleGroupTest, LastMissionShowsAsRadioAndLargeValuesLeaveThemAlone) {
    struct Case {
        std::uint8_t stored;
        std::vector<std::size_t> checked;  // after battle 1 showed mission 2
    };
    const std::vector<Case> cases = {{0, {}}, {1, {1}}, {8, {8}}, {9, {2}}, {200, {2}}};
    for (const Case& c : cases) {
        m_record.setU8(Field::BattleLastMission, 2, 0);
        m_record.setU8(Field::BattleLastMission, c.stored, 11);
        refresh();
        chooseBattle(11);
        EXPECT_EQ(checkedRadios(), c.checked) << int(c.stored);
        EXPECT_EQ(m_record.u8(Field::BattleLastMission, 11), c.stored);
        EXPECT_EQ(m_record.u8(Field::BattleLastMission, 0), 2);
    }
}

TEST_F(BattleGroupTest, RadioClickStoresItsMission) {
    m_record.setU8(Field::BattleLastMission, 2, 3);
    refresh();
    chooseBattle(3);
    const int marks = m_marks;
    QTest::mouseClick(radio(6), Qt::LeftButton);
    EXPECT_EQ(m_record.u8(Field::BattleLastMission, 3), 6);
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{6});
    EXPECT_EQ(m_marks, marks + 1);
}

TEST_F(BattleGroupTest, NoMissionFinishedStoresZeroAndUntickingStoresOne) {
    m_record.setU8(Field::BattleLastMission, 5, 0);
    refresh();
    auto* noMission = control<QCheckBox>(m_group, QStringLiteral("CheckBox17"));
    int marks = m_marks;
    noMission->click();
    EXPECT_EQ(m_record.u8(Field::BattleLastMission, 0), 0);
    EXPECT_TRUE(checkedRadios().empty());
    for (std::size_t n = 1; n <= 8; ++n) {
        EXPECT_FALSE(radio(n)->isEnabled()) << n;
    }
    EXPECT_EQ(m_marks, marks + 1);

    marks = m_marks;
    noMission->click();
    EXPECT_EQ(m_record.u8(Field::BattleLastMission, 0), 1);
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{1});
    for (std::size_t n = 1; n <= 8; ++n) {
        EXPECT_TRUE(radio(n)->isEnabled()) << n;
    }
    EXPECT_EQ(m_marks, marks + 2);  // RadioButton1's rule, then the box's own
}

TEST_F(BattleGroupTest, NoMissionTickAndDisabledRadiosSurviveSwitchesAndRefreshes) {
    m_record.setU8(Field::BattleLastMission, 4, 2);
    refresh();
    auto* noMission = control<QCheckBox>(m_group, QStringLiteral("CheckBox17"));
    noMission->click();
    chooseBattle(2);
    EXPECT_TRUE(noMission->isChecked());
    EXPECT_FALSE(radio(4)->isEnabled());
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{4});
    EXPECT_EQ(m_record.u8(Field::BattleLastMission, 2), 4);
    refresh();
    EXPECT_TRUE(noMission->isChecked());
    EXPECT_FALSE(radio(1)->isEnabled());
    EXPECT_TRUE(checkedRadios().empty());
}

}  // namespace
