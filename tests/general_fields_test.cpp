#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "FakeDialogs.h"
#include "NumberField.h"
#include "PilotRecord.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "UserActions.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;

using testing_support::choose;
using testing_support::enterText;
using testing_support::Entry;

std::uint32_t bytesAt(const PilotRecord& record, std::size_t offset, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        value |= std::uint32_t{record.bytes()[offset + i]} << (8 * i);
    }
    return value;
}

// Every byte outside [offset, offset + width) is the same in both records.
void expectOnlyChanged(const PilotRecord& before, const PilotRecord& after, std::size_t offset,
                       std::size_t width) {
    for (std::size_t i = 0; i < pilot::kRecordSize; ++i) {
        if (i < offset || i >= offset + width) {
            ASSERT_EQ(before.bytes()[i], after.bytes()[i]) << "byte " << i;
        }
    }
}

// A pilot whose shown values are valid, many of them not zero, and whose totals agree with
// the scores and counters they add up (a refresh recomputes them).
PilotRecord samplePilot() {
    PilotRecord record = PilotRecord::newPilot();
    record.setU8(Field::Rank, 4);
    record.setI32(Field::BattleMissionScore, 1234, 0, 0);
    record.setI32(Field::TotalScore, 1234);
    record.setU16(Field::ShipKills, 77, 0);
    record.setU16(Field::Kills, 77);
    record.setU16(Field::Captures, 5);
    record.setI32(Field::LaserShots, 100);
    record.setU16(Field::CraftLost, 3);
    record.setU16(Field::Skill, 9);
    record.setI32(Field::TrainingScore, 100, 0);
    record.setI32(Field::TrainingScore, 100, 1);
    record.setI32(Field::TrainingScore, 250, 2);
    record.setI32(Field::CombatScore, 10, 0, 0);
    return record;
}

// The real window on a fresh all-zero record, not shown, so that no activation refresh runs
// unless a test asks for it.
class GeneralFields : public ::testing::Test {
protected:
    // The file dialogs move the current directory to the chosen folder.
    ~GeneralFields() override { std::filesystem::current_path(m_startFolder); }

    template <typename Widget>
    Widget* control(const char* name) {
        return testing_support::control<Widget>(m_window, name);
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QComboBox* box(const char* name) { return control<QComboBox>(name); }
    QCheckBox* completedBox() { return control<QCheckBox>("CheckBox18"); }

    // Opens the record through the Open command, as a user does, dropping what the shown
    // pilot has unsaved.
    void open(const PilotRecord& record) {
        const auto path = m_dir / "pilot.TFR";
        testing_support::writeRecord(path, record);
        if (m_window.unsaved()) {
            m_dialogs.answerSaveChanges(ui::SaveChoice::Discard);
        }
        m_dialogs.answer(QString::fromStdString(path.string()));
        m_window.OpenTFR1Click();
        ASSERT_TRUE(m_dialogs.errors.empty());
        ASSERT_FALSE(m_window.changed());
    }
    [[nodiscard]] const PilotRecord& record() const { return m_window.record(); }

    std::filesystem::path m_startFolder = std::filesystem::current_path();
    testing_support::TempDir m_dir;
    testing_support::FakeDialogs m_dialogs;
    editor::TForm1 m_window{{}, m_dialogs};
};

// --- The number-field rule, per width, through the window's fields -----------------------

struct RuleCase {
    const char* control;
    const char* text;
    Entry entry;
    const char* shown;
    std::size_t offset;
    std::size_t width;
    std::uint32_t stored;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.control << " <- \"" << c.text << "\"";
}

class NumberRule : public GeneralFields, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(NumberRule, StoresAndShowsTheNormalForm) {
    const RuleCase& c = GetParam();
    open(samplePilot());
    const PilotRecord before = record();
    enterText(edit(c.control), QString::fromLatin1(c.text), c.entry);
    EXPECT_EQ(edit(c.control)->text(), QString::fromLatin1(c.shown));
    EXPECT_EQ(bytesAt(record(), c.offset, c.width), c.stored);
    expectOnlyChanged(before, record(), c.offset, c.width);
    EXPECT_TRUE(m_window.changed());
}

constexpr std::uint32_t kMinus5 = 0xFFFFFFFBu;

INSTANTIATE_TEST_SUITE_P(
    Widths, NumberRule,
    ::testing::Values(
        // 32-bit signed: the sentinel 2147483647 resets, one below it stays.
        RuleCase{"TotalScoreEdit1", "", Entry::Paste, "0", 4, 4, 0},
        RuleCase{"LaserShotsEdit", "", Entry::Paste, "0", 1908, 4, 0},
        RuleCase{"TotalScoreEdit1", "2147483647", Entry::Paste, "0", 4, 4, 0},
        RuleCase{"TotalScoreEdit1", "2147483646", Entry::Type, "2147483646", 4, 4, 2147483646},
        RuleCase{"TotalScoreEdit1", "-5", Entry::Paste, "-5", 4, 4, kMinus5},
        // typed key by key, the lone "-" waits for its digits
        RuleCase{"TotalScoreEdit1", "-5", Entry::Type, "-5", 4, 4, kMinus5},
        RuleCase{"TotalScoreEdit1", "2147483648", Entry::Paste, "0", 4, 4, 0},
        RuleCase{"LaserHitsEdit", "500", Entry::Type, "500", 1912, 4, 500},
        RuleCase{"ScoreEdit1", "-5", Entry::Paste, "-5", 42, 4, kMinus5},
        RuleCase{"CombatMisScore", "$FFFFFFFF", Entry::Paste, "-1", 136, 4, 0xFFFFFFFFu},
        RuleCase{"CombatMisScore", "$7FFFFFFF", Entry::Paste, "0", 136, 4, 0},
        // 16-bit unsigned: truncated, negative shown unsigned, low 16 bits all ones reset.
        RuleCase{"CapturesEdit", "70000", Entry::Type, "4464", 1628, 2, 4464},
        RuleCase{"CraftLostEdit", "-2", Entry::Paste, "65534", 1926, 2, 65534},
        RuleCase{"Edit83", "-1", Entry::Paste, "0", 8, 2, 0},
        // typed key by key, a number the rule resets stays as typed until the field is left,
        // so that more digits may follow; the slot holds the reset value meanwhile
        RuleCase{"Edit83", "65535", Entry::Type, "65535", 8, 2, 0},
        RuleCase{"Edit83", "131071", Entry::Paste, "0", 8, 2, 0},
        RuleCase{"KillsEdit", "65536", Entry::Paste, "0", 1626, 2, 0},
        RuleCase{"WarheadShotsEdit", "65534", Entry::Type, "65534", 1920, 2, 65534},
        RuleCase{"WarheadHitsEdit", "$1F", Entry::Paste, "31", 1922, 2, 31},
        // 8-bit training level: 255 resets to "2", wider values are cut to 8 bits.
        RuleCase{"LevelEdit2", "255", Entry::Paste, "2", 90, 1, 2},
        RuleCase{"LevelEdit2", "255", Entry::Type, "255", 90, 1, 2},
        RuleCase{"LevelEdit2", "256", Entry::Type, "0", 90, 1, 0},
        RuleCase{"LevelEdit2", "300", Entry::Type, "44", 90, 1, 44},
        RuleCase{"LevelEdit2", "-1", Entry::Paste, "2", 90, 1, 2},
        RuleCase{"LevelEdit2", "abc", Entry::Type, "2", 90, 1, 2},
        // The conversion: leading blanks, trailing blank, hex, letters, leading zeros.
        RuleCase{"TotalScoreEdit1", " 12", Entry::Paste, "12", 4, 4, 12},
        RuleCase{"TotalScoreEdit1", "12 ", Entry::Paste, "0", 4, 4, 0},
        RuleCase{"TotalScoreEdit1", "$1F", Entry::Paste, "31", 4, 4, 31},
        RuleCase{"TotalScoreEdit1", "007", Entry::Paste, "7", 4, 4, 7},
        // letters in the captures field reset the captures alone; Kills keeps 77
        RuleCase{"CapturesEdit", "abc", Entry::Type, "0", 1628, 2, 0}));

// The rule rewrites its own text: the nested run finds what it stored and ends there.
TEST(NumberFieldRule, RewritingItsTextRunsTheRuleOnceMoreAndStopsThere) {
    PilotRecord record;
    QLineEdit edit;
    int afterRuleRuns = 0;
    editor::NumberField field(&edit, record, editor::Slot{Field::Skill},
                              [&afterRuleRuns] { ++afterRuleRuns; });
    QSignalSpy texts(&edit, &QLineEdit::textChanged);

    edit.setText(QStringLiteral("007"));
    EXPECT_EQ(edit.text(), QStringLiteral("7"));
    EXPECT_EQ(texts.count(), 2);
    EXPECT_EQ(afterRuleRuns, 2);  // the nested run and the first one
    EXPECT_EQ(record.u16(Field::Skill), 7);

    field.show();  // the same text: nothing runs
    EXPECT_EQ(texts.count(), 2);
    EXPECT_EQ(afterRuleRuns, 2);
}

// A field whose selector has no entry yet addresses nothing.
TEST(NumberFieldRule, WithoutAnElementTheRecordStaysAlone) {
    PilotRecord record;
    QLineEdit edit;
    int afterRuleRuns = 0;
    editor::NumberField field(
        &edit, record, [] { return std::optional<editor::Slot>{}; },
        [&afterRuleRuns] { ++afterRuleRuns; });
    edit.setText(QStringLiteral("123"));
    field.show();
    EXPECT_EQ(edit.text(), QStringLiteral("123"));
    EXPECT_EQ(record, PilotRecord());
    EXPECT_EQ(afterRuleRuns, 0);
}

// --- Controls, texts and positions ----------------------------------------------------------

TEST_F(GeneralFields, ControlsCarryTheirTextsInsideTheirGroups) {
    struct Case {
        const char* control;
        const char* label;  // the text of the label naming it, if any
        const char* tooltip;
    };
    const std::vector<Case> cases = {
        {"RankBox", nullptr,
         "Rank of the current pilot:\nFlight Cadet\nFlight Officer\nLieutenant\nCaptain\n"
         "Commander\nGeneral"},
        {"SecOrderBox", nullptr,
         "Pilots Secret Order position:\nNone\nFirst Circle\nSecond Circle\nThird Circle\n"
         "Fourth Circle\nInner Circle\nEmperor's Hand\nEmperor's Eyes\nEmperor's Voice\n"
         "Emperor's Reach"},
        {"DifficultyBox", nullptr, "Difficulty Level:\nEasy\nMedium\nHard"},
        {"PilotStatusBox", nullptr, "Pilot's current status:\nAlive\nCaptured\nKilled"},
        {"TotalScoreEdit1", "Total Score:", "Total archived score"},
        {"KillsEdit", "Kills:", "Total number of kills"},
        {"CapturesEdit", "Captures:", "Number of captured ships"},
        {"LaserShotsEdit", "Lasershots:", "Fired Lasershots"},
        {"LaserHitsEdit", "Laserhits:", "Laserhits: DON'T use a number > Lasershots"},
        {"WarheadShotsEdit", "Warheadshots:", "Fired Warheads"},
        {"WarheadHitsEdit", "Warheadhits:", "Warheadhits: DON'T use a number > Warheadshots"},
        {"CraftLostEdit", "Craft Lost:", "The total number of lost crafts"},
        {"Edit83", "Skill:", "Skill level of pilot"},
        {"TrainingShipBox", nullptr, "Shiptype"},
        {"ScoreEdit1", "Score:", "Overallscore for this ship"},
        {"LevelEdit2", "Highest Level:", "Highest Level reached with this ship"},
        {"CombatShipBox1", nullptr, "Shiptype"},
        {"CombatMissionBox1", nullptr, "Combat Chamber Mission"},
        {"CombatMisScore", "Mission Score:", ""},
        {"CheckBox18", nullptr, "Shows if the mission has been successfully completed"},
    };
    std::map<QWidget*, std::vector<QRect>> taken;  // per group
    QWidget* previous = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        QWidget* widget = control<QWidget>(c.control);
        ASSERT_NE(widget, nullptr);
        QWidget* group = widget->parentWidget();
        EXPECT_EQ(widget->toolTip(), QString::fromLatin1(c.tooltip));
        std::vector<QRect> placed = {widget->geometry()};
        if (c.label != nullptr) {
            const auto labels = group->findChildren<QLabel*>();
            const auto label = std::find_if(labels.begin(), labels.end(),
                                            [widget](QLabel* l) { return l->buddy() == widget; });
            ASSERT_NE(label, labels.end());
            EXPECT_EQ((*label)->text(), QString::fromLatin1(c.label));
            // shown whole, not cut off at its right end
            EXPECT_LE((*label)->fontMetrics().horizontalAdvance((*label)->text()),
                      (*label)->width());
            placed.push_back((*label)->geometry());
        }
        // Inside the group's frame below its caption, and clear of every other control.
        const QRect frame = group->rect().adjusted(2, 12, -2, -2);
        for (const QRect& rect : placed) {
            EXPECT_TRUE(frame.contains(rect));
            for (const QRect& other : taken[group]) {
                EXPECT_FALSE(other.intersects(rect));
            }
        }
        taken[group].insert(taken[group].end(), placed.begin(), placed.end());
        // Within a group, focus moves through the controls in the order of the table.
        if (previous != nullptr && previous->parentWidget() == group) {
            QWidget* next = previous->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus) {
                next = next->nextInFocusChain();
            }
            EXPECT_EQ(next, widget);
        }
        previous = widget;
    }
}

TEST_F(GeneralFields, BeforeTheFirstRefreshSelectorsShowTheirPlaceholders) {
    const std::vector<std::pair<const char*, const char*>> placeholders = {
        {"RankBox", "Rank"},
        {"SecOrderBox", "Secret Order Rank"},
        {"DifficultyBox", "Difficulty"},
        {"PilotStatusBox", "Pilot Status"},
        {"TrainingShipBox", "Training Ship"},
        {"CombatShipBox1", ""},
    };
    for (const auto& [name, placeholder] : placeholders) {
        SCOPED_TRACE(name);
        EXPECT_EQ(box(name)->currentIndex(), -1);
        EXPECT_EQ(box(name)->placeholderText(), QString::fromLatin1(placeholder));
        EXPECT_FALSE(box(name)->isEditable());
    }
    for (const char* name : {"TotalScoreEdit1", "Edit83", "ScoreEdit1", "CombatMisScore"}) {
        EXPECT_TRUE(edit(name)->text().isEmpty()) << name;
    }
    EXPECT_TRUE(box("CombatMissionBox1")->isHidden());
    EXPECT_TRUE(control<QLabel>("CombatMisScoreLabel")->isHidden());
    EXPECT_TRUE(edit("CombatMisScore")->isHidden());
    EXPECT_FALSE(completedBox()->isHidden());

    m_window.RefreshAllFields();
    EXPECT_EQ(box("RankBox")->currentText(), QStringLiteral("Flight Cadet"));
    EXPECT_EQ(box("CombatShipBox1")->currentText(), QStringLiteral("TIE Fighter"));
    EXPECT_EQ(box("CombatMissionBox1")->currentText(), QStringLiteral("Mission 1"));
    EXPECT_FALSE(box("CombatMissionBox1")->isHidden());
    EXPECT_FALSE(edit("CombatMisScore")->isHidden());
    EXPECT_EQ(edit("Edit83")->text(), QStringLiteral("0"));
}

// Without a selected ship the training and completed controls address nothing: they take
// no input, and a text set from code leaves the record alone.
TEST_F(GeneralFields, WithoutAShipTheArraysAreNeverAddressed) {
    EXPECT_FALSE(edit("ScoreEdit1")->isEnabled());
    EXPECT_FALSE(edit("LevelEdit2")->isEnabled());
    EXPECT_FALSE(completedBox()->isEnabled());
    edit("ScoreEdit1")->setText(QStringLiteral("5"));
    edit("LevelEdit2")->setText(QStringLiteral("5"));
    completedBox()->setChecked(true);
    EXPECT_EQ(record(), PilotRecord());
    EXPECT_FALSE(m_window.changed());

    // The first ship choice brings the mission controls on "Mission 1".
    choose(box("CombatShipBox1"), 6);
    EXPECT_FALSE(box("CombatMissionBox1")->isHidden());
    EXPECT_EQ(box("CombatMissionBox1")->currentText(), QStringLiteral("Mission 1"));
    EXPECT_EQ(edit("CombatMisScore")->text(), QStringLiteral("0"));
    EXPECT_FALSE(completedBox()->isChecked());
    choose(box("TrainingShipBox"), 3);
    EXPECT_TRUE(edit("ScoreEdit1")->isEnabled());
    EXPECT_EQ(edit("LevelEdit2")->text(), QStringLiteral("0"));
}

// --- Selectors ----------------------------------------------------------------------------

struct SelectorCase {
    const char* box;
    std::size_t offset;
    std::uint8_t outside;  // a value outside the list
    int choice;
    const char* choiceText;
};

void PrintTo(const SelectorCase& c, std::ostream* out) {
    *out << c.box << " " << +c.outside;
}

class Selectors : public GeneralFields, public ::testing::WithParamInterface<SelectorCase> {};

TEST_P(Selectors, AValueOutsideTheListKeepsTheEntryAndTheByteUntilChosen) {
    const SelectorCase& c = GetParam();
    auto outsideBytes = samplePilot().bytes();
    outsideBytes[c.offset] = c.outside;
    const PilotRecord outside(outsideBytes);

    open(outside);  // the first refresh: the placeholder stays
    EXPECT_EQ(box(c.box)->currentIndex(), -1);
    open(samplePilot());
    const QString previous = box(c.box)->currentText();
    ASSERT_FALSE(previous.isEmpty());
    open(outside);  // the previous pilot's entry stays
    EXPECT_EQ(box(c.box)->currentText(), previous);
    EXPECT_EQ(record().bytes()[c.offset], c.outside);

    choose(box(c.box), c.choice);
    EXPECT_EQ(box(c.box)->currentText(), QString::fromLatin1(c.choiceText));
    EXPECT_EQ(record().bytes()[c.offset], c.choice);
    expectOnlyChanged(outside, record(), c.offset, 1);
    EXPECT_TRUE(m_window.changed());
}

INSTANTIATE_TEST_SUITE_P(GeneralStats, Selectors,
                         ::testing::Values(SelectorCase{"RankBox", 2, 7, 3, "Captain"},
                                           SelectorCase{"RankBox", 2, 6, 5, "General"},
                                           SelectorCase{"PilotStatusBox", 1, 3, 2, "Killed"},
                                           SelectorCase{"DifficultyBox", 3, 255, 0, "Easy"},
                                           SelectorCase{"SecOrderBox", 10, 10, 9,
                                                        "Emperor's Reach"}));

// Setting a selector from code runs nothing, and the same text in a field runs nothing: a
// refresh of the pilot already shown leaves it unchanged.
TEST_F(GeneralFields, ARefreshOfTheShownPilotRunsNoRule) {
    PilotRecord file = samplePilot();
    for (Field field : {Field::PilotStatus, Field::Difficulty, Field::SecretOrder}) {
        file.setU8(field, 2);
    }
    file.setU8(Field::CombatCompleted, 1, 0, 0);
    open(file);
    m_window.RefreshAllFields();
    EXPECT_FALSE(m_window.changed());
    EXPECT_EQ(record(), file);
    EXPECT_EQ(box("SecOrderBox")->currentText(), QStringLiteral("Second Circle"));
    EXPECT_TRUE(completedBox()->isChecked());
}

TEST_F(GeneralFields, TypedLettersOnlyPickEntriesOfTheList) {
    open(samplePilot());
    QTest::keyClicks(box("SecOrderBox"), QStringLiteral("zzz"));
    EXPECT_EQ(box("SecOrderBox")->currentText(), QStringLiteral("None"));
    EXPECT_EQ(record(), samplePilot());
    EXPECT_FALSE(m_window.changed());

    QComboBox* rank = box("RankBox");
    QTest::keyClicks(rank, QStringLiteral("Cap"));
    EXPECT_EQ(rank->currentText(), QStringLiteral("Captain"));
    EXPECT_EQ(record().u8(Field::Rank), 3);
    EXPECT_TRUE(m_window.changed());
}

TEST_F(GeneralFields, AChoiceInTheOpenListRunsTheRule) {
    open(samplePilot());
    m_window.show();
    QApplication::processEvents();  // the activation refresh
    m_window.ClearChanged();

    QComboBox* ship = box("TrainingShipBox");
    ship->showPopup();
    QAbstractItemView* view = ship->view();
    const QRect entry = view->visualRect(view->model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_EQ(ship->currentText(), QStringLiteral("TIE Bomber"));
    EXPECT_EQ(edit("ScoreEdit1")->text(), QStringLiteral("250"));
    EXPECT_TRUE(m_window.changed());
}

// --- Files whose values the refresh resets ---------------------------------------------------

TEST_F(GeneralFields, TheRefreshResetsSentinelsFromTheFile) {
    struct Case {
        Field field;
        std::size_t row;
        std::uint32_t inFile;
        const char* control;
        const char* shown;
        std::uint32_t stored;
    };
    const std::vector<Case> cases = {
        {Field::TrainingLevel, 0, 255, "LevelEdit2", "2", 2},
        {Field::CraftLost, 0, 65535, "CraftLostEdit", "0", 0},
        {Field::Skill, 0, 65535, "Edit83", "0", 0},
        {Field::TotalScore, 0, 2147483647, "TotalScoreEdit1", "0", 0},
        {Field::CombatScore, 0, 2147483647, "CombatMisScore", "0", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        PilotRecord file = samplePilot();
        file.setRaw(c.field, c.inFile, c.row);
        open(file);
        EXPECT_EQ(edit(c.control)->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(record().raw(c.field, c.row), c.stored);
    }
}

// --- Training and combat chamber --------------------------------------------------------------

TEST_F(GeneralFields, ATrainingShipSwitchMarksChangedOnlyWhenATextChanges) {
    open(samplePilot());
    choose(box("TrainingShipBox"), 1);  // same score and level as "TIE Fighter"
    EXPECT_FALSE(m_window.changed());
    choose(box("TrainingShipBox"), 2);
    EXPECT_EQ(edit("ScoreEdit1")->text(), QStringLiteral("250"));
    EXPECT_EQ(edit("LevelEdit2")->text(), QStringLiteral("2"));
    EXPECT_TRUE(m_window.changed());
    EXPECT_EQ(record(), samplePilot());

    enterText(edit("LevelEdit2"), QStringLiteral("7"), Entry::Type);
    EXPECT_EQ(record().u8(Field::TrainingLevel, 2), 7);
    EXPECT_EQ(record().u8(Field::TrainingLevel, 0), 2);
}

TEST_F(GeneralFields, TheCompletedBoxStoresWithoutMarkingChanged) {
    open(samplePilot());
    QCheckBox* completed = completedBox();
    completed->click();
    EXPECT_EQ(record().bytes()[520], 1);
    EXPECT_FALSE(m_window.changed());
    completed->click();
    EXPECT_EQ(record(), samplePilot());
    EXPECT_FALSE(m_window.changed());
}

TEST_F(GeneralFields, MissileBoatMissionEightAddressesItsOwnBytes) {
    constexpr std::size_t kScoreOffset = 136 + 32 * 6 + 28;
    constexpr std::size_t kCompletedOffset = 520 + 48 + 7;
    PilotRecord file = samplePilot();
    file.setI32(Field::CombatScore, 123456, 6, 7);
    file.setU8(Field::CombatCompleted, 1, 6, 7);
    file.setI32(Field::CombatScore, -7, 6, 6);
    file.setI32(Field::CombatScore, 99, 5, 7);
    open(file);

    choose(box("CombatMissionBox1"), 7);
    choose(box("CombatShipBox1"), 6);  // the mission stays
    EXPECT_EQ(box("CombatMissionBox1")->currentText(), QStringLiteral("Mission 8"));
    EXPECT_EQ(edit("CombatMisScore")->text(), QStringLiteral("123456"));
    EXPECT_TRUE(completedBox()->isChecked());
    EXPECT_EQ(record(), file);

    enterText(edit("CombatMisScore"), QStringLiteral("777"), Entry::Type);
    EXPECT_EQ(bytesAt(record(), kScoreOffset, 4), 777u);
    expectOnlyChanged(file, record(), kScoreOffset, 4);
    const PilotRecord scored = record();
    completedBox()->click();
    EXPECT_EQ(record().bytes()[kCompletedOffset], 0);
    expectOnlyChanged(scored, record(), kCompletedOffset, 1);

    choose(box("CombatMissionBox1"), 6);
    EXPECT_EQ(edit("CombatMisScore")->text(), QStringLiteral("-7"));
}

// Only a display that unticks a ticked box replaces a stored value other than 0 and 1.
TEST_F(GeneralFields, ACompletedValueOtherThanOneShowsUnticked) {
    PilotRecord file = samplePilot();
    file.setU8(Field::CombatCompleted, 5, 0, 0);
    open(file);
    EXPECT_FALSE(completedBox()->isChecked());
    EXPECT_EQ(record().u8(Field::CombatCompleted, 0, 0), 5);

    file.setU8(Field::CombatCompleted, 1, 0, 0);
    file.setU8(Field::CombatCompleted, 5, 1, 0);
    file.setU8(Field::CombatCompleted, 5, 2, 0);
    open(file);
    EXPECT_TRUE(completedBox()->isChecked());
    choose(box("CombatShipBox1"), 1);
    EXPECT_FALSE(completedBox()->isChecked());
    EXPECT_EQ(record().u8(Field::CombatCompleted, 1, 0), 0);
    choose(box("CombatShipBox1"), 2);
    EXPECT_EQ(record().u8(Field::CombatCompleted, 2, 0), 5);
}

// Slots 7..11 of the four per-craft arrays are carried through every edit.
TEST_F(GeneralFields, SpareCraftSlotsAreNeverTouched) {
    const PilotRecord file = testing_support::patternedRecord(3);
    open(file);
    for (int ship = 0; ship < 7; ++ship) {
        choose(box("TrainingShipBox"), ship);
        enterText(edit("ScoreEdit1"), QStringLiteral("-1"), Entry::Paste);
        enterText(edit("LevelEdit2"), QStringLiteral("511"), Entry::Paste);
        choose(box("CombatShipBox1"), ship);
        for (int mission = 0; mission < 8; ++mission) {
            choose(box("CombatMissionBox1"), mission);
            enterText(edit("CombatMisScore"), QStringLiteral("$FFFFFFFF"), Entry::Paste);
            completedBox()->click();
        }
    }
    const std::vector<std::pair<std::size_t, std::size_t>> spare = {
        {42 + 4 * 7, 42 + 4 * 12}, {90 + 7, 90 + 12}, {136 + 32 * 7, 520}, {520 + 8 * 7, 616}};
    for (const auto& [from, to] : spare) {
        for (std::size_t i = from; i < to; ++i) {
            ASSERT_EQ(record().bytes()[i], file.bytes()[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(record().i32(Field::CombatScore, 6, 7), -1);
    EXPECT_EQ(record().u8(Field::TrainingLevel, 6), 2);
}

}  // namespace
