// The problems of the record in the real window: the words of the core's checks, marks on
// the controls and selectors that follow every edit and choice, the count in the status
// bar, the list that takes the user to each field and offers the remedies, and the notice
// of the values that opening a file changed.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "MarkPainting.h"
#include "ProblemCases.h"
#include "UserActions.h"
#include "WindowFixture.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;
using pilot::Severity;
using testing_support::bytesOf;
using testing_support::choose;
using testing_support::latin;
using testing_support::readBytes;
using testing_support::showableRecord;
using testing_support::writeRecord;

using MarkMap = std::map<std::string, Severity>;

class Problems : public testing_support::WindowShell {
protected:
    Problems() { qputenv("XDG_STATE_HOME", QByteArray::fromStdString((dir / "state").string())); }

    // The pilot opened through the Open command.
    void openPilot(const PilotRecord& pilot) {
        writeRecord(dir / "pilot.TFR", pilot);
        showActive();
        if (window->unsaved()) {
            dialogs.answerSaveChanges(ui::SaveChoice::Discard);
        }
        open(dir / "pilot.TFR");
    }
    // The controls marked, by name, with their severity.
    [[nodiscard]] MarkMap marks() const {
        MarkMap found;
        for (const auto* overlay : window->findChildren<editor::MarkOverlay*>()) {
            for (const auto& [control, severity] : overlay->marks()) {
                found.emplace(control->objectName().toStdString(), severity);
            }
        }
        return found;
    }
    [[nodiscard]] QString count() const { return control<QLabel>("StatusPanel3")->text(); }
    [[nodiscard]] QString hint(const char* name) const { return control(name)->toolTip(); }
    [[nodiscard]] static bool entryMarked(const QComboBox* box, int entry) {
        return !box->itemIcon(entry).isNull();
    }
    [[nodiscard]] QTreeWidget* openList() {
        trigger("Problems1");
        return control<QTreeWidget>("ProblemsList");
    }
    [[nodiscard]] QStringList listed(int column) {
        QStringList texts;
        QTreeWidget* list = openList();
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            texts.append(list->topLevelItem(row)->text(column));
        }
        return texts;
    }
    void typeAndLeave(const char* field, const QString& keys) {
        typeInto(field, keys);
        QTest::keyClick(control(field), Qt::Key_Tab);
    }
};

// A pilot of random values without problems: hits no more than shots, and the spare craft
// slots' completed flags 0, as the game leaves them.
PilotRecord cleanPilot(std::uint32_t seed) {
    PilotRecord pilot = showableRecord(seed);
    for (std::size_t craft = pilot::kShownCrafts; craft < pilot::kCraftSlots; ++craft) {
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            pilot.setU8(Field::CombatCompleted, 0, craft, mission);
        }
    }
    pilot.setI32(Field::LaserShots, 1000);
    pilot.setI32(Field::LaserHits, 0);
    pilot.setU16(Field::WarheadShots, 1000);
    pilot.setU16(Field::WarheadHits, 0);
    return pilot;
}

QStringList messagesOf(const std::vector<pilot::Problem>& problems) {
    QStringList messages;
    for (const pilot::Problem& problem : problems) {
        messages.append(QString::fromStdString(problem.message));
    }
    return messages;
}

// The window finds what check finds, in the same words: its list shows them, its status
// bar counts them.
TEST_F(Problems, TheWindowListsEachRulesProblemInTheCoresWords) {
    showActive();
    for (const auto& c : testing_support::problemCases()) {
        SCOPED_TRACE(c.name);
        window->putRecord(c.record(), latin("Restore"));
        EXPECT_EQ(window->problems(), c.problems);
        EXPECT_EQ(listed(2), messagesOf(c.problems));
        const auto n = c.problems.size();
        EXPECT_EQ(count(), n == 0   ? QString()
                           : n == 1 ? latin("1 problem")
                                    : QStringLiteral("%1 problems").arg(n));
    }
}

// Each edit checks the record again: a mark and its message come with the problem and go
// with it, and the hint is the control's own again.
TEST_F(Problems, MarksFollowTheUsersTyping) {
    PilotRecord pilot = cleanPilot(71);
    pilot.setI32(Field::LaserShots, 700);
    pilot.setI32(Field::LaserHits, 500);
    openPilot(pilot);
    const QString hitsHint = latin("Laserhits: DON'T use a number > Lasershots");
    const QString totalHint = latin("Total archived score");
    const QString sum = control<QLineEdit>("TotalScoreEdit1")->text();
    const struct {
        const char* field;
        const char* keys;
        MarkMap marked;
        QString hitsHint;
        QString totalHint;
    } steps[] = {
        {"LaserHitsEdit",
         "812",
         {{"LaserHitsEdit", Severity::Warning}, {"LaserShotsEdit", Severity::Warning}},
         hitsHint + latin("\nLaser hits 812 are more than laser shots 700"),
         totalHint},
        {"LaserShotsEdit",
         "800",
         {{"LaserHitsEdit", Severity::Warning}, {"LaserShotsEdit", Severity::Warning}},
         hitsHint + latin("\nLaser hits 812 are more than laser shots 800"),
         totalHint},
        {"LaserShotsEdit", "812", {}, hitsHint, totalHint},
        {"TotalScoreEdit1",
         "5",
         {{"TotalScoreEdit1", Severity::Warning}},
         hitsHint,
         totalHint + latin("\nTotal score 5 differs from the sum of the mission scores, ") + sum},
        // A mission score recomputes the total.
        {"Edit2", "0", {}, hitsHint, totalHint},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.field) + " " + step.keys);
        typeInto(step.field, latin(step.keys));
        EXPECT_EQ(marks(), step.marked);
        EXPECT_EQ(hint("LaserHitsEdit"), step.hitsHint);
        EXPECT_EQ(hint("TotalScoreEdit1"), step.totalHint);
    }
}

// A problem of another battle, craft or mission marks the selector and its entry; once the
// selectors show it, the control itself.
TEST_F(Problems, ProblemsBehindASelectorMarkItUntilItShowsThem) {
    PilotRecord pilot = cleanPilot(72);
    pilot.setU8(Field::BattleStatus, 4, 7);
    pilot.setU8(Field::CombatCompleted, 2, 3, 5);
    pilot.setU8(Field::CombatCompleted, 0, 3, 0);  // shown unticked first: 2 stays
    openPilot(pilot);
    auto* battles = control<QComboBox>("BattleNRBox1");
    auto* ships = control<QComboBox>("CombatShipBox1");
    auto* missions = control<QComboBox>("CombatMissionBox1");
    const QString status = latin("Battle 8: status 4 is not in the list (0 to 3)");
    const QString completed =
        latin("Combat chamber, TIE Advanced, mission 6: completed 2 is neither 0 nor 1");
    EXPECT_EQ(marks(),
              (MarkMap{{"BattleNRBox1", Severity::Error}, {"CombatShipBox1", Severity::Error}}));
    EXPECT_TRUE(entryMarked(battles, 7));
    EXPECT_FALSE(entryMarked(battles, 6));
    EXPECT_EQ(hint("BattleNRBox1"), latin("Selected Tie Fighter Battle\n") + status);
    EXPECT_TRUE(entryMarked(ships, 3));

    choose(battles, 7);
    choose(ships, 3);
    EXPECT_EQ(marks(), (MarkMap{{"BattleStatusBox1", Severity::Error},
                                {"CombatMissionBox1", Severity::Error}}));
    EXPECT_FALSE(entryMarked(battles, 7));
    EXPECT_FALSE(entryMarked(ships, 3));
    EXPECT_TRUE(entryMarked(missions, 5));
    EXPECT_EQ(hint("BattleNRBox1"), latin("Selected Tie Fighter Battle"));
    EXPECT_TRUE(hint("BattleStatusBox1").endsWith(latin("\n") + status));

    choose(missions, 5);
    EXPECT_EQ(marks(),
              (MarkMap{{"BattleStatusBox1", Severity::Error}, {"CheckBox18", Severity::Error}}));
    EXPECT_EQ(hint("CheckBox18"),
              latin("Shows if the mission has been successfully completed\n") + completed);
    // Picking a status mends it.
    choose(control<QComboBox>("BattleStatusBox1"), 2);
    EXPECT_EQ(marks(), (MarkMap{{"CheckBox18", Severity::Error}}));
    EXPECT_EQ(count(), latin("1 problem"));
}

// Activating a row of the list chooses the battle, craft or mission of the problem and puts
// the focus into its control; a spare craft slot has no control, which the list says.
// Showing a stored reset value resets it, as every display of a field does: that problem
// then goes from the list.
TEST_F(Problems, TheListTakesTheUserToEachField) {
    PilotRecord pilot = PilotRecord::newPilot();
    pilot.setU8(Field::Rank, 9);
    pilot.setU8(Field::TrainingLevel, 255, 4);
    pilot.setU8(Field::CombatCompleted, 3, 6, 7);
    pilot.setU8(Field::CombatCompleted, 3, 9, 1);
    pilot.setU8(Field::BattleLastMission, 11, 12);
    pilot.setI32(Field::BattleMissionScore, 2147483647, 16, 5);
    pilot.setU16(Field::ShipKills, 65535, 69);
    showActive();
    window->putRecord(pilot, latin("Restore"));
    const struct {
        const char* field;  // the Field column of the row
        const char* focused;
        std::map<std::string, int> entries;
        bool stays;  // the problem is still there afterwards
    } rows[] = {
        {"Rank", "RankBox", {}, true},
        {"Training, Assault Gunboat: highest level", "LevelEdit2", {{"TrainingShipBox", 4}}, false},
        {"Combat chamber, Missile Boat, mission 8: completed",
         "CheckBox18",
         {{"CombatShipBox1", 6}, {"CombatMissionBox1", 7}},
         true},
        {"Combat chamber, spare slot 10, mission 2: completed", nullptr, {}, true},
        {"Battle 13: last completed mission", "RadioButton1", {{"BattleNRBox1", 12}}, true},
        {"Battle 17, mission 6: score", "Edit6", {{"BattleNRBox1", 16}}, false},
        {"Kills of Unkn", "Edit78", {}, true},
    };
    ASSERT_EQ(openList()->topLevelItemCount(), static_cast<int>(std::size(rows)));
    for (const auto& expected : rows) {
        SCOPED_TRACE(expected.field);
        QTreeWidget* list = openList();
        const auto found = list->findItems(latin(expected.field), Qt::MatchExactly, 1);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.front());
        auto* goTo = control<QPushButton>("GoToProblemButton");
        EXPECT_EQ(goTo->isEnabled(), expected.focused != nullptr);
        if (expected.focused == nullptr) {
            EXPECT_EQ(control<QLabel>("ProblemNote")->text(),
                      latin("No field of the window shows Combat chamber, spare slot 10, mission "
                            "2: completed; the command line reaches it as "
                            "CombatCompleted[9][1]."));
            continue;
        }
        QTest::keyClick(list, Qt::Key_Return);
        QApplication::processEvents();
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), latin(expected.focused));
        for (const auto& [selector, entry] : expected.entries) {
            EXPECT_EQ(control<QComboBox>(selector.c_str())->currentIndex(), entry) << selector;
        }
        EXPECT_EQ(openList()->findItems(latin(expected.field), Qt::MatchExactly, 1).size(),
                  expected.stays ? 1 : 0);
    }
}

// A remedy is one step that Undo takes back exactly, and changes its total alone.
TEST_F(Problems, TheRemediesAreSingleExactSteps) {
    const PilotRecord pilot = cleanPilot(74);
    openPilot(pilot);
    PilotRecord odd = pilot;
    odd.setI32(Field::TotalScore, 99999);
    odd.setU16(Field::Kills, 7);
    window->putRecord(odd, latin("Restore"));
    const struct {
        const char* message;
        const char* remedy;
        Field total;
        std::uint32_t value;
    } cases[] = {
        {"Total score 99999 differs", "Recompute Total Score", Field::TotalScore,
         pilot.raw(Field::TotalScore)},
        {"Kills 7 differ", "Recompute Kills", Field::Kills, pilot.raw(Field::Kills)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remedy);
        QTreeWidget* list = openList();
        const auto rows = list->findItems(latin(c.message), Qt::MatchStartsWith, 2);
        ASSERT_EQ(rows.size(), 1);
        list->setCurrentItem(rows.front());
        auto* fix = control<QPushButton>("FixProblemButton");
        EXPECT_TRUE(fix->isVisible());
        EXPECT_EQ(fix->text(), latin(c.remedy));
        const PilotRecord before = window->record();
        QTest::mouseClick(fix, Qt::LeftButton);
        PilotRecord expected = before;
        expected.setRaw(c.total, c.value);
        EXPECT_EQ(window->record(), expected);
        EXPECT_EQ(control<QAction>("Undo1")->text(), latin("Undo ") + latin(c.remedy));
        trigger("Undo1");
        EXPECT_EQ(window->record(), before);
        trigger("Redo1");
        EXPECT_EQ(window->record(), expected);
    }
    EXPECT_EQ(window->problems(), std::vector<pilot::Problem>{});
    EXPECT_FALSE(control<QPushButton>("FixProblemButton")->isVisible());
    window->SaveTFR1Click();
    EXPECT_EQ(readBytes(dir / "pilot.TFR"), bytesOf(pilot));
}

// Opening a file whose total is not the sum of its scores and whose skill is the reset value
// says at once what the window changed; the list keeps it until the next save.
TEST_F(Problems, OpeningSaysWhichValuesItChanged) {
    PilotRecord pilot = PilotRecord::newPilot();
    pilot.setI32(Field::BattleMissionScore, 12000, 0, 2);
    pilot.setI32(Field::BattleMissionScore, 11800, 3, 2);
    pilot.setI32(Field::TotalScore, 99999);
    pilot.setU16(Field::Skill, 65535);
    openPilot(pilot);
    auto* notice = control("OpeningNotice");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(
        control<QLabel>("OpeningNoticeText")->text(),
        QStringLiteral("Opening changed 2 values: Total score 99999 \u2192 23800, Skill 65535 "
                       "\u2192 0. Save writes them."));
    EXPECT_EQ(count(), latin("2 problems"));
    EXPECT_EQ(listed(2),
              (QStringList{
                  QStringLiteral("Total score 99999 differs from the sum of the mission scores, "
                                 "23800. Opening changed it; Save writes it."),
                  QStringLiteral("Skill 65535 is the reset value, which the editor turns into 0. "
                                 "Opening changed it; Save writes it."),
              }));
    EXPECT_EQ(marks(),
              (MarkMap{{"TotalScoreEdit1", Severity::Warning}, {"Edit83", Severity::Warning}}));
    // The notice's button and a click on the count open the list; Dismiss hides the notice,
    // and the list keeps them.
    for (const char* opener : {"NoticeProblemsButton", "StatusPanel3"}) {
        SCOPED_TRACE(opener);
        QTest::mouseClick(control(opener), Qt::LeftButton);
        auto* list = control("ProblemsDialog");
        ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible(); }));
        list->close();
    }
    QTest::mouseClick(control("NoticeDismissButton"), Qt::LeftButton);
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(count(), latin("2 problems"));

    window->SaveTFR1Click();
    EXPECT_EQ(count(), QString());
    EXPECT_EQ(marks(), MarkMap{});
    EXPECT_EQ(listed(2), QStringList{});
    PilotRecord saved = pilot;
    saved.setI32(Field::TotalScore, 23800);
    saved.setU16(Field::Skill, 0);
    EXPECT_EQ(readBytes(dir / "pilot.TFR"), bytesOf(saved));

    // A file the window shows as it is changes nothing, and says nothing.
    openPilot(saved);
    EXPECT_FALSE(control("OpeningNotice")->isVisible());
    EXPECT_EQ(count(), QString());

    // A reload shows the file as the game left it: what opening changed goes.
    openPilot(pilot);
    PilotRecord promoted = saved;
    promoted.setU8(Field::Rank, 3);
    writeRecord(dir / "pilot.TFR", promoted);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !control("DiskChangeBar")->isHidden(); }));
    QTest::mouseClick(control("ReloadButton"), Qt::LeftButton);
    EXPECT_FALSE(control("OpeningNotice")->isVisible());
    EXPECT_EQ(count(), QString());
}

// Both notices may stand above the groups at once; the window grows by both.
TEST_F(Problems, TheOpeningNoticeStandsBesideTheNoticeOfAChangedFile) {
    PilotRecord pilot = PilotRecord::newPilot();
    pilot.setU16(Field::Skill, 65535);
    showActive();
    const int plain = window->height();
    openPilot(pilot);
    auto* opening = control("OpeningNotice");
    const int withOne = window->height();
    EXPECT_EQ(withOne, plain + opening->height());
    writeRecord(dir / "pilot.TFR", showableRecord(75));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* changed = control("DiskChangeBar");
    EXPECT_TRUE(changed->isVisible());
    EXPECT_TRUE(opening->isVisible());
    EXPECT_EQ(window->height(), withOne + changed->height());
}

}  // namespace
