#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "BattleStatsGroup.h"
#include "FakeDialogs.h"
#include "PilotRecord.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "UserActions.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;

QString numbered(const char* stem, std::size_t number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

using testing_support::choose;
using testing_support::enterText;
using testing_support::Entry;

// A pilot that a refresh leaves as it is: valid values only, TotalScore the sum of its
// mission scores and Kills the sum of its (zero) kill counters.
PilotRecord battlePilot() {
    PilotRecord record = PilotRecord::newPilot();
    std::int32_t total = 0;
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            const auto score = static_cast<std::int32_t>(100 * battle + mission);
            record.setI32(Field::BattleMissionScore, score, battle, mission);
            total += score;
        }
        record.setU8(Field::BattleStatus, static_cast<std::uint8_t>(battle % 4), battle);
        record.setU8(Field::BattleLastMission, static_cast<std::uint8_t>(battle % 9), battle);
        record.setU8(Field::BattleSecondaryGoals, static_cast<std::uint8_t>(battle * 13), battle);
        record.setU8(Field::BattleBonusGoals, static_cast<std::uint8_t>(battle * 29), battle);
    }
    record.setI32(Field::TotalScore, total);
    return record;
}

class BattleStats : public ::testing::Test {
protected:
    // The file dialogs move the current directory to the chosen folder.
    ~BattleStats() override { std::filesystem::current_path(m_startFolder); }

    template <typename Widget>
    Widget* control(const QString& name) {
        return testing_support::control<Widget>(m_window, name);
    }
    QComboBox* battleBox() { return control<QComboBox>(QStringLiteral("BattleNRBox1")); }
    QComboBox* statusBox() { return control<QComboBox>(QStringLiteral("BattleStatusBox1")); }
    QLineEdit* edit(std::size_t number) { return control<QLineEdit>(numbered("Edit", number)); }
    QCheckBox* box(std::size_t number) { return control<QCheckBox>(numbered("CheckBox", number)); }
    QRadioButton* radio(std::size_t number) {
        return control<QRadioButton>(numbered("RadioButton", number));
    }
    QLineEdit* totalEdit() { return control<QLineEdit>(QStringLiteral("TotalScoreEdit1")); }
    void chooseBattle(std::size_t battle) { choose(battleBox(), static_cast<int>(battle)); }
    std::vector<std::size_t> checkedRadios() {
        std::vector<std::size_t> checked;
        for (std::size_t n = 1; n <= pilot::kMissions; ++n) {
            if (radio(n)->isChecked()) {
                checked.push_back(n);
            }
        }
        return checked;
    }

    // CheckBox1..8 show the secondary goal bits, CheckBox9..16 the bonus goal bits.
    void expectGoalBoxes(std::uint8_t secondary, std::uint8_t bonus) {
        for (std::size_t m = 0; m < pilot::kMissions; ++m) {
            EXPECT_EQ(box(m + 1)->isChecked(), ((secondary >> m) & 1u) != 0) << m;
            EXPECT_EQ(box(m + 9)->isChecked(), ((bonus >> m) & 1u) != 0) << m;
        }
    }

    // Opens the record through the Open command, as a user does, dropping what the shown
    // pilot has unsaved.
    void open(const PilotRecord& record) {
        testing_support::writeRecord(m_file, record);
        if (m_window.unsaved()) {
            m_dialogs.answerSaveChanges(ui::SaveChoice::Discard);
        }
        m_dialogs.answer(QString::fromStdString(m_file.string()));
        m_window.OpenTFR1Click();
        ASSERT_TRUE(m_dialogs.errors.empty());
    }
    [[nodiscard]] const PilotRecord& record() const { return m_window.record(); }
    [[nodiscard]] std::int32_t score(std::size_t battle, std::size_t mission) const {
        return record().i32(Field::BattleMissionScore, battle, mission);
    }

    std::filesystem::path m_startFolder = std::filesystem::current_path();
    testing_support::TempDir m_dir;
    std::filesystem::path m_file = m_dir / "pilot.TFR";
    testing_support::FakeDialogs m_dialogs;
    editor::TForm1 m_window{{}, m_dialogs};
};

// --- The form --------------------------------------------------------------------------

TEST_F(BattleStats, SelectorsListTheirEntriesAndTakeNoTypedText) {
    const std::vector<std::pair<int, const char*>> battles = {
        {0, "Battle  1"}, {8, "Battle  9"}, {9, "Battle 10"}, {19, "Battle 20"}};
    ASSERT_EQ(battleBox()->count(), 20);
    for (const auto& [index, text] : battles) {
        EXPECT_EQ(battleBox()->itemText(index), QString::fromLatin1(text));
    }
    const QString statusHint = QStringLiteral(
        "A Battle can have four stats:\nNot Displayed (Battle does not exist)\n"
        "In Progress (Current Battle)\nNot Completed\nCompleted");
    EXPECT_EQ(statusBox()->toolTip(), statusHint);
    EXPECT_EQ(statusBox()->count(), 4);
    EXPECT_FALSE(battleBox()->isEditable());
    EXPECT_FALSE(statusBox()->isEditable());
}

TEST_F(BattleStats, ControlsStandAtTheirPlacesInTabOrder) {
    struct Place {
        QString name;
        int top;    // ignored for the boxes on a mission's line
        int width;  // -1: not fixed
        QString tip;
        std::size_t line = 0;  // the mission whose edit line the box shares
    };
    const QString secondary = QStringLiteral("Indicates if the secondary goal has been completed");
    const QString bonus = QStringLiteral("Indicates if the bonus goal has been completed");
    const QString last = QStringLiteral("Indicates the last successfully completed mission");
    std::vector<Place> places = {
        {QStringLiteral("BattleNRBox1"), 12, 75, QStringLiteral("Selected Tie Fighter Battle")},
        {QStringLiteral("BattleStatusBox1"), 12, 199, statusBox()->toolTip()}};
    for (std::size_t n = 1; n <= 8; ++n) {
        places.push_back({numbered("Edit", n), 45 + 35 * int((n - 1) % 4), 71,
                          QStringLiteral("Score of this mission")});
    }
    for (std::size_t n = 1; n <= 16; ++n) {
        places.push_back(
            {numbered("CheckBox", n), 0, 15, n <= 8 ? secondary : bonus, (n - 1) % 8 + 1});
    }
    for (std::size_t n = 1; n <= 8; ++n) {
        places.push_back({numbered("RadioButton", n), 0, 15, last, n});
    }
    places.push_back({QStringLiteral("CheckBox17"), 172, -1, QString()});

    QWidget* const group = battleBox()->parentWidget();
    std::vector<QString> expectedChain;
    for (const Place& place : places) {
        SCOPED_TRACE(place.name.toStdString());
        expectedChain.push_back(place.name);
        const auto* widget = group->findChild<QWidget*>(place.name);
        ASSERT_NE(widget, nullptr);
        if (place.line == 0) {
            EXPECT_EQ(widget->y(), place.top);
        } else {
            const QRect line = edit(place.line)->geometry();
            EXPECT_GE(widget->y(), line.top());
            EXPECT_LE(widget->geometry().bottom(), line.bottom());
            EXPECT_GT(widget->x(), line.right());
        }
        if (place.width >= 0) {
            EXPECT_EQ(widget->width(), place.width);
        }
        EXPECT_EQ(widget->toolTip(), place.tip);
        EXPECT_LE(widget->geometry().right(), group->width());
    }
    EXPECT_GT(edit(5)->x(), radio(1)->geometry().right());  // missions 5..8 on the right

    std::vector<QString> focusChain;
    QWidget* widget = battleBox();
    do {
        if (group->isAncestorOf(widget) && widget->focusPolicy() != Qt::NoFocus) {
            focusChain.push_back(widget->objectName());
        }
        widget = widget->nextInFocusChain();
    } while (widget != battleBox());
    EXPECT_EQ(focusChain, expectedChain);

    // "Mission n:" 10 pixels above its edit; the column heads S, B, C at y 35 in each half.
    QString heads;
    for (const QLabel* label : group->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->text().toStdString());
        // Whole and clear of the edit below it, which takes every click on its frame.
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        for (const QWidget* control : group->findChildren<QWidget*>()) {
            if (control != label && !control->inherits("QLabel") &&
                control->parentWidget() == group) {
                EXPECT_FALSE(label->geometry().intersects(control->geometry()))
                    << control->objectName().toStdString();
            }
        }
        if (label->buddy() != nullptr) {
            EXPECT_EQ(label->y() + 10, label->buddy()->y());
            EXPECT_EQ(label->text(),
                      QStringLiteral("Mission %1:").arg(label->buddy()->objectName().mid(4)));
        } else {
            EXPECT_EQ(label->y(), 35);
            heads += label->text();
        }
    }
    std::sort(heads.begin(), heads.end());
    EXPECT_EQ(heads, QStringLiteral("BBCCSS"));
}

// --- Battle switch and commit --------------------------------------------------------------

TEST_F(BattleStats, SwitchFromBattle3To7CommitsIntoBattle3Only) {
    open(battlePilot());
    chooseBattle(2);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("200"));
    enterText(edit(2), QStringLiteral("42"), Entry::Type);
    box(3)->click();   // secondary goal of mission 3
    box(16)->click();  // bonus goal of mission 8
    PilotRecord expected = record();
    const std::uint8_t shownSecondary = record().u8(Field::BattleSecondaryGoals, 2) ^ 0x04;
    const std::uint8_t shownBonus = record().u8(Field::BattleBonusGoals, 2) ^ 0x80;

    chooseBattle(6);

    expected.setU8(Field::BattleSecondaryGoals, shownSecondary, 2);
    expected.setU8(Field::BattleBonusGoals, shownBonus, 2);
    EXPECT_EQ(record(), expected);  // battle 7's slots hold what they held
    EXPECT_EQ(score(2, 1), 42);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("600"));
    EXPECT_EQ(edit(8)->text(), QStringLiteral("607"));
    expectGoalBoxes(record().u8(Field::BattleSecondaryGoals, 6),
                    record().u8(Field::BattleBonusGoals, 6));
    EXPECT_EQ(statusBox()->currentIndex(), 2);
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{6});
}

TEST_F(BattleStats, GoalBytesShowAsTicksAndSaveBackUnchanged) {
    for (const std::uint8_t secondary : std::vector<std::uint8_t>{0x81, 0x00, 0xFF, 0x5A}) {
        const auto bonus = static_cast<std::uint8_t>(~secondary);
        PilotRecord pilot = battlePilot();
        pilot.setU8(Field::BattleSecondaryGoals, secondary, 0);
        pilot.setU8(Field::BattleBonusGoals, bonus, 0);
        open(pilot);
        SCOPED_TRACE(int(secondary));
        expectGoalBoxes(secondary, bonus);
        m_window.SaveTFR1Click();
        EXPECT_EQ(testing_support::readBytes(m_file),
                  std::vector<std::uint8_t>(pilot.bytes().begin(), pilot.bytes().end()));
    }
}

// After Open the group shows battle 1, whichever battle it showed before; Save then writes
// the shown fields into battle 1's slots and nowhere else.
TEST_F(BattleStats, SaveAfterOpenWritesOnlyBattle1sSlots) {
    open(battlePilot());
    chooseBattle(5);
    box(4)->click();  // never committed: the Open below drops it
    enterText(edit(1), QStringLiteral("77"), Entry::Type);
    const PilotRecord file = battlePilot();
    open(file);
    EXPECT_EQ(record(), file);
    enterText(edit(3), QStringLiteral("1000"), Entry::Type);
    box(10)->click();
    m_window.SaveTFR1Click();

    PilotRecord expected = file;
    expected.setI32(Field::BattleMissionScore, 1000, 0, 2);
    expected.setU8(Field::BattleBonusGoals, 0x02, 0);
    expected.setI32(Field::TotalScore, file.i32(Field::TotalScore) - 2 + 1000);
    EXPECT_EQ(testing_support::readBytes(m_file),
              std::vector<std::uint8_t>(expected.bytes().begin(), expected.bytes().end()));
    EXPECT_FALSE(m_window.changed());
}

TEST_F(BattleStats, BothSaveAsTypesCommitTheGoalTicks) {
    open(battlePilot());
    box(1)->click();
    m_dialogs.answer(QString::fromStdString((m_dir / "copy.TFR").string()), 0);
    m_window.SaveAs1Click();
    EXPECT_EQ(testing_support::readBytes(m_dir / "copy.TFR")[913], 0x01);
    box(9)->click();
    m_dialogs.answer(QString::fromStdString((m_dir / "report.TXT").string()), 1);
    m_window.SaveAs1Click();
    EXPECT_EQ(record().u8(Field::BattleBonusGoals, 0), 0x01);
    EXPECT_TRUE(m_dialogs.errors.empty());
}

TEST_F(BattleStats, UncommittedGoalTicksAreLostOnRefresh) {
    PilotRecord pilot = battlePilot();
    pilot.setU8(Field::BattleSecondaryGoals, 0x01, 0);
    pilot.setU8(Field::BattleBonusGoals, 0x00, 0);
    open(pilot);
    box(1)->click();
    box(10)->click();
    EXPECT_TRUE(m_window.changed());  // a goal click marks, but stores nothing
    EXPECT_EQ(record(), pilot);
    chooseBattle(0);  // the shown battle again: no switch, no commit
    EXPECT_EQ(record(), pilot);
    m_window.RefreshAllFields();
    EXPECT_TRUE(box(1)->isChecked());
    EXPECT_FALSE(box(10)->isChecked());
    EXPECT_EQ(record(), pilot);
}

// --- Mission scores and the total ----------------------------------------------------------

TEST_F(BattleStats, ScoreTextsFollowTheNumberFieldRuleAndRenewTheTotal) {
    struct Case {
        const char* text;
        Entry entry;
        std::int32_t stored;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"$1F", Entry::Paste, 31, "31"},
        {" 12", Entry::Paste, 12, "12"},
        {"-250", Entry::TypeSignLast, -250, "-250"},
        {"", Entry::Type, 0, "0"},
        {"2147483647", Entry::Paste, 0, "0"},
        {"2147483648", Entry::Paste, 0, "0"},
        {"-2147483648", Entry::Paste, INT32_MIN, "-2147483648"},
        {"12 ", Entry::Paste, 0, "0"},
        {"007", Entry::Type, 7, "7"},
    };
    open(PilotRecord{});
    for (const Case& c : cases) {
        enterText(edit(4), QString::fromLatin1(c.text), c.entry);
        EXPECT_EQ(score(0, 3), c.stored) << c.text;
        EXPECT_EQ(edit(4)->text(), QString::fromLatin1(c.shown)) << c.text;
        EXPECT_EQ(record().i32(Field::TotalScore), c.stored) << c.text;
        EXPECT_EQ(totalEdit()->text(), QString::fromLatin1(c.shown)) << c.text;
    }
}

TEST_F(BattleStats, TotalWrapsAndASumOfTheSentinelReadsZero) {
    struct Case {
        const char* typed;
        std::int32_t total;
        const char* shown;
    };
    const std::vector<Case> cases = {{"1000", -2147483296, "-2147483296"}, {"647", 0, "0"}};
    for (const Case& c : cases) {
        PilotRecord pilot;
        pilot.setI32(Field::BattleMissionScore, 2147483000, 4, 0);
        pilot.setI32(Field::TotalScore, 2147483000);
        open(pilot);
        enterText(edit(2), QString::fromLatin1(c.typed), Entry::Type);
        EXPECT_EQ(record().i32(Field::TotalScore), c.total) << c.typed;
        EXPECT_EQ(totalEdit()->text(), QString::fromLatin1(c.shown)) << c.typed;
    }
}

// A refresh recomputes TotalScore only through a score field whose text changes: then the
// sum replaces the file's total; where no score text changes, the file's total stands.
TEST_F(BattleStats, TheRefreshRecomputesTheTotalOnlyWhenAScoreTextChanges) {
    PilotRecord pilot;
    pilot.setI32(Field::BattleMissionScore, 300, 0, 0);
    pilot.setI32(Field::BattleMissionScore, 45, 9, 7);
    pilot.setI32(Field::TotalScore, 999);
    open(pilot);  // the score fields were empty
    EXPECT_EQ(record().i32(Field::TotalScore), 345);
    EXPECT_EQ(totalEdit()->text(), QStringLiteral("345"));
    open(pilot);  // the same score texts again
    EXPECT_EQ(record().i32(Field::TotalScore), 999);
    EXPECT_EQ(totalEdit()->text(), QStringLiteral("999"));
}

TEST_F(BattleStats, StoredSentinelScoreShowsZeroAndClearsTheSlot) {
    PilotRecord pilot;
    pilot.setI32(Field::BattleMissionScore, 2147483647, 4, 2);
    pilot.setI32(Field::BattleMissionScore, 10, 4, 3);
    open(pilot);
    chooseBattle(4);
    EXPECT_EQ(edit(3)->text(), QStringLiteral("0"));
    EXPECT_EQ(score(4, 2), 0);
    EXPECT_EQ(record().i32(Field::TotalScore), 10);
}

// --- Status and last completed mission ------------------------------------------------------

// Showing a battle empties the goal boxes and ticks them again: even between two battles
// with the same scores, goals and last mission, the boxes that stay ticked mark the pilot
// changed, as each of them is emptied and ticked on the way.
TEST_F(BattleStats, GoalBoxesTickedInBothBattlesStillMarkTheSwitch) {
    PilotRecord twins = PilotRecord::newPilot();
    for (const std::size_t battle : {0u, 1u}) {
        twins.setU8(Field::BattleSecondaryGoals, 0x81, battle);
        twins.setU8(Field::BattleBonusGoals, 0x02, battle);
    }
    open(twins);
    ASSERT_FALSE(m_window.changed());
    chooseBattle(1);
    expectGoalBoxes(0x81, 0x02);
    EXPECT_TRUE(m_window.changed());
    EXPECT_EQ(m_window.record(), twins);
}

TEST_F(BattleStats, StatusChangeAloneLeavesThePanelEmptyAfterASave) {
    open(battlePilot());
    enterText(edit(1), QStringLiteral("5"), Entry::Type);
    m_window.SaveTFR1Click();
    ASSERT_FALSE(m_window.changed());
    choose(statusBox(), 3);
    EXPECT_EQ(record().u8(Field::BattleStatus, 0), 3);
    EXPECT_FALSE(m_window.changed());
    EXPECT_TRUE(control<QLabel>(QStringLiteral("ChangedPanel"))->text().isEmpty());
}

TEST_F(BattleStats, StatusOutsideTheListShowsEmptyAndStaysUntilPicked) {
    PilotRecord pilot = battlePilot();
    pilot.setU8(Field::BattleStatus, 7, 1);
    open(pilot);
    chooseBattle(1);
    EXPECT_EQ(statusBox()->currentIndex(), -1);
    EXPECT_TRUE(statusBox()->currentText().isEmpty());
    m_window.SaveTFR1Click();
    EXPECT_EQ(testing_support::readBytes(m_file)[617 + 1], 7);
    choose(statusBox(), 2);
    EXPECT_EQ(record().u8(Field::BattleStatus, 1), 2);
}

TEST_F(BattleStats, IndexesOutsideTheListsNeverReachTheRecord) {
    open(battlePilot());
    const PilotRecord before = record();
    for (const int index : {-1, 20, 255}) {
        Q_EMIT battleBox()->activated(index);
        Q_EMIT statusBox()->activated(index == 20 ? 4 : index);
    }
    EXPECT_EQ(record(), before);
    chooseBattle(1);
    EXPECT_EQ(edit(1)->text(), QStringLiteral("100"));  // battle 1 was still the current one
}

TEST_F(BattleStats, LastMissionShowsAsRadioAndLargeValuesLeaveThemAlone) {
    struct Case {
        std::uint8_t stored;
        std::vector<std::size_t> checked;  // battle 1 showed mission 2 before
    };
    const std::vector<Case> cases = {{0, {}}, {1, {1}}, {8, {8}}, {9, {2}}, {200, {2}}};
    for (const Case& c : cases) {
        PilotRecord pilot = battlePilot();
        pilot.setU8(Field::BattleLastMission, 2, 0);
        pilot.setU8(Field::BattleLastMission, c.stored, 11);
        open(pilot);
        chooseBattle(11);
        EXPECT_EQ(checkedRadios(), c.checked) << int(c.stored);
        EXPECT_EQ(record().u8(Field::BattleLastMission, 11), c.stored);
        EXPECT_EQ(record().u8(Field::BattleLastMission, 0), 2);
    }
    QTest::mouseClick(radio(6), Qt::LeftButton);
    EXPECT_EQ(record().u8(Field::BattleLastMission, 11), 6);
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{6});
}

TEST_F(BattleStats, NoMissionFinishedStoresZeroAndUntickingStoresOne) {
    PilotRecord pilot = battlePilot();
    pilot.setU8(Field::BattleLastMission, 5, 0);
    open(pilot);
    auto* noMission = control<QCheckBox>(QStringLiteral("CheckBox17"));
    noMission->click();
    EXPECT_EQ(record().u8(Field::BattleLastMission, 0), 0);
    EXPECT_TRUE(checkedRadios().empty());
    EXPECT_TRUE(m_window.changed());
    for (std::size_t n = 1; n <= 8; ++n) {
        EXPECT_FALSE(radio(n)->isEnabled()) << n;
    }
    m_window.ClearChanged();
    noMission->click();
    EXPECT_EQ(record().u8(Field::BattleLastMission, 0), 1);
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{1});
    EXPECT_TRUE(m_window.changed());
    for (std::size_t n = 1; n <= 8; ++n) {
        EXPECT_TRUE(radio(n)->isEnabled()) << n;
    }
}

TEST_F(BattleStats, NoMissionTickAndDisabledRadiosSurviveSwitchesAndRefreshes) {
    PilotRecord pilot = battlePilot();
    pilot.setU8(Field::BattleLastMission, 4, 2);
    pilot.setU8(Field::BattleLastMission, 0, 0);
    open(pilot);
    auto* noMission = control<QCheckBox>(QStringLiteral("CheckBox17"));
    noMission->click();
    chooseBattle(2);
    EXPECT_TRUE(noMission->isChecked());
    EXPECT_FALSE(radio(4)->isEnabled());
    EXPECT_EQ(checkedRadios(), std::vector<std::size_t>{4});
    EXPECT_EQ(record().u8(Field::BattleLastMission, 2), 4);
    open(pilot);
    EXPECT_TRUE(noMission->isChecked());
    EXPECT_FALSE(radio(1)->isEnabled());
    EXPECT_TRUE(checkedRadios().empty());
}

}  // namespace
