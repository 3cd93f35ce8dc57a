#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "Controls.h"
#include "ElementNames.h"
#include "FakeDialogs.h"
#include "PilotRecord.h"
#include "ShipKillsGroup.h"
#include "ShipKillsTable.h"
#include "TForm1.h"
#include "TestFiles.h"
#include "UserActions.h"

namespace {

using pilot::Field;
using pilot::PilotRecord;

constexpr std::size_t kCounters = 70;
constexpr std::size_t kFirstCounterOffset = 1632;

QString editName(std::size_t index) {
    return QStringLiteral("Edit%1").arg(9 + index);
}

QLineEdit* counterEdit(const QWidget& root, std::size_t index) {
    return root.findChild<QLineEdit*>(editName(index));
}

QLabel* labelOf(const QWidget& root, const QLineEdit* edit) {
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (label->buddy() == edit) {
            return label;
        }
    }
    return nullptr;
}

// Types into a field as a user does, over the selected old text; a negative number gets
// its sign last, as a lone "-" would read "0".
void typeInto(QLineEdit* edit, const QString& text) {
    testing_support::enterText(edit, text, testing_support::Entry::TypeSignLast);
}

std::uint16_t counterBytes(const PilotRecord::Bytes& bytes, std::size_t index) {
    const std::size_t offset = kFirstCounterOffset + 2 * index;
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

void putU16(PilotRecord::Bytes& bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Down column 1, then columns 2, 3 and 4; column 4 ends with the counters added last.
std::vector<QString> counterTabOrder() {
    std::vector<QString> names;
    const std::array<std::pair<int, int>, 6> runs = {
        {{9, 26}, {27, 44}, {47, 64}, {67, 78}, {45, 46}, {65, 66}}};
    for (const auto& [first, last] : runs) {
        for (int number = first; number <= last; ++number) {
            names.push_back(QStringLiteral("Edit%1").arg(number));
        }
    }
    return names;
}

// The controls the Tab key visits, starting from Edit9, one per counter.
std::vector<QString> tabThroughCounters(QWidget& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    counterEdit(window, 0)->setFocus();
    std::vector<QString> visited;
    for (std::size_t step = 0; step < kCounters && QApplication::focusWidget() != nullptr; ++step) {
        visited.push_back(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return visited;
}

// The group alone, with the window's two callbacks replaced by a log: 'M' for MarkChanged,
// 'U' for the kills total, which also notes the counter values it would add up.
class ShipKillsGroupTest : public ::testing::Test {
protected:
    ShipKillsGroupTest()
        : m_group(
              m_record, [this] { m_calls.push_back('M'); },
              [this] {
                  m_calls.push_back('U');
                  m_seenAtTotal = m_record.bytes();
              }) {
        m_group.show();
    }

    PilotRecord m_record = testing_support::patternedRecord(5);
    std::string m_calls;
    PilotRecord::Bytes m_seenAtTotal{};
    editor::ShipKillsGroup m_group;
};

TEST_F(ShipKillsGroupTest, BuildsSeventyHintedEditsEachWithItsLabelOnTheLeft) {
    EXPECT_EQ(m_group.title(), QStringLiteral(" Ship Kills "));
    EXPECT_EQ(m_group.size(), QSize(216, 399));
    EXPECT_EQ(m_group.findChildren<QLineEdit*>().size(), kCounters);
    for (std::size_t i = 0; i < kCounters; ++i) {
        SCOPED_TRACE(editName(i).toStdString());
        const QLineEdit* edit = counterEdit(m_group, i);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->size(), QSize(28, 20));
        EXPECT_EQ(edit->toolTip(), QStringLiteral("Destroyed ships of this type"));
        EXPECT_TRUE(m_group.rect().contains(edit->geometry()));
        const QLabel* label = labelOf(m_group, edit);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->toolTip().isEmpty());
        EXPECT_LE(label->geometry().right(), edit->x());
        EXPECT_EQ(label->geometry().center().y(), edit->geometry().center().y());
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_FALSE(edit->geometry().intersects(counterEdit(m_group, j)->geometry()));
        }
    }
}

TEST_F(ShipKillsGroupTest, PlacesCountersAtTheirColumnAndRow) {
    struct Place {
        int edit;
        const char* label;
        int x;
        int y;
    };
    const std::array<Place, 10> places = {{
        {9, "X-W", 23, 12},
        {26, "E/S", 23, 352},
        {27, "SPC", 76, 12},
        {39, "BulkB", 76, 252},
        {44, "New3", 76, 352},
        {45, "MUTR", 183, 252},
        {47, "Millen", 130, 12},
        {64, "CN/F", 130, 352},
        {66, "CN/H", 183, 312},
        {67, "CN/I", 183, 12},
    }};
    for (const Place& place : places) {
        SCOPED_TRACE(place.edit);
        const QLineEdit* edit = counterEdit(m_group, static_cast<std::size_t>(place.edit - 9));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->pos(), QPoint(place.x, place.y));
        EXPECT_EQ(labelOf(m_group, edit)->text(), QString::fromLatin1(place.label));
    }
}

TEST_F(ShipKillsGroupTest, BuildsEveryCounterFromItsTableRow) {
    const std::array<int, 4> columnX = {23, 76, 130, 183};
    for (const editor::ShipKillCounter& counter : editor::kShipKillsTable) {
        SCOPED_TRACE(counter.index);
        const QLineEdit* edit = counterEdit(m_group, counter.index);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->pos(), QPoint(columnX[counter.column - 1], 12 + 20 * (counter.row - 1)));
        EXPECT_EQ(ui::shownText(*labelOf(m_group, edit)).toStdString(),
                  pilot::kShipKillLabels[counter.index]);
    }
}

QImage rendered(QLabel& label) {
    QImage image(label.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    label.render(&image);
    return image;
}

QImage renderedPlain(const QLabel& like, const QString& text) {
    QLabel plain(text);
    plain.setTextFormat(Qt::PlainText);
    plain.setFont(like.font());
    plain.setAlignment(like.alignment());
    plain.resize(like.size());
    return rendered(plain);
}

TEST_F(ShipKillsGroupTest, ShowsTheDoubledAmpersandAsOne) {
    QLabel* label = labelOf(m_group, counterEdit(m_group, 65));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("R&&D"));
    const QImage wanted = renderedPlain(*label, QStringLiteral("R&D"));
    // Without glyphs on this platform both pictures would be blank and prove nothing.
    ASSERT_NE(wanted, renderedPlain(*label, QStringLiteral("R&&D")));
    EXPECT_EQ(rendered(*label), wanted);
}

TEST_F(ShipKillsGroupTest, TabRunsDownEachColumnInTurn) {
    EXPECT_EQ(tabThroughCounters(m_group), counterTabOrder());
}

TEST_F(ShipKillsGroupTest, EveryCounterStoresOnlyItsOwnTwoBytes) {
    for (std::size_t i = 0; i < kCounters; ++i) {
        SCOPED_TRACE(editName(i).toStdString());
        const auto value = static_cast<std::uint16_t>(1000 + 937 * i);
        PilotRecord::Bytes expected = m_record.bytes();
        putU16(expected, kFirstCounterOffset + 2 * i, value);
        m_calls.clear();
        typeInto(counterEdit(m_group, i), QString::number(value));
        EXPECT_EQ(m_record.bytes(), expected);
        EXPECT_EQ(counterEdit(m_group, i)->text(), QString::number(value));
        // One MarkChanged, then one total, per keystroke; the total sees the stored value.
        std::string perKeystroke;
        for (qsizetype k = 0; k < QString::number(value).size(); ++k) {
            perKeystroke += "MU";
        }
        EXPECT_EQ(m_calls, perKeystroke);
        EXPECT_EQ(counterBytes(m_seenAtTotal, i), value);
    }
}

struct TypedCase {
    const char* typed;
    std::uint16_t stored;
    const char* shown;
};

void PrintTo(const TypedCase& typed, std::ostream* out) {
    *out << '"' << typed.typed << '"';
}

class ShipKillsRuleTest : public ShipKillsGroupTest,
                          public ::testing::WithParamInterface<TypedCase> {};

TEST_P(ShipKillsRuleTest, KeepsTheLowSixteenBitsAndResetsTheSentinel) {
    const TypedCase& typed = GetParam();
    for (const std::size_t i : {std::size_t{0}, std::size_t{36}, std::size_t{69}}) {
        SCOPED_TRACE(i);
        QLineEdit* edit = counterEdit(m_group, i);
        typeInto(edit, QString::fromLatin1(typed.typed));
        EXPECT_EQ(edit->text(), QString::fromLatin1(typed.shown));
        EXPECT_EQ(m_record.u16(Field::ShipKills, i), typed.stored);
        EXPECT_EQ(counterBytes(m_seenAtTotal, i), typed.stored);
    }
}

INSTANTIATE_TEST_SUITE_P(TypedValues, ShipKillsRuleTest,
                         ::testing::Values(TypedCase{"70000", 4464, "4464"},
                                           TypedCase{"-2", 65534, "65534"},
                                           TypedCase{"65534", 65534, "65534"},
                                           // a reset number stays as typed until the
                                           // focus leaves; the counter holds 0 meanwhile
                                           TypedCase{"-1", 0, "-1"}, TypedCase{"65535", 0, "65535"},
                                           TypedCase{"131071", 0, "131071"}, TypedCase{"x", 0, "0"},
                                           TypedCase{"0", 0, "0"}));

TEST_F(ShipKillsGroupTest, ClearingACounterShowsAndStoresZero) {
    QLineEdit* edit = counterEdit(m_group, 12);
    typeInto(edit, QStringLiteral("321"));
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    EXPECT_EQ(m_record.u16(Field::ShipKills, 12), 0);
}

TEST_F(ShipKillsGroupTest, RefreshFillsTheCountersInIndexOrder) {
    std::vector<QString> order;
    for (std::size_t i = 0; i < kCounters; ++i) {
        QObject::connect(counterEdit(m_group, i), &QLineEdit::textChanged, &m_group,
                         [&order, name = editName(i)] {
                             if (order.empty() || order.back() != name) {
                                 order.push_back(name);
                             }
                         });
    }
    m_group.showCounters();
    ASSERT_EQ(order.size(), kCounters);
    for (std::size_t i = 0; i < kCounters; ++i) {
        EXPECT_EQ(order[i], editName(i));
    }
}

TEST_F(ShipKillsGroupTest, RefreshShowsUnsignedValuesAndResetsAStoredSentinel) {
    m_record.setU16(Field::ShipKills, 65535, 3);
    m_record.setU16(Field::ShipKills, 65534, 4);
    m_record.setU16(Field::ShipKills, 4464, 5);
    PilotRecord::Bytes expected = m_record.bytes();
    for (std::size_t i = 0; i < kCounters; ++i) {
        if (counterBytes(expected, i) == 65535) {
            putU16(expected, kFirstCounterOffset + 2 * i, 0);
        }
    }
    m_group.showCounters();
    EXPECT_EQ(m_record.bytes(), expected);
    EXPECT_EQ(counterEdit(m_group, 3)->text(), QStringLiteral("0"));
    EXPECT_EQ(counterEdit(m_group, 4)->text(), QStringLiteral("65534"));
    EXPECT_EQ(counterEdit(m_group, 5)->text(), QStringLiteral("4464"));
    for (std::size_t i = 0; i < kCounters; ++i) {
        EXPECT_EQ(counterEdit(m_group, i)->text(), QString::number(counterBytes(expected, i)));
    }
    // Every text changed from empty, so every counter ran its rule.
    EXPECT_GE(m_calls.size(), 2 * kCounters);

    m_calls.clear();
    m_group.showCounters();
    EXPECT_EQ(m_calls, std::string()) << "showing the same texts again runs no rule";
}

// The whole window: the counters, the kills total in KillsEdit and the record's bytes.

std::uint16_t countersSum(const PilotRecord::Bytes& bytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < kCounters; ++i) {
        sum += counterBytes(bytes, i);
    }
    return static_cast<std::uint16_t>(sum % 65536);
}

// The kills total as KillsEdit leaves it: its own rule turns 65535 into 0.
std::uint16_t shownTotal(std::uint16_t sum) {
    return sum == 65535 ? 0 : sum;
}

constexpr std::size_t kKillsOffset = 1626;

class ShipKillsWindowTest : public ::testing::Test {
protected:
    ShipKillsWindowTest() {
        m_window.show();
        m_window.Button1Click();  // the activation refresh, at once rather than queued
    }

    void loadRecord(const PilotRecord& record) {
        const auto path = m_dir / "PILOT.TFR";
        testing_support::writeRecord(path, record);
        m_window.LoadPilotFile(QString::fromStdString(path.string()));
        ASSERT_TRUE(m_dialogs.errors.empty());
    }
    void loadCounters(const std::vector<std::pair<std::size_t, std::uint16_t>>& counters) {
        PilotRecord record;
        record.setU16(Field::Kills, 1234);  // a stale total that the refresh replaces
        for (const auto& [index, value] : counters) {
            record.setU16(Field::ShipKills, value, index);
        }
        loadRecord(record);
    }
    [[nodiscard]] QLineEdit* killsEdit() const {
        return m_window.findChild<QLineEdit*>(QStringLiteral("KillsEdit"));
    }
    void expectTotal(std::uint16_t total) const {
        EXPECT_EQ(m_window.record().u16(Field::Kills), total);
        EXPECT_EQ(killsEdit()->text(), QString::number(total));
    }

    testing_support::TempDir m_dir;
    testing_support::FakeDialogs m_dialogs;
    editor::TForm1 m_window{QStringList{}, m_dialogs};
};

TEST_F(ShipKillsWindowTest, APilotWithoutKillsShowsZeroKills) {
    ASSERT_NE(killsEdit(), nullptr);
    expectTotal(0);
    loadCounters({{0, 5}});
    expectTotal(5);
}

// Every craft name is shown whole beside its edit, in the window's group font and in a
// 9-pixel font alike; a name too wide for its place is narrowed, not cut off or shrunk.
TEST_F(ShipKillsWindowTest, EveryLabelShowsItsWholeName) {
    auto* group = m_window.findChild<editor::ShipKillsGroup*>();
    ASSERT_NE(group, nullptr);
    QFont ninePixels = group->font();
    ninePixels.setPixelSize(9);
    for (const std::optional<QFont>& font : {std::optional<QFont>{}, std::optional{ninePixels}}) {
        if (font) {
            group->setFont(*font);
        }
        const QFontInfo groupFont(group->font());
        for (std::size_t i = 0; i < kCounters; ++i) {
            const QLineEdit* edit = counterEdit(m_window, i);
            const QLabel* label = labelOf(m_window, edit);
            ASSERT_NE(label, nullptr);
            SCOPED_TRACE(label->text().toStdString());
            QString shown = label->text();
            shown.replace(QStringLiteral("&&"), QStringLiteral("&"));
            EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
            EXPECT_LE(label->geometry().right(), edit->x());
            EXPECT_EQ(QFontInfo(label->font()).pixelSize(), groupFont.pixelSize());
            EXPECT_EQ(label->font().family(), group->font().family());
        }
    }
}

TEST_F(ShipKillsWindowTest, TabRunsDownEachColumnInTurn) {
    EXPECT_EQ(tabThroughCounters(m_window), counterTabOrder());
}

TEST_F(ShipKillsWindowTest, EveryCounterEditChangesOnlyItsSlotAndTheKillsTotal) {
    loadRecord(testing_support::patternedRecord(11));
    PilotRecord::Bytes expected = m_window.record().bytes();
    ASSERT_EQ(m_window.record().u16(Field::Kills), shownTotal(countersSum(expected)));
    for (std::size_t i = 0; i < kCounters; ++i) {
        SCOPED_TRACE(editName(i).toStdString());
        const auto value = static_cast<std::uint16_t>(40000 + 311 * i);
        putU16(expected, kFirstCounterOffset + 2 * i, value);
        const std::uint16_t total = shownTotal(countersSum(expected));
        putU16(expected, kKillsOffset, total);

        typeInto(counterEdit(m_window, i), QString::number(value));
        // TotalScore and every other byte stay as they were.
        EXPECT_EQ(m_window.record().bytes(), expected);
        EXPECT_EQ(killsEdit()->text(), QString::number(total));
    }
}

struct LoadedCase {
    const char* name;
    std::vector<std::pair<std::size_t, std::uint16_t>> counters;
    std::uint16_t kills;
};

void PrintTo(const LoadedCase& loaded, std::ostream* out) {
    *out << loaded.name;
}

class ShipKillsLoadTest : public ShipKillsWindowTest,
                          public ::testing::WithParamInterface<LoadedCase> {};

TEST_P(ShipKillsLoadTest, TheRefreshRecomputesTheKillsTotal) {
    loadCounters(GetParam().counters);
    expectTotal(GetParam().kills);
    for (const auto& [index, value] : GetParam().counters) {
        const std::uint16_t shown = value == 65535 ? 0 : value;
        EXPECT_EQ(counterEdit(m_window, index)->text(), QString::number(shown));
        EXPECT_EQ(m_window.record().u16(Field::ShipKills, index), shown);
    }
}

std::vector<std::pair<std::size_t, std::uint16_t>> everyCounter(std::uint16_t value) {
    std::vector<std::pair<std::size_t, std::uint16_t>> counters;
    for (std::size_t i = 0; i < kCounters; ++i) {
        counters.emplace_back(i, value);
    }
    return counters;
}

INSTANTIATE_TEST_SUITE_P(
    LoadedPilots, ShipKillsLoadTest,
    ::testing::Values(LoadedCase{"FiveKills", {{0, 5}}, 5},
                      LoadedCase{"SumWrapsModulo65536", everyCounter(1000), 4464},
                      LoadedCase{"StoredSentinelCountsAsZero", {{3, 65535}, {4, 7}}, 7},
                      LoadedCase{"TotalOf65535ResetsToZero", {{0, 65534}, {69, 1}}, 0},
                      LoadedCase{"LargestCounters", {{0, 65534}, {1, 65534}}, 65532}),
    [](const ::testing::TestParamInfo<LoadedCase>& tested) {
        return std::string(tested.param.name);
    });

TEST_F(ShipKillsWindowTest, TheTotalFollowsTypedCounters) {
    loadCounters({{0, 65000}, {1, 500}});
    expectTotal(65500);
    const std::array<std::pair<const char*, std::uint16_t>, 4> steps = {{
        {"35", 0},      // exactly 65535: KillsEdit's rule resets it
        {"36", 0},      // 65536 wraps to 0
        {"37", 1},      // wrapped past
        {"-1", 65500},  // the counter itself resets to 0
    }};
    for (const auto& [typed, total] : steps) {
        SCOPED_TRACE(typed);
        typeInto(counterEdit(m_window, 40), QString::fromLatin1(typed));
        expectTotal(total);
    }
}

TEST_F(ShipKillsWindowTest, ATypedKillsTotalStandsUntilTheNextCounterEdit) {
    loadCounters({{10, 20}});
    typeInto(killsEdit(), QStringLiteral("999"));
    expectTotal(999);
    typeInto(counterEdit(m_window, 11), QStringLiteral("3"));
    expectTotal(23);
}

TEST_F(ShipKillsWindowTest, SaveWritesTheEditedCounterAndTotal) {
    loadCounters({{20, 9}});
    typeInto(counterEdit(m_window, 68), QStringLiteral("70000"));
    EXPECT_EQ(counterEdit(m_window, 68)->text(), QStringLiteral("4464"));
    EXPECT_TRUE(m_window.changed());
    m_window.SaveTFR1Click();
    ASSERT_TRUE(m_dialogs.errors.empty());
    EXPECT_FALSE(m_window.changed());
    const auto saved = testing_support::readBytes(m_dir / "PILOT.TFR");
    ASSERT_EQ(saved.size(), pilot::kRecordSize);
    EXPECT_EQ(saved[kFirstCounterOffset + 2 * 68], 4464 & 0xFF);
    EXPECT_EQ(saved[kFirstCounterOffset + 2 * 68 + 1], 4464 >> 8);
    EXPECT_EQ(saved[kKillsOffset], (4464 + 9) & 0xFF);
    EXPECT_EQ(saved[kKillsOffset + 1], (4464 + 9) >> 8);
}

}  // namespace
