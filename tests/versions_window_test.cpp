// The editor window and the history: what every write over a file keeps, the question
// before Save writes over a file the window did not open, the note of a version not kept,
// the question that names what Save would change, and the History and Compare dialogs
// driven by keyboard, whose Restore and Take are single undo steps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <QAbstractItemView>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>

#include "History.h"
#include "RecordItems.h"
#include "Totals.h"
#include "WindowFixture.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;
using pilot::history::Origin;
using testing_support::FakeDialogs;
using testing_support::latin;
using testing_support::qpath;
using testing_support::readBytes;
using testing_support::showableRecord;
using testing_support::textOf;
using testing_support::writeRecord;

using Kept = std::vector<std::pair<PilotRecord, Origin>>;  // newest first

class Versions : public testing_support::WindowShell {
protected:
    [[nodiscard]] static Kept keptOf(const fs::path& pilot) {
        auto entries =
            pilot::history::PilotHistory(testing_support::historyRoot(), pilot).entries();
        Kept kept;
        for (const auto& entry : std::get<std::vector<pilot::history::Entry>>(entries)) {
            kept.emplace_back(entry.record, entry.origin);
        }
        return kept;
    }
    [[nodiscard]] QString keepNotice() const { return control<QLabel>("StatusPanel1")->text(); }
    // The dialog a command opened, once it is the active window; one closed before may
    // still wait to be deleted.
    [[nodiscard]] QDialog* activeDialog(const char* name) const {
        for (QDialog* dialog : window->findChildren<QDialog*>(latin(name))) {
            if (dialog->isVisible()) {
                EXPECT_TRUE(QTest::qWaitForWindowActive(dialog)) << name;
                return dialog;
            }
        }
        throw testing_support::MissingControl(latin(name));
    }
    // The user's keys where the focus stands in the dialog. A button's letter with Alt
    // clicks it as the eye sees it, pressed for a moment: the click comes once released.
    static void press(QDialog* dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* focus = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
        QTest::keyClick(focus, key, modifiers);
        if (modifiers == Qt::AltModifier) {
            constexpr int kShownPressed = 200;  // milliseconds; a button shows itself for 100
            QTest::qWait(kShownPressed);
        }
        QApplication::processEvents();
    }
    void edit(const char* field, const char* text) { typeInto(field, latin(text)); }
};

// Sets an environment variable for one block.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvironmentVariable() {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST_F(Versions, EveryWriteOverAPilotKeepsWhatItReplaces) {
    const PilotRecord x = showableRecord(51);
    const PilotRecord y = showableRecord(52);
    const PilotRecord z = showableRecord(53);
    {
        SCOPED_TRACE("opened, then saved");
        writeRecord(dir / "A.TFR", x);
        open(dir / "A.TFR");
        EXPECT_EQ(keptOf(dir / "A.TFR"), (Kept{{x, Origin::Opened}}));
        edit("CapturesEdit", "4321");
        trigger("SaveTFR1");
        EXPECT_NE(readBytes(dir / "A.TFR"), testing_support::bytesOf(x));
        EXPECT_EQ(keptOf(dir / "A.TFR"), (Kept{{x, Origin::Opened}}));
    }
    {
        SCOPED_TRACE("changed by another program, then written over");
        const PilotRecord saved = window->record();
        edit("CapturesEdit", "1234");
        writeRecord(dir / "A.TFR", y);
        dialogs.answerChangedOnDisk(ui::ChangedFileChoice::Overwrite);
        trigger("SaveTFR1");
        EXPECT_EQ(dialogs.questions.back().kind, FakeDialogs::Question::Kind::ChangedOnDisk);
        // What this window saved before was the other program's to replace.
        EXPECT_EQ(keptOf(dir / "A.TFR"), (Kept{{y, Origin::ChangedByOther}, {x, Origin::Opened}}));
        EXPECT_NE(readBytes(dir / "A.TFR"), testing_support::bytesOf(saved));
    }
    {
        SCOPED_TRACE("Save As over an existing file");
        writeRecord(dir / "B.TFR", z);
        saveAs(dir / "B.TFR", 0);
        EXPECT_EQ(readBytes(dir / "B.TFR"), readBytes(dir / "A.TFR"));
        EXPECT_EQ(keptOf(dir / "B.TFR"), (Kept{{z, Origin::Replaced}}));
    }
    EXPECT_TRUE(dialogs.questionsAnswered());
    EXPECT_TRUE(dialogs.errors.empty());
}

// After New Pilot, or once a text report has left the name of a pilot file never loaded,
// Save asks before it replaces a file of that name; Cancel leaves it, Replace keeps it.
TEST_F(Versions, SaveAsksBeforeReplacingAFileTheWindowDidNotOpen) {
    const PilotRecord theirs = showableRecord(54);
    struct Case {
        const char* what;
        const char* name;
        std::function<void()> prepare;
    };
    const std::vector<Case> cases = {
        {"New Pilot", "Noname.TFR",
         [&] {
             QDir::setCurrent(qpath(dir.path()));
             trigger("ToolbarButton974");
         }},
        {"a text report's name", "R.TFR", [&] { saveAs(dir / "R", 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeRecord(dir / c.name, theirs);
        c.prepare();
        const PilotRecord mine = window->record();
        dialogs.answerReplace(false);
        trigger("SaveTFR1");
        ASSERT_FALSE(dialogs.questions.empty());
        EXPECT_EQ(dialogs.questions.back().kind, FakeDialogs::Question::Kind::Replace);
        EXPECT_EQ(dialogs.questions.back().text,
                  latin(c.name) + QStringLiteral(" already exists. Replace it?"));
        EXPECT_EQ(readBytes(dir / c.name), testing_support::bytesOf(theirs));
        EXPECT_TRUE(keptOf(dir / c.name).empty());

        dialogs.answerReplace(true);
        trigger("SaveTFR1");
        EXPECT_EQ(readBytes(dir / c.name), testing_support::bytesOf(mine));
        EXPECT_EQ(keptOf(dir / c.name), (Kept{{theirs, Origin::Replaced}}));
        // Now the window's own file: saved again without a question.
        const std::size_t asked = dialogs.questions.size();
        trigger("SaveTFR1");
        EXPECT_EQ(dialogs.questions.size(), asked);
    }
    EXPECT_TRUE(dialogs.questionsAnswered());
}

// A history that cannot be written leaves the load and the save alone and says so in the
// first status panel, until the next load, save or New Pilot.
TEST_F(Versions, AVersionNotKeptIsNotedInTheFirstPanel) {
    testing_support::writeBytes(dir / "state", std::string("a file where the folder should be"));
    writeRecord(dir / "A.TFR", showableRecord(55));
    const QString notice = QStringLiteral("No earlier version kept: Ungültiger Dateiname.");
    {
        const EnvironmentVariable broken("XDG_STATE_HOME", (dir / "state").string());
        open(dir / "A.TFR");
        EXPECT_EQ(keepNotice(), notice);
        EXPECT_TRUE(control<QLabel>("StatusPanel1")->toolTip().startsWith(notice));
        edit("CapturesEdit", "4321");
        trigger("SaveTFR1");
        EXPECT_EQ(keepNotice(), notice);
        EXPECT_EQ(window->record().u16(Field::Captures), 4321);
        EXPECT_FALSE(window->unsaved());
        trigger("ToolbarButton974");
        EXPECT_EQ(keepNotice(), QString());
    }
    open(dir / "A.TFR");
    EXPECT_EQ(keepNotice(), QString());
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(Versions, TheQuestionNamesWhatSaveWouldChange) {
    PilotRecord pilot = showableRecord(56);
    const std::vector<std::pair<const char*, Field>> fields = {
        {"Edit83", Field::Skill},
        {"CapturesEdit", Field::Captures},
        {"LaserShotsEdit", Field::LaserShots},
        {"LaserHitsEdit", Field::LaserHits},
        {"WarheadShotsEdit", Field::WarheadShots},
        {"WarheadHitsEdit", Field::WarheadHits},
        {"CraftLostEdit", Field::CraftLost},
    };
    for (const auto& [name, field] : fields) {
        pilot.setRaw(field, 10);
    }
    writeRecord(dir / "A.TFR", pilot);
    open(dir / "A.TFR");
    for (const auto& [name, field] : fields) {
        edit(name, "11");
    }
    dialogs.answerSaveChanges(ui::SaveChoice::Cancel);
    trigger("Close1");
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("Save changes to A.TFR?"));
    EXPECT_EQ(dialogs.questions[0].detail,
              QStringLiteral("Save would change:\nSkill: 10 \u2192 11\nCaptures: 10 \u2192 11\n"
                             "Laser shots: 10 \u2192 11\nLaser hits: 10 \u2192 11\n"
                             "Warhead shots: 10 \u2192 11\nand 2 more"));

    // Opened, a file whose total is not the sum of its mission scores is saved with the sum:
    // the question after it says why.
    PilotRecord unsummed = showableRecord(57);
    const std::int32_t sum = unsummed.i32(Field::TotalScore);
    unsummed.setI32(Field::TotalScore, sum + 5);
    writeRecord(dir / "B.TFR", unsummed);
    dialogs.answerSaveChanges(ui::SaveChoice::Discard);
    open(dir / "B.TFR");
    dialogs.answerSaveChanges(ui::SaveChoice::Cancel);
    trigger("ToolbarButton974");
    ASSERT_EQ(dialogs.questions.size(), 3u);
    EXPECT_EQ(
        dialogs.questions[2].detail,
        QStringLiteral("Save would change:\nTotal score: %1 \u2192 %2").arg(sum + 5).arg(sum));
}

// The kept versions newest first; the second restored by keyboard as one undo step, byte
// for byte; the file untouched until Save; and the folder shown.
TEST_F(Versions, HistoryRestoresAVersionAsOneUndoStep) {
    const fs::path path = dir / "A.TFR";
    const PilotRecord first = testing_support::patternedRecord(61);
    const PilotRecord second = testing_support::patternedRecord(62);
    const PilotRecord now = showableRecord(63);
    const pilot::history::PilotHistory history(testing_support::historyRoot(), path);
    ASSERT_EQ(history.keep(first, Origin::Replaced), std::nullopt);
    ASSERT_EQ(history.keep(second, Origin::ChangedByOther), std::nullopt);
    writeRecord(path, now);
    showActive();
    open(path);

    trigger("History1");
    QDialog* dialog = activeDialog("HistoryDialog");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("History of A.TFR"));
    auto* list = testing_support::control<QTreeWidget>(*dialog, "VersionList");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const QStringList origins = {QStringLiteral("opened"),
                                 QStringLiteral("changed by another program"),
                                 QStringLiteral("replaced")};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list->topLevelItem(row)->text(1), origins[row]);
    }
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("identical"));
    EXPECT_EQ(list->topLevelItem(1)->text(2),
              QStringLiteral("%1 fields").arg(pilot::differences(second, now).size()));
    EXPECT_EQ(dialog->focusWidget(), list);

    press(dialog, Qt::Key_Down);
    auto* table = testing_support::control<QAbstractItemView>(*dialog, "ComparisonTable");
    EXPECT_EQ(table->model()->rowCount(), static_cast<int>(pilot::differences(second, now).size()));
    const QPointer<QDialog> restoring = dialog;
    press(dialog, Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(restoring.isNull() || !restoring->isVisible());
    EXPECT_EQ(window->record(), second);
    EXPECT_TRUE(window->unsaved());
    EXPECT_EQ(readBytes(path), testing_support::bytesOf(now));
    EXPECT_TRUE(control<QAction>("Undo1")->text().startsWith(latin("Undo Restore version of ")));
    trigger("Undo1");
    EXPECT_EQ(window->record(), now);
    EXPECT_FALSE(window->unsaved());
    trigger("Redo1");
    EXPECT_EQ(window->record(), second);

    trigger("History1");
    dialog = activeDialog("HistoryDialog");
    press(dialog, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(dialogs.shownFolders, std::vector<QString>{qpath(history.folder())});
    const QPointer<QDialog> closing = dialog;
    press(dialog, Qt::Key_Escape);
    EXPECT_TRUE(closing.isNull() || !closing->isVisible());
}

// Another file compared field by field: the filter narrows the rows, the walk selects one,
// and Take brings it in with its total as one undo step; everything taken makes the records
// alike but for the total the editor keeps.
TEST_F(Versions, CompareWithTakesTheSelectedFieldsAsOneUndoStep) {
    const PilotRecord mine = showableRecord(64);
    PilotRecord theirs = mine;
    theirs.setI32(Field::BattleMissionScore, mine.i32(Field::BattleMissionScore, 3, 2) + 500, 3, 2);
    theirs.setU8(Field::Rank, static_cast<std::uint8_t>((mine.u8(Field::Rank) + 1) % 6));
    theirs.setU8(Field::BattleBonusGoals,
                 static_cast<std::uint8_t>(mine.u8(Field::BattleBonusGoals, 2) ^ 0x10), 2);
    theirs.setByte(12, static_cast<std::uint8_t>(mine.bytes()[12] ^ 0xFF));
    writeRecord(dir / "MINE.TFR", mine);
    writeRecord(dir / "THEIRS.TFR", theirs);
    showActive();
    open(dir / "MINE.TFR");

    dialogs.answer(qpath(dir / "THEIRS.TFR"));
    trigger("CompareWith1");
    QDialog* dialog = activeDialog("CompareDialog");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Compare with THEIRS.TFR"));
    auto* table = testing_support::control<QAbstractItemView>(*dialog, "ComparisonTable");
    auto* count = testing_support::control<QLabel>(*dialog, "DifferenceCount");
    EXPECT_EQ(table->model()->rowCount(), 4);
    EXPECT_EQ(count->text(), QStringLiteral("4 fields differ"));
    // Named as the window names them, valued as it shows them, in file order.
    const auto cell = [&](int row, int column) {
        return table->model()->index(row, column).data().toString();
    };
    const QStringList rows[] = {
        {QStringLiteral("Rank"), QStringLiteral("Rank"),
         QString::fromStdString(
             pilot::itemText(mine, {pilot::RecordItem::Kind::Element, {Field::Rank}})),
         QString::fromStdString(
             pilot::itemText(theirs, {pilot::RecordItem::Kind::Element, {Field::Rank}}))},
        {QStringLiteral("Reserved byte 12"), QStringLiteral("Reserved11"),
         QStringLiteral("0x%1").arg(mine.bytes()[12], 2, 16, QLatin1Char('0')),
         QStringLiteral("0x%1").arg(theirs.bytes()[12], 2, 16, QLatin1Char('0'))},
        {QStringLiteral("Battle 3, mission 5: bonus goal"),
         QStringLiteral("BattleBonusGoals[2] bit 4"),
         (mine.u8(Field::BattleBonusGoals, 2) & 0x10) != 0 ? QStringLiteral("ticked")
                                                           : QStringLiteral("not ticked"),
         (theirs.u8(Field::BattleBonusGoals, 2) & 0x10) != 0 ? QStringLiteral("ticked")
                                                             : QStringLiteral("not ticked")},
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_EQ(cell(row, column), rows[row][column]) << row << ", " << column;
        }
    }
    EXPECT_EQ(table->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("Shown now"));
    EXPECT_EQ(table->model()->headerData(3, Qt::Horizontal).toString(),
              QStringLiteral("THEIRS.TFR"));

    press(dialog, Qt::Key_I, Qt::AltModifier);
    QTest::keyClicks(dialog->focusWidget(), QStringLiteral("score"));
    EXPECT_EQ(table->model()->rowCount(), 1);
    EXPECT_EQ(count->text(), QStringLiteral("1 of 4 differing fields shown"));
    EXPECT_EQ(table->model()->index(0, 0).data().toString(),
              QStringLiteral("Battle 4, mission 3: score"));
    press(dialog, Qt::Key_N, Qt::AltModifier);
    press(dialog, Qt::Key_T, Qt::AltModifier);
    PilotRecord taken = mine;
    taken.setI32(Field::BattleMissionScore, theirs.i32(Field::BattleMissionScore, 3, 2), 3, 2);
    taken.setI32(Field::TotalScore, pilot::storedTotalScore(taken));
    EXPECT_EQ(window->record(), taken);
    EXPECT_EQ(count->text(), QStringLiteral("1 of 4 differing fields shown"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("Total score"));
    trigger("Undo1");
    EXPECT_EQ(window->record(), mine);
}

}  // namespace
