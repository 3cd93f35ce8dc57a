#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "BsfTexts.h"
#include "FakeDialogs.h"
#include "FieldTable.h"
#include "IoError.h"
#include "PilotRecord.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TestFiles.h"
#include "UserActions.h"

namespace {

using namespace std::string_literals;
using bsfwindow::BsfTexts;
using pilot::Field;

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

using testing_support::choose;
using testing_support::enterText;
using testing_support::typeText;

const BsfTexts kTexts{.idLine = QStringLiteral("Cmdr Vance"),
                      .email = QStringLiteral("vance@example.org"),
                      .battleNumber = QStringLiteral("B-17"),
                      .medal = QStringLiteral("Star of Vessk")};

const std::string kHead =
    "Name of Applicant: Cmdr Vance\r\n"
    "Battle No:         B-17\r\n"
    "Name of Medal:     Star of Vessk\r\n"
    "Applicant's Email: vance@example.org\r\n"
    "Scores:\r\n";
const std::string kSeparator = "---------------------------------------------\r\n";

// Battle 5 (index 4) carries the example scores and last mission 3; craft 4 (index 3)
// scores -(301..308).
pilot::PilotRecord scoredRecord() {
    pilot::PilotRecord record;
    const std::array<std::int32_t, 8> battleScores = {5200, 7350, 4100, 1, 2, 3, 4, 5};
    for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
        record.setI32(Field::BattleMissionScore, battleScores[mission], 4, mission);
        record.setI32(Field::CombatScore, -static_cast<std::int32_t>(301 + mission), 3, mission);
    }
    record.setU8(Field::BattleLastMission, 3, 4);
    return record;
}

// ---- The form on its own ------------------------------------------------------------------

class FormTest : public ::testing::Test {
protected:
    template <typename T>
    T* control(const char* name) {
        return testing_support::control<T>(m_form, name);
    }
    void handOver(std::optional<std::size_t> battle = 4, std::optional<std::size_t> craft = 3) {
        m_form.handOver({kTexts, battle, craft});
    }
    void click(const char* name) {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // Runs Save BSF with the dialog answering the file name; returns the file's bytes.
    std::string save(const std::string& name = "FORM.TXT") {
        const auto path = m_dir / name;
        m_dialogs.answer(QString::fromStdString(path.string()));
        click("BitBtn2");
        return std::filesystem::exists(path) ? testing_support::readText(path) : "";
    }

    pilot::PilotRecord m_record = scoredRecord();
    testing_support::FakeDialogs m_dialogs;
    testing_support::TempDir m_dir;
    bsfwindow::TForm2 m_form{m_record, m_dialogs};
};

TEST_F(FormTest, IsCreatedHiddenWithItsFixedFrame) {
    EXPECT_FALSE(m_form.isVisible());
    EXPECT_EQ(m_form.windowTitle(), QStringLiteral("Battle Submission Form"));
    EXPECT_EQ(m_form.minimumSize(), QSize(360, 337));
    EXPECT_EQ(m_form.maximumSize(), QSize(360, 337));
    EXPECT_TRUE(m_form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(m_form.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral(" Battle Submission Form"));
}

struct ControlText {
    const char* name;
    const char* text;
    const char* hint;
};

TEST_F(FormTest, ControlsShowTheirCaptionsAndHints) {
    constexpr auto table = std::to_array<ControlText>({
        {"Label1", "ID-Line:", ""},
        {"Edit1", "", "Recipients Vessk ID-Line"},
        {"Label3", "Battle Nr:", ""},
        {"Edit3", "", "Vessk-Battle Number"},
        {"Label4", "Medal:", ""},
        {"Edit4", "", "Medalname"},
        {"Label2", "E-Mail:", ""},
        {"Edit2", "", "Recipients E-Mail"},
        {"RadioButton1", "Include Battle", "Write Battlescores"},
        {"Label5", "From Mission 1 to:", ""},
        {"Label8", "Highscore in Mission:", ""},
        {"CheckBox1", "1", "Highscore archived in this mission"},
        {"CheckBox4", "4", "Highscore archived in this mission"},
        {"CheckBox5", "5", "Highscore archived in this mission"},
        {"CheckBox8", "8", "Highscore archived in this mission"},
        {"RadioButton2", "Include Combat Chamber", "Write Combat Chamber scores"},
        {"Label6", "From Mission:", ""},
        {"Label7", "To Mission:", ""},
        {"BitBtn1", "&Close", ""},
        {"BitBtn2", "Save BSF", ""},
    });
    for (const ControlText& row : table) {
        const auto* widget = control<QWidget>(row.name);
        EXPECT_EQ(widget->property("text").toString(), latin1(row.text)) << row.name;
        EXPECT_EQ(widget->toolTip(), latin1(row.hint)) << row.name;
    }
    for (const char* name : {"RadioButton1", "RadioButton2", "CheckBox1", "CheckBox8"}) {
        EXPECT_FALSE(control<QAbstractButton>(name)->isChecked()) << name;
    }
    EXPECT_FALSE(control<QPushButton>("BitBtn1")->icon().isNull());
    EXPECT_FALSE(control<QPushButton>("BitBtn2")->icon().isNull());
    // Two rows of four highscore boxes.
    EXPECT_EQ(control<QCheckBox>("CheckBox1")->y(), control<QCheckBox>("CheckBox4")->y());
    EXPECT_GT(control<QCheckBox>("CheckBox5")->y(), control<QCheckBox>("CheckBox4")->y());
    EXPECT_EQ(control<QCheckBox>("CheckBox5")->x(), control<QCheckBox>("CheckBox1")->x());
}

struct ListEntries {
    const char* name;
    int count;
    int index;
    const char* text;
};

TEST_F(FormTest, SelectorsAreListsOfTheirEntries) {
    constexpr auto table = std::to_array<ListEntries>({
        {"BattleBox", 20, 0, "Battle  1"},
        {"BattleBox", 20, 8, "Battle  9"},
        {"BattleBox", 20, 9, "Battle 10"},
        {"BattleBox", 20, 19, "Battle 20"},
        {"CombatBox", 7, 0, "TIE Fighter"},
        {"CombatBox", 7, 6, "Missile Boat"},
        {"ComboBox3", 8, 7, "8"},
        {"ComboBox1", 8, 0, "1"},
        {"ComboBox2", 8, 3, "4"},
    });
    for (const ListEntries& row : table) {
        const auto* box = control<QComboBox>(row.name);
        EXPECT_EQ(box->count(), row.count) << row.name;
        EXPECT_EQ(box->itemText(row.index), latin1(row.text)) << row.name;
        EXPECT_FALSE(box->isEditable()) << row.name;
    }
    EXPECT_FALSE(control<QComboBox>("CombatBox")->isEnabled());
}

TEST_F(FormTest, MenuOffersSaveAndClose) {
    const QList<QAction*> menus = m_form.menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&BSF"));
    const QList<QAction*> entries = menus[0]->menu()->actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("&Save BSF"));
    EXPECT_TRUE(entries[1]->isSeparator());
    EXPECT_EQ(entries[2]->text(), QStringLiteral("&Close"));
}

TEST_F(FormTest, HandOverShowsAndFillsTheForm) {
    handOver(4, 3);
    EXPECT_TRUE(m_form.isVisible());
    EXPECT_EQ(m_form.texts(), kTexts);
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("B-17"));
    EXPECT_EQ(control<QComboBox>("BattleBox")->currentText(), QStringLiteral("Battle  5"));
    EXPECT_EQ(control<QComboBox>("CombatBox")->currentText(), QStringLiteral("TIE Advanced"));
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_EQ(control<QComboBox>("ComboBox3")->currentText(), QStringLiteral("3"));
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(control<QComboBox>("ComboBox2")->currentText(), QStringLiteral("4"));
}

TEST_F(FormTest, HandOverWithoutSelectionsLeavesTheBoxesEmptyAndWritesNoScores) {
    handOver(std::nullopt, std::nullopt);
    for (const char* name : {"BattleBox", "CombatBox", "ComboBox3"}) {
        EXPECT_EQ(control<QComboBox>(name)->currentIndex(), -1) << name;
        EXPECT_EQ(control<QComboBox>(name)->currentText(), QString()) << name;
    }
    EXPECT_EQ(save(), kHead);
    click("RadioButton2");
    EXPECT_EQ(save(), kHead + kSeparator + kHead);
}

TEST_F(FormTest, HandOverAgainResetsModeAndRangeButKeepsHighscoreMarks) {
    handOver();
    click("CheckBox2");
    click("RadioButton2");
    choose(control<QComboBox>("ComboBox2"), 7);
    choose(control<QComboBox>("ComboBox1"), 5);
    enterText(control<QLineEdit>("Edit1"), QStringLiteral("typed meanwhile"));

    handOver(6, 0);
    EXPECT_EQ(m_form.texts(), kTexts);
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_FALSE(control<QComboBox>("ComboBox1")->isEnabled());
    EXPECT_TRUE(control<QComboBox>("ComboBox3")->isEnabled());
    EXPECT_EQ(control<QComboBox>("ComboBox1")->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>("ComboBox2")->currentIndex(), 3);
    EXPECT_EQ(control<QComboBox>("BattleBox")->currentIndex(), 6);
    EXPECT_EQ(control<QComboBox>("ComboBox3")->currentIndex(), -1);  // battle 7 has none
    EXPECT_TRUE(control<QCheckBox>("CheckBox2")->isChecked());
}

TEST_F(FormTest, RadioButtonsSwitchWhichPanelIsEnabled) {
    handOver();
    const std::array<const char*, 13> battlePanel = {
        "BattleBox", "Label5",    "ComboBox3", "Label8",    "CheckBox1", "CheckBox2",   "CheckBox3",
        "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8", "RadioButton1"};
    const std::array<const char*, 6> combatPanel = {"CombatBox", "Label6",    "ComboBox1",
                                                    "Label7",    "ComboBox2", "RadioButton2"};
    struct Step {
        const char* radio;
        bool battleEnabled;
    };
    for (const Step step : {Step{nullptr, true}, Step{"RadioButton2", false},
                            Step{"RadioButton1", true}, Step{"RadioButton2", false}}) {
        if (step.radio != nullptr) {
            click(step.radio);
        }
        for (const char* name : battlePanel) {
            const bool always = name == "RadioButton1"s;
            EXPECT_EQ(control<QWidget>(name)->isEnabled(), always || step.battleEnabled)
                << name << " after " << (step.radio ? step.radio : "the hand-over");
        }
        for (const char* name : combatPanel) {
            const bool always = name == "RadioButton2"s;
            EXPECT_EQ(control<QWidget>(name)->isEnabled(), always || !step.battleEnabled)
                << name << " after " << (step.radio ? step.radio : "the hand-over");
        }
    }
    EXPECT_TRUE(control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("RadioButton1")->isChecked());
}

struct Snap {
    const char* name;
    int from;
    int to;
    const char* chosenBox;
    int choice;
    const char* fromText;
    const char* toText;
};

class MissionRange : public FormTest, public ::testing::WithParamInterface<Snap> {};

TEST_P(MissionRange, ChoiceKeepsTheRangeInOrder) {
    const Snap& snap = GetParam();
    handOver();
    click("RadioButton2");
    auto* fromBox = control<QComboBox>("ComboBox1");
    auto* toBox = control<QComboBox>("ComboBox2");
    choose(toBox, 7);  // room for any From first
    choose(fromBox, snap.from);
    choose(toBox, snap.to);
    choose(control<QComboBox>(snap.chosenBox), snap.choice);
    EXPECT_EQ(fromBox->currentText(), latin1(snap.fromText));
    EXPECT_EQ(toBox->currentText(), latin1(snap.toText));
}

INSTANTIATE_TEST_SUITE_P(
    Snapping, MissionRange,
    ::testing::Values(Snap{"FromSixWhileToFour", 0, 3, "ComboBox1", 5, "4", "4"},
                      Snap{"ToTwoWhileFromFour", 3, 3, "ComboBox2", 1, "4", "4"},
                      Snap{"FromUpToTo", 0, 3, "ComboBox1", 3, "4", "4"},
                      Snap{"FromBelowTo", 0, 5, "ComboBox1", 2, "3", "6"},
                      Snap{"ToAboveFrom", 2, 3, "ComboBox2", 7, "3", "8"},
                      Snap{"ToEightToOne", 7, 7, "ComboBox2", 0, "8", "8"}),
    [](const ::testing::TestParamInfo<Snap>& row) { return std::string(row.param.name); });

TEST_F(FormTest, SaveInBattleModeWritesTheMarkedMissions) {
    handOver();
    click("CheckBox2");
    EXPECT_EQ(save(), kHead +
                          "Mission 1: 5200 \r\n"
                          "Mission 2: 7350  * Highscore\r\n"
                          "Mission 3: 4100 \r\n");
    EXPECT_TRUE(m_dialogs.errors.empty());
    EXPECT_TRUE(m_form.isVisible());
}

TEST_F(FormTest, SaveInCombatModeNumbersTheRangeFromOne) {
    handOver();
    click("CheckBox1");  // plays no part here
    click("RadioButton2");
    choose(control<QComboBox>("ComboBox2"), 4);
    choose(control<QComboBox>("ComboBox1"), 2);
    EXPECT_EQ(save(), kHead +
                          "Mission 1: -303\r\n"
                          "Mission 2: -304\r\n"
                          "Mission 3: -305\r\n");
}

TEST_F(FormTest, TwoSavesToOneFileGiveFormSeparatorForm) {
    handOver();
    const std::string battleForm = save();
    click("RadioButton2");
    EXPECT_EQ(save(), battleForm + kSeparator + kHead +
                          "Mission 1: -301\r\nMission 2: -302\r\nMission 3: -303\r\n"
                          "Mission 4: -304\r\n");
    EXPECT_EQ(m_record, scoredRecord());  // the form never writes to the record
}

// Choosing another battle in the form selects that battle's last completed mission, as the
// hand-over does, so that no mission never flown is written; the user may choose more.
TEST_F(FormTest, TheLastMissionFollowsTheBattleChosen) {
    m_record.setU8(Field::BattleLastMission, 8, 0);
    m_record.setU8(Field::BattleLastMission, 0, 1);
    m_record.setU8(Field::BattleLastMission, 9, 2);
    m_record.setU8(Field::BattleLastMission, 1, 3);
    const struct {
        int battle;
        const char* shown;
        std::size_t lines;
    } cases[] = {{0, "8", 8}, {3, "1", 1}, {1, "", 0}, {4, "3", 3}, {2, "", 0}, {0, "8", 8}};
    handOver(0);
    int saved = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.battle);
        choose(control<QComboBox>("BattleBox"), c.battle);
        EXPECT_EQ(control<QComboBox>("ComboBox3")->currentText(), latin1(c.shown));
        const std::string form = save("FOLLOW" + std::to_string(++saved) + ".TXT");
        EXPECT_EQ(std::count(form.begin(), form.end(), '\n'), 5 + static_cast<long>(c.lines));
    }
    choose(control<QComboBox>("ComboBox3"), 5);  // told otherwise, it writes six
    const std::string more = save("MORE.TXT");
    EXPECT_EQ(std::count(more.begin(), more.end(), '\n'), 5 + 6);
}

// The status line says where each Save put its form and as which form of the file.
TEST_F(FormTest, TheStatusLineSaysWhereTheFormWent) {
    handOver();
    auto* status = control<QLabel>("FormStatus");
    EXPECT_FALSE(status->isVisibleTo(&m_form));
    const struct {
        const char* file;
        const char* said;
    } saves[] = {
        {"BSF1.TXT", "Form written to BSF1.TXT"},
        {"BSF1.TXT", "Form appended to BSF1.TXT as form 2"},
        {"BSF1.TXT", "Form appended to BSF1.TXT as form 3"},
        {"OTHER.TXT", "Form written to OTHER.TXT"},
    };
    for (const auto& s : saves) {
        SCOPED_TRACE(s.said);
        save(s.file);
        EXPECT_TRUE(status->isVisibleTo(&m_form));
        EXPECT_EQ(status->text(), latin1(s.said));
    }
    m_dialogs.answerCancel();
    click("BitBtn2");
    EXPECT_EQ(status->text(), latin1("Form written to OTHER.TXT"));
    handOver();
    EXPECT_FALSE(status->isVisibleTo(&m_form));
}

TEST_F(FormTest, SaveDialogAsksForAFormFileAndCancelWritesNothing) {
    handOver();
    m_dialogs.answerCancel();
    click("BitBtn2");
    ASSERT_EQ(m_dialogs.requests.size(), 1U);
    const ui::FileDialogOptions& options = m_dialogs.requests[0].options;
    EXPECT_EQ(options.mode, ui::FileDialogOptions::Mode::Save);
    EXPECT_EQ(options.title, QStringLiteral("Save BSF"));
    EXPECT_EQ(options.filters, QStringList{QStringLiteral("BATTLE SUBMISSION FORM (*.TXT)")});
    EXPECT_EQ(options.defaultSuffix, QStringLiteral("TXT"));
    EXPECT_TRUE(options.confirmCreate);
    EXPECT_FALSE(options.confirmOverwrite);
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.path()));
    EXPECT_TRUE(m_dialogs.errors.empty());
    EXPECT_TRUE(m_form.isVisible());
}

TEST_F(FormTest, MenuSaveRunsSaveBsf) {
    handOver();
    m_dialogs.answer(QString::fromStdString((m_dir / "MENU.TXT").string()));
    testing_support::control<QAction>(m_form, "SaveBSF1")->trigger();
    EXPECT_TRUE(std::filesystem::exists(m_dir / "MENU.TXT"));
}

TEST_F(FormTest, TypedTextsAreWrittenAsLatin1WithAQuestionMarkForOthers) {
    m_form.handOver({BsfTexts{}, std::nullopt, std::nullopt});
    typeText(control<QLineEdit>("Edit1"), QString::fromUtf8("Zo\u00eb \u00a7 \u03a9\U0001F680!"));
    typeText(control<QLineEdit>("Edit4"), QString::fromUtf8("\u20ac 5  "));
    EXPECT_EQ(save(),
              "Name of Applicant: Zo\xEB \xA7 ?"
              "?!\r\n"
              "Battle No:         \r\n"
              "Name of Medal:     ? 5  \r\n"
              "Applicant's Email: \r\n"
              "Scores:\r\n"s);
}

TEST_F(FormTest, AnExistingFileThatCannotBeAppendedToIsReportedAndKept) {
    testing_support::ReadOnlyMount mount(m_dir / "ro");
    if (!mount.mounted() || !mount.populate({{"FORMS.TXT", "earlier forms\r\n"}})) {
        GTEST_SKIP() << "no read-only file system can be mounted here";
    }
    handOver();
    save("ro/FORMS.TXT");
    ASSERT_EQ(m_dialogs.errors.size(), 1U);
    EXPECT_FALSE(m_dialogs.errors[0].isEmpty());
    EXPECT_EQ(testing_support::readText(m_dir / "ro" / "FORMS.TXT"), "earlier forms\r\n");
    EXPECT_TRUE(m_form.isVisible());
    EXPECT_EQ(m_form.texts(), kTexts);
}

TEST_F(FormTest, AMissingFolderShowsTheStandardMessage) {
    handOver();
    save("missing/FORM.TXT");
    ASSERT_EQ(m_dialogs.errors.size(), 1U);
    EXPECT_EQ(m_dialogs.errors[0], QString::fromStdString(pilot::withClosingPeriod(
                                       pilot::IoError{pilot::IoError::InvalidPath}.message())));
    // The file concerned, in the box's second line.
    EXPECT_EQ(m_dialogs.errors[0].file,
              QString::fromStdString((m_dir / "missing" / "FORM.TXT").string()));
}

struct CloseEntry {
    const char* name;
    bool isAction;
};

TEST_F(FormTest, CloseHidesThenHandsTheTextsBack) {
    for (const CloseEntry entry : {CloseEntry{"BitBtn1", false}, CloseEntry{"CloseBSF1", true}}) {
        handOver();
        enterText(control<QLineEdit>("Edit4"), QStringLiteral("Cross of Valor"));
        QSignalSpy returned(&m_form, &bsfwindow::TForm2::textsReturned);
        if (entry.isAction) {
            testing_support::control<QAction>(m_form, entry.name)->trigger();
        } else {
            click(entry.name);
        }
        EXPECT_FALSE(m_form.isVisible()) << entry.name;
        ASSERT_EQ(returned.size(), 1) << entry.name;
        BsfTexts expected = kTexts;
        expected.medal = QStringLiteral("Cross of Valor");
        EXPECT_EQ(returned[0][0].value<BsfTexts>(), expected) << entry.name;
    }
}

TEST_F(FormTest, TheCloseBoxHidesWithoutHandingTextsBack) {
    handOver();
    QSignalSpy returned(&m_form, &bsfwindow::TForm2::textsReturned);
    EXPECT_TRUE(m_form.close());
    EXPECT_FALSE(m_form.isVisible());
    EXPECT_EQ(returned.size(), 0);
}

// ---- Opened from the editor window --------------------------------------------------------

class EditorFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        pilot::PilotRecord record = scoredRecord();
        record.setU8(Field::BattleLastMission, 0, 2);
        record.setU8(Field::BattleLastMission, 8, 3);
        record.setU8(Field::BattleLastMission, 9, 5);
        testing_support::writeRecord(m_dir / "PILOT.TFR", record);
        m_dialogs.answer(QString::fromStdString((m_dir / "PILOT.TFR").string()));
        m_window.OpenTFR1Click();
        ASSERT_TRUE(m_dialogs.errors.empty());
    }
    // The editor's own controls; the form's share some of their names.
    template <typename T>
    T* editorControl(const char* name) {
        return testing_support::control<T>(*m_window.centralWidget(), name);
    }
    template <typename T>
    T* formControl(const char* name) {
        return testing_support::control<T>(form(), name);
    }
    bsfwindow::TForm2& form() { return *m_window.bsfForm(); }
    void typeEditorTexts() {
        QTest::keyClicks(editorControl<QLineEdit>("Edit79"), kTexts.idLine);
        QTest::keyClicks(editorControl<QLineEdit>("Edit80"), kTexts.email);
        QTest::keyClicks(editorControl<QLineEdit>("Edit81"), kTexts.battleNumber);
        QTest::keyClicks(editorControl<QLineEdit>("Edit82"), kTexts.medal);
    }
    void openForm(int battle, int craft) {
        choose(editorControl<QComboBox>("BattleNRBox1"), battle);
        choose(editorControl<QComboBox>("CombatShipBox1"), craft);
        testing_support::control<QAction>(m_window, "BSF1")->trigger();
    }
    [[nodiscard]] BsfTexts editorTexts() {
        return {.idLine = editorControl<QLineEdit>("Edit79")->text(),
                .email = editorControl<QLineEdit>("Edit80")->text(),
                .battleNumber = editorControl<QLineEdit>("Edit81")->text(),
                .medal = editorControl<QLineEdit>("Edit82")->text()};
    }

    testing_support::TempDir m_dir;
    testing_support::FakeDialogs m_dialogs;
    editor::TForm1 m_window{{}, m_dialogs};
};

TEST_F(EditorFormTest, TheBsfGenerationGroupStartsEmptyWithItsHints) {
    const auto* group = editorControl<QLineEdit>("Edit79")->parentWidget();
    EXPECT_EQ(qobject_cast<const QGroupBox*>(group)->title(), QStringLiteral(" BSF Generation "));
    EXPECT_EQ(group->size(), QSize(295, 97));
    constexpr auto table = std::to_array<ControlText>({
        {"Edit79", "", "Recipients Vessk ID-Line"},
        {"Edit81", "", "Vessk-Battle Number"},
        {"Edit82", "", "Medalname"},
        {"Edit80", "", "Recipients E-Mail"},
    });
    int previousTop = -1;
    for (const ControlText& row : table) {
        const auto* edit = editorControl<QLineEdit>(row.name);
        EXPECT_EQ(edit->text(), latin1(row.text)) << row.name;
        EXPECT_EQ(edit->toolTip(), latin1(row.hint)) << row.name;
        EXPECT_GT(edit->y(), previousTop) << row.name;  // top to bottom in this order
        previousTop = edit->y();
    }
}

TEST_F(EditorFormTest, HandOverCarriesTextsBattleCraftAndLastMission) {
    typeEditorTexts();
    openForm(4, 3);
    EXPECT_TRUE(form().isVisible());
    EXPECT_EQ(form().texts(), kTexts);
    EXPECT_EQ(formControl<QComboBox>("BattleBox")->currentIndex(), 4);
    EXPECT_EQ(formControl<QComboBox>("CombatBox")->currentIndex(), 3);
    EXPECT_EQ(formControl<QComboBox>("ComboBox3")->currentText(), QStringLiteral("3"));
}

struct LastMission {
    const char* name;
    int battle;
    const char* shown;
};

class EditorLastMission : public EditorFormTest,
                          public ::testing::WithParamInterface<LastMission> {};

TEST_P(EditorLastMission, ShowsInTheFormsLastMissionBox) {
    openForm(GetParam().battle, 0);
    EXPECT_EQ(formControl<QComboBox>("ComboBox3")->currentText(), latin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    HandOver, EditorLastMission,
    ::testing::Values(LastMission{"Three", 4, "3"}, LastMission{"NoneFinished", 2, ""},
                      LastMission{"Eight", 3, "8"}, LastMission{"BeyondEight", 5, ""}),
    [](const ::testing::TestParamInfo<LastMission>& row) { return std::string(row.param.name); });

TEST_F(EditorFormTest, EveryEntryPointOpensTheForm) {
    for (const char* entry : {"BSF1", "BSFToolbarButton", "BSF2"}) {
        form().hide();
        testing_support::control<QAction>(m_window, entry)->trigger();
        EXPECT_TRUE(form().isVisible()) << entry;
    }
}

TEST_F(EditorFormTest, CloseCopiesTheTextsBackToTheEditor) {
    typeEditorTexts();
    openForm(4, 3);
    enterText(formControl<QLineEdit>("Edit1"), QStringLiteral("Lt Korr"));
    enterText(formControl<QLineEdit>("Edit2"), QStringLiteral("korr@example.org"));
    enterText(formControl<QLineEdit>("Edit3"), QStringLiteral("B-18"));
    enterText(formControl<QLineEdit>("Edit4"), QStringLiteral("Medal of Honour"));
    QTest::mouseClick(formControl<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(editorTexts(), (BsfTexts{.idLine = QStringLiteral("Lt Korr"),
                                       .email = QStringLiteral("korr@example.org"),
                                       .battleNumber = QStringLiteral("B-18"),
                                       .medal = QStringLiteral("Medal of Honour")}));
}

TEST_F(EditorFormTest, TheCloseBoxLeavesTheEditorTextsAlone) {
    typeEditorTexts();
    openForm(4, 3);
    enterText(formControl<QLineEdit>("Edit1"), QStringLiteral("Lt Korr"));
    form().close();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(editorTexts(), kTexts);
    // The next hand-over starts again from the editor's texts.
    testing_support::control<QAction>(m_window, "BSF2")->trigger();
    EXPECT_EQ(form().texts(), kTexts);
}

TEST_F(EditorFormTest, SaveReadsTheScoresEditedMeanwhile) {
    typeEditorTexts();
    openForm(4, 3);
    enterText(editorControl<QLineEdit>("Edit2"), QStringLiteral("9100"));  // mission 2 score
    ASSERT_EQ(m_window.record().i32(Field::BattleMissionScore, 4, 1), 9100);
    QTest::mouseClick(formControl<QCheckBox>("CheckBox3"), Qt::LeftButton);
    m_dialogs.answer(QString::fromStdString((m_dir / "FORM.TXT").string()));
    QTest::mouseClick(formControl<QPushButton>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(testing_support::readText(m_dir / "FORM.TXT"),
              kHead +
                  "Mission 1: 5200 \r\n"
                  "Mission 2: 9100 \r\n"
                  "Mission 3: 4100  * Highscore\r\n");
}

}  // namespace
