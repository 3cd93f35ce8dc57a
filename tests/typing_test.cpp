// Typing numbers key by key into the real window's fields: the start of a number and a
// hexadecimal number stay as typed while the field has the focus, the record meanwhile
// holds what the rule stores, and leaving the field gives the text its normal form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLineEdit>
#include <QTest>

#include "UserActions.h"
#include "WindowFixture.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;
using testing_support::latin;
using testing_support::showableRecord;
using testing_support::WindowShell;
using testing_support::writeRecord;

struct Keys {
    const char* keys;      // typed after what came before; "\t" leaves the field with Tab,
                           // "\b" deletes the last character
    const char* shown;     // the field's text afterwards
    std::uint32_t stored;  // the slot's bit pattern afterwards
};

struct TypingCase {
    const char* what;
    const char* field;
    Field slot;
    std::size_t row = 0;
    std::size_t column = 0;
    std::vector<Keys> steps;
};

// What the record holds after the slot is stored: the totals follow a mission score and a
// kill counter, as for any stored value.
PilotRecord withStored(PilotRecord record, const TypingCase& c, std::uint32_t stored) {
    record.setRaw(c.slot, stored, c.row, c.column);
    if (c.slot == Field::BattleMissionScore) {
        record.setI32(Field::TotalScore, pilot::missionScoreTotal(record));
    } else if (c.slot == Field::ShipKills) {
        record.setU16(Field::Kills, pilot::shipKillsTotal(record));
    }
    return record;
}

constexpr std::uint32_t kMinus(std::uint32_t value) {
    return ~value + 1u;
}

TEST_F(WindowShell, TypingKeepsTheStartOfANumberUntilItIsOne) {
    const std::vector<TypingCase> cases = {
        {"-5",
         "TotalScoreEdit1",
         Field::TotalScore,
         0,
         0,
         {{"-", "-", 0}, {"5", "-5", kMinus(5)}, {"\t", "-5", kMinus(5)}}},
        {"-7 into a mission score, the total following",
         "Edit1",
         Field::BattleMissionScore,
         0,
         0,
         {{"-", "-", 0}, {"7", "-7", kMinus(7)}}},
        {"+7", "CapturesEdit", Field::Captures, 0, 0, {{"+", "+", 0}, {"7", "7", 7}}},
        {"$FF",
         "Edit83",
         Field::Skill,
         0,
         0,
         {{"$", "$", 0}, {"F", "$F", 15}, {"F", "$FF", 255}, {"\t", "255", 255}}},
        {"$FF, one F deleted",
         "Edit5",
         Field::BattleMissionScore,
         0,
         4,
         {{"$FF", "$FF", 255}, {"\b", "$F", 15}, {"\b", "$", 0}, {"\b", "0", 0}}},
        {" -12",
         "LaserShotsEdit",
         Field::LaserShots,
         0,
         0,
         {{" ", " ", 0}, {"-", " -", 0}, {"1", "-1", kMinus(1)}, {"2", "-12", kMinus(12)}}},
        // "-$" is the start of no number: it resets at once, and the 1 follows the "0"
        {"-$1",
         "CombatMisScore",
         Field::CombatScore,
         0,
         0,
         {{"-", "-", 0}, {"$", "0", 0}, {"1", "1", 1}}},
        {"- then the focus leaves",
         "Edit9",
         Field::ShipKills,
         0,
         0,
         {{"-", "-", 0}, {"\t", "0", 0}}},
        {"$ then Tab, the training level resetting to 2",
         "LevelEdit2",
         Field::TrainingLevel,
         0,
         0,
         {{"$", "$", 2}, {"\t", "2", 2}}},
        // A number the rule resets stays as typed, holding the reset value, so that the
        // digits after it count: "-1" is the reset value at 16 and 8 bits.
        {" -12 into a 16-bit field",
         "CraftLostEdit",
         Field::CraftLost,
         0,
         0,
         {{" ", " ", 0}, {"-", " -", 0}, {"1", " -1", 0}, {"2", "65524", 65524}}},
        {"-12 into a training level",
         "LevelEdit2",
         Field::TrainingLevel,
         0,
         0,
         {{"-", "-", 2}, {"1", "-1", 2}, {"2", "244", 244}}},
        {"65535 and a digit more",
         "Edit83",
         Field::Skill,
         0,
         0,
         {{"6553", "6553", 6553}, {"5", "65535", 0}, {"0", "65526", 65526}}},
        {"a hexadecimal reset value, then Tab",
         "CraftLostEdit",
         Field::CraftLost,
         0,
         0,
         {{"$FFF", "$FFF", 4095}, {"F", "$FFFF", 0}, {"\t", "0", 0}}},
        {"255 into a training level, then Tab",
         "LevelEdit2",
         Field::TrainingLevel,
         0,
         0,
         {{"255", "255", 2}, {"\t", "2", 2}}},
        {"-1 into a kill counter, the total following, then Tab",
         "Edit30",
         Field::ShipKills,
         21,
         0,
         {{"-1", "-1", 0}, {"\t", "0", 0}}},
        {"the 32-bit reset value, then Tab",
         "Edit7",
         Field::BattleMissionScore,
         0,
         6,
         {{"2147483647", "2147483647", 0}, {"\t", "0", 0}}},
        {"other texts follow the rule at once",
         "WarheadShotsEdit",
         Field::WarheadShots,
         0,
         0,
         {{"0", "0", 0}, {"07", "7", 7}, {"x", "0", 0}}},
    };
    showActive();
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.what);
        const PilotRecord pilot = showableRecord(31);
        writeRecord(dir / "pilot.TFR", pilot);
        if (window->unsaved()) {
            dialogs.answerSaveChanges(ui::SaveChoice::Discard);
        }
        open(dir / "pilot.TFR");
        ASSERT_EQ(window->record(), pilot);
        auto* edit = control<QLineEdit>(c.field);
        edit->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        for (const Keys& step : c.steps) {
            SCOPED_TRACE(step.keys);
            if (std::string(step.keys) == "\t") {
                QTest::keyClick(edit, Qt::Key_Tab);
                EXPECT_FALSE(edit->hasFocus());
            } else if (std::string(step.keys) == "\b") {
                QTest::keyClick(edit, Qt::Key_Backspace);
            } else {
                QTest::keyClicks(edit, latin(step.keys));
                EXPECT_TRUE(edit->hasFocus());
            }
            EXPECT_EQ(edit->text(), latin(step.shown));
            EXPECT_EQ(window->record(), withStored(pilot, c, step.stored));
        }
    }
}

// Pasted, a hexadecimal number takes its decimal form at once; a pasted start stays.
TEST_F(WindowShell, PastedTextsFollowTheRuleAtOnce) {
    showActive();
    const struct {
        const char* text;
        const char* shown;
        std::int32_t stored;
    } cases[] = {{"$1F", "31", 31}, {" 12", "12", 12}, {"-", "-", 0}, {"$", "$", 0}};
    auto* edit = control<QLineEdit>("LaserHitsEdit");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        testing_support::enterText(edit, latin(c.text), testing_support::Entry::Paste);
        EXPECT_EQ(edit->text(), latin(c.shown));
        EXPECT_EQ(window->record().i32(Field::LaserHits), c.stored);
    }
}

// A refresh, a total or any other text set from code follows the rule as it always did.
TEST_F(WindowShell, TextsSetFromCodeFollowTheRuleAtOnce) {
    showActive();
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {{"-", "0"}, {"$", "0"}, {" ", "0"}, {"$1F", "31"}, {"+7", "7"}, {"-5", "-5"}};
    auto* edit = control<QLineEdit>("TotalScoreEdit1");
    edit->setFocus(Qt::MouseFocusReason);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        edit->setText(latin(c.text));
        EXPECT_EQ(edit->text(), latin(c.shown));
        EXPECT_EQ(QString::number(window->record().i32(Field::TotalScore)), latin(c.shown));
    }
}

// Opening the popup menu or switching to another window leaves the typed start in place.
TEST_F(WindowShell, APopupOrAnotherWindowDoesNotEndTheTyping) {
    showActive();
    typeInto("TotalScoreEdit1", QStringLiteral("-"));
    auto* edit = control<QLineEdit>("TotalScoreEdit1");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(edit->text(), QStringLiteral("-"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClicks(edit, QStringLiteral("3"));
    EXPECT_EQ(edit->text(), QStringLiteral("-3"));
    EXPECT_EQ(window->record().i32(Field::TotalScore), -3);
}

}  // namespace
