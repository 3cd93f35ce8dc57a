// Both windows and their dialogs (History, Compare With, Problems, Go to Field) under any
// desktop: drawn with Fusion in the desktop's palette, and every text and value shown whole
// at its place. The editor shows a pilot with problems, so its marks and the notice of
// values changed by opening are laid out too. ctest runs this suite as it is, under
// QT_STYLE_OVERRIDE=Windows with a dark palette, and on a 144-dpi screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include "ConflictDialog.h"
#include "FakeDialogs.h"
#include "MarkPainting.h"
#include "PilotRecord.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TestFiles.h"
#include "TestPalette.h"
#include "UserActions.h"
#include "WindowFixture.h"

namespace {

constexpr std::size_t kCounters = 70;
constexpr int kFirstCounterEdit = 9;
constexpr double kReadableContrast = 4.5;
constexpr double kMarkContrast = 3.0;

const QString kLargestCount = QStringLiteral("65534");
const QString kWidestScore = QStringLiteral("-2147483648");

// Errors and warnings in controls the window shows and behind its selectors, and values
// that opening the file changes.
pilot::PilotRecord pilotWithProblems() {
    pilot::PilotRecord pilot = pilot::PilotRecord::newPilot();
    pilot.setU8(pilot::Field::Rank, 9);
    pilot.setI32(pilot::Field::LaserShots, 10);
    pilot.setI32(pilot::Field::LaserHits, 20);
    pilot.setU8(pilot::Field::BattleStatus, 7, 2);
    pilot.setU8(pilot::Field::CombatCompleted, 2, 0, 0);
    pilot.setU16(pilot::Field::Skill, 65535);
    pilot.setI32(pilot::Field::BattleMissionScore, 1500, 0, 0);
    pilot.setI32(pilot::Field::TotalScore, 99999);
    return pilot;
}

// A label that names a control shows "&&" as "&" and takes a single "&" as a shortcut mark.
QString shownText(const QLabel& label) {
    return label.buddy() != nullptr ? testing_support::withoutMnemonic(label.text()) : label.text();
}

// The text of a line edit is not scrolled when the cursor moves from its start to its end:
// the whole text stands in the edit at once.
bool showsWhole(QLineEdit& edit) {
    edit.setCursorPosition(0);
    const QImage start = edit.grab().toImage();
    edit.setCursorPosition(static_cast<int>(edit.text().size()));
    const QImage end = edit.grab().toImage();
    return start == end;
}

QRect comboTextRect(const QComboBox& box) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = box.isEditable();
    option.frame = box.hasFrame();
    return box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                       &box);
}

class WindowLayout : public ::testing::Test {
protected:
    WindowLayout() {
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString((m_dir / "state").string()));
        m_window.show();
        m_window.BSF1Click();  // shows the form
        // The comparison of a pilot of random bytes with the all-zero record, and the history
        // of that pilot, its version as opened listed and compared with another record shown.
        const auto other = m_dir / "OTHER.TFR";
        testing_support::writeRecord(other, testing_support::patternedRecord(5));
        m_dialogs.answer(testing_support::qpath(other));
        m_window.CompareWith1Click();
        m_window.LoadPilotFile(testing_support::qpath(other));
        m_window.putRecord(testing_support::patternedRecord(6), QStringLiteral("Restore"));
        m_window.History1Click();
        QApplication::processEvents();
        const auto pilot = m_dir / "problems.TFR";
        testing_support::writeRecord(pilot, pilotWithProblems());
        m_window.LoadPilotFile(QString::fromStdString(pilot.string()));
        m_window.ProblemsClick();
        m_window.GoToFieldClick();
        m_conflicts.show();
        QApplication::processEvents();
    }
    ~WindowLayout() override { QDir::setCurrent(m_savedDirectory); }

    [[nodiscard]] std::vector<QWidget*> windows() {
        return {&m_window,
                m_window.bsfForm(),
                testing_support::control(m_window, "CompareDialog"),
                testing_support::control(m_window, "HistoryDialog"),
                testing_support::control(m_window, "ProblemsDialog"),
                testing_support::control(m_window, "GoToFieldDialog"),
                &m_conflicts};
    }

    template <typename Widget>
    [[nodiscard]] std::vector<Widget*> visible() {
        std::vector<Widget*> found;
        for (QWidget* window : windows()) {
            for (Widget* widget : window->findChildren<Widget*>()) {
                if (widget->isVisibleTo(window)) {
                    found.push_back(widget);
                }
            }
        }
        return found;
    }

    QString m_savedDirectory = QDir::currentPath();  // the file dialog moves it
    testing_support::TempDir m_dir;
    testing_support::FakeDialogs m_dialogs;
    editor::TForm1 m_window{QStringList{}, m_dialogs};
    // The widest rows a merge's conflicts have.
    ui::ConflictDialog m_conflicts{
        {{QStringLiteral("Battle 20, mission 8: bonus goal"),
          QStringLiteral("BattleBonusGoals[19] bit 7"), QStringLiteral("not ticked"),
          QStringLiteral("ticked"), QStringLiteral("not ticked")},
         {QStringLiteral("Combat chamber, TIE Interceptor, mission 8: score"),
          QStringLiteral("CombatScore[1][7]"), kWidestScore, kWidestScore, kWidestScore},
         {QStringLiteral("Rank"), QStringLiteral("Rank"), QStringLiteral("Flight Cadet"),
          QStringLiteral("Commander"), QStringLiteral("9 (unknown)")}},
        &m_window};
};

// The registrations set the screen's resolution through the platform; QT_FONT_DPI names it.
TEST_F(WindowLayout, TheScreenHasTheResolutionTheRunAsksFor) {
    const int dpi =
        qEnvironmentVariableIsSet("QT_FONT_DPI") ? qEnvironmentVariableIntValue("QT_FONT_DPI") : 96;
    EXPECT_EQ(m_window.screen()->logicalDotsPerInch(), dpi);
    // A font in points grows with the resolution, while the windows' fonts keep their pixels.
    QLabel probe(QStringLiteral("probe"));
    QFont points = probe.font();
    points.setPointSize(12);
    probe.setFont(points);
    EXPECT_EQ(QFontInfo(probe.font()).pixelSize(), 12 * dpi / 72);
    for (QWidget* window : windows()) {
        EXPECT_EQ(QFontInfo(window->font()).pixelSize(), 11) << window->objectName().toStdString();
    }
}

// The style is Fusion with the windows' own habits laid over it.
QString styleName(const QStyle& style) {
    const auto* proxy = qobject_cast<const QProxyStyle*>(&style);
    return proxy != nullptr ? proxy->baseStyle()->name() : style.name();
}

TEST_F(WindowLayout, BothWindowsDrawWithFusionInTheDesktopsPalette) {
    const QPalette desktop = QApplication::palette();
    for (QWidget* window : windows()) {
        SCOPED_TRACE(window->objectName().toStdString());
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            EXPECT_EQ(styleName(*widget->style()), QStringLiteral("fusion"));
        }
        for (const auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base,
                                QPalette::Text, QPalette::Button, QPalette::ButtonText}) {
            EXPECT_EQ(window->palette().color(role), desktop.color(role));
        }
    }
    if (qgetenv("BREVANTA_TEST_PALETTE") == QByteArrayLiteral("dark")) {
        EXPECT_EQ(desktop.color(QPalette::Base),
                  testing_support::darkPalette().color(QPalette::Base));
    }
}

TEST_F(WindowLayout, EveryEnabledTextStandsOutFromItsBackground) {
    for (QWidget* widget : visible<QWidget>()) {
        if (!widget->isEnabled()) {
            continue;
        }
        SCOPED_TRACE(widget->objectName().toStdString());
        const QPalette& palette = widget->palette();
        EXPECT_GE(testing_support::contrastRatio(palette.color(widget->foregroundRole()),
                                                 palette.color(widget->backgroundRole())),
                  kReadableContrast);
    }
}

// The outline of an unticked box or radio button and the frame of an empty edit stand out
// from the window around them, as the accessibility guidelines ask of a control's bounds
// (3:1), under a light and a dark palette alike. Measured on what is drawn.
TEST_F(WindowLayout, UntickedBoxesRadioButtonsAndEditFramesStandOut) {
    constexpr double kVisibleBounds = 3.0;
    // Controls without a caption and edits without text: nothing else is drawn in them.
    for (const char* name : {"CheckBox1", "CheckBox9", "RadioButton1", "Edit79", "Edit80"}) {
        SCOPED_TRACE(name);
        auto* widget = testing_support::control(*m_window.centralWidget(), name);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            ASSERT_FALSE(button->isChecked());
        }
        const QImage drawn = widget->grab().toImage();
        const QColor window = widget->palette().color(QPalette::Window);
        double strongest = 1.0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                strongest = std::max(
                    strongest, testing_support::contrastRatio(drawn.pixelColor(x, y), window));
            }
        }
        EXPECT_GE(strongest, kVisibleBounds);
    }
}

// The notice of a file changed on disk takes the palette's colours: its text reads on its
// background under a dark palette too. With unsaved edits its longest captions and its
// text, wrapped, are shown whole.
TEST_F(WindowLayout, TheDiskChangeNoticeTakesThePalettesColours) {
    m_window.MarkChanged();
    testing_support::writeRecord(m_dir / "problems.TFR", testing_support::patternedRecord(9));
    auto* notice = testing_support::control(m_window, "DiskChangeBar");
    ASSERT_TRUE(QTest::qWaitFor([notice] { return !notice->isHidden(); }));
    auto* text = testing_support::control<QLabel>(m_window, "DiskChangeText");
    EXPECT_LE(text->heightForWidth(text->width()), text->height());
    for (auto* button : notice->findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_LE(button->sizeHint().width(), button->width());
    }
    EXPECT_EQ(testing_support::control<QPushButton>(m_window, "ReloadButton")->text(),
              QStringLiteral("Drop My Changes and &Reload"));
    const QImage drawn = notice->grab().toImage();
    const QColor background = drawn.pixelColor(3, drawn.height() / 2);
    EXPECT_GE(
        testing_support::contrastRatio(background, text->palette().color(text->foregroundRole())),
        kReadableContrast);
    notice->hide();
}

TEST_F(WindowLayout, EveryLabelShowsItsWholeText) {
    for (QLabel* label : visible<QLabel>()) {
        const QString text = shownText(*label);
        SCOPED_TRACE(text.toStdString());
        const QFontMetrics metrics = label->fontMetrics();
        const QRect room = label->contentsRect();
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
            continue;
        }
        EXPECT_LE(metrics.horizontalAdvance(text), room.width());
        EXPECT_LE(metrics.height(), room.height());
    }
}

// The pilot shows errors and warnings, in its fields and behind its selectors, and the
// notice of what opening it changed.
TEST_F(WindowLayout, TheProblemsAreMarkedNoticedAndListed) {
    std::map<QString, pilot::Severity> marked;
    for (const auto* overlay : m_window.findChildren<editor::MarkOverlay*>()) {
        for (const auto& [control, severity] : overlay->marks()) {
            marked.emplace(control->objectName(), severity);
        }
    }
    const std::map<QString, pilot::Severity> expected = {
        {QStringLiteral("RankBox"), pilot::Severity::Error},
        {QStringLiteral("LaserShotsEdit"), pilot::Severity::Warning},
        {QStringLiteral("LaserHitsEdit"), pilot::Severity::Warning},
        {QStringLiteral("Edit83"), pilot::Severity::Warning},
        {QStringLiteral("TotalScoreEdit1"), pilot::Severity::Warning},
        {QStringLiteral("BattleNRBox1"), pilot::Severity::Error},
        {QStringLiteral("CheckBox18"), pilot::Severity::Error},
    };
    EXPECT_EQ(marked, expected);
    EXPECT_TRUE(m_window.findChild<QWidget*>(QStringLiteral("OpeningNotice"))->isVisible());
    EXPECT_TRUE(m_window.findChild<QWidget*>(QStringLiteral("ProblemsList"))->isVisible());
    EXPECT_TRUE(m_window.findChild<QWidget*>(QStringLiteral("GoToFieldList"))->isVisible());
}

// The marks and the severities' pictures stand out from the window and from the fields.
TEST_F(WindowLayout, MarksStandOutInTheDesktopsPalette) {
    const QPalette palette = QApplication::palette();
    for (const auto severity : {pilot::Severity::Error, pilot::Severity::Warning}) {
        const QColor mark = editor::markColour(palette, severity);
        SCOPED_TRACE(mark.name().toStdString());
        EXPECT_GE(testing_support::contrastRatio(mark, palette.color(QPalette::Window)),
                  kMarkContrast);
        EXPECT_GE(testing_support::contrastRatio(mark, palette.color(QPalette::Base)),
                  kMarkContrast);
        EXPECT_FALSE(editor::severityIcon(palette, severity).isNull());
    }
    EXPECT_NE(editor::markColour(palette, pilot::Severity::Error),
              editor::markColour(palette, pilot::Severity::Warning));
}

// Each mark is drawn over its control's edge in its colour, on every side.
TEST_F(WindowLayout, MarksAreDrawnRoundTheirControls) {
    for (const auto* overlay : m_window.findChildren<editor::MarkOverlay*>()) {
        for (const auto& [control, severity] : overlay->marks()) {
            SCOPED_TRACE(control->objectName().toStdString());
            const QRgb mark = editor::markColour(control->palette(), severity).rgb();
            const QImage image = control->parentWidget()->grab(control->geometry()).toImage();
            const auto marked = [&image, mark](int x, int y) { return image.pixel(x, y) == mark; };
            const int middleX = image.width() / 2;
            const int middleY = image.height() / 2;
            // Dashes leave gaps: look along a few pixels of each side.
            const auto side = [&](auto at) {
                for (int step = -3; step <= 3; ++step) {
                    if (at(step)) {
                        return true;
                    }
                }
                return false;
            };
            EXPECT_TRUE(side([&](int d) { return marked(0, middleY + d); }));
            EXPECT_TRUE(side([&](int d) { return marked(image.width() - 1, middleY + d); }));
            EXPECT_TRUE(side([&](int d) { return marked(middleX + d, 0); }));
            EXPECT_TRUE(side([&](int d) { return marked(middleX + d, image.height() - 1); }));
        }
    }
}

TEST_F(WindowLayout, EveryButtonAndGroupShowsItsWholeCaption) {
    for (QAbstractButton* button : visible<QAbstractButton>()) {
        if (button->inherits("QToolButton")) {
            continue;  // toolbar buttons show pictures only and size themselves
        }
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_LE(button->sizeHint().width(), button->width());
        EXPECT_LE(button->sizeHint().height(), button->height());
    }
    for (QGroupBox* group : visible<QGroupBox>()) {
        SCOPED_TRACE(group->title().toStdString());
        EXPECT_LE(group->minimumSizeHint().width(), group->width());
    }
}

TEST_F(WindowLayout, EverySelectorShowsEachEntryWhole) {
    for (QComboBox* box : visible<QComboBox>()) {
        SCOPED_TRACE(box->objectName().toStdString());
        const int room = comboTextRect(*box).width();
        const QFontMetrics metrics = box->fontMetrics();
        EXPECT_LE(metrics.horizontalAdvance(box->placeholderText()), room);
        for (int i = 0; i < box->count(); ++i) {
            EXPECT_LE(metrics.horizontalAdvance(box->itemText(i)), room)
                << box->itemText(i).toStdString();
        }
    }
}

TEST_F(WindowLayout, EveryKillCounterShowsItsLargestValueWhole) {
    for (std::size_t i = 0; i < kCounters; ++i) {
        const QString name = QStringLiteral("Edit%1").arg(kFirstCounterEdit + i);
        auto* edit = m_window.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name.toStdString();
        EXPECT_EQ(edit->size(), QSize(28, 20));
        edit->setText(kLargestCount);
        ASSERT_EQ(edit->text(), kLargestCount);
        EXPECT_TRUE(showsWhole(*edit)) << name.toStdString();
    }
}

// Scores are signed 32-bit values, the other counts 16-bit, the training level 8-bit.
TEST_F(WindowLayout, EveryOtherNumberFieldShowsItsWidestValueWhole) {
    std::vector<std::pair<QString, QString>> fields = {
        {QStringLiteral("TotalScoreEdit1"), kWidestScore},
        {QStringLiteral("KillsEdit"), kLargestCount},
        {QStringLiteral("CapturesEdit"), kLargestCount},
        {QStringLiteral("LaserShotsEdit"), kWidestScore},
        {QStringLiteral("LaserHitsEdit"), kWidestScore},
        {QStringLiteral("WarheadShotsEdit"), kLargestCount},
        {QStringLiteral("WarheadHitsEdit"), kLargestCount},
        {QStringLiteral("CraftLostEdit"), kLargestCount},
        {QStringLiteral("Edit83"), kLargestCount},
        {QStringLiteral("ScoreEdit1"), kWidestScore},
        {QStringLiteral("LevelEdit2"), QStringLiteral("254")},
        {QStringLiteral("CombatMisScore"), kWidestScore},
    };
    for (QLineEdit* edit : m_window.findChildren<QLineEdit*>()) {
        if (edit->toolTip() == QStringLiteral("Score of this mission")) {
            fields.emplace_back(edit->objectName(), kWidestScore);
        }
    }
    ASSERT_EQ(fields.size(), 12U + 8U);
    m_window.RefreshAllFields();  // shows the combat chamber's score
    for (const auto& [name, widest] : fields) {
        SCOPED_TRACE(name.toStdString());
        auto* edit = m_window.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr);
        edit->setText(widest);
        ASSERT_EQ(edit->text(), widest);
        EXPECT_TRUE(showsWhole(*edit));
    }
}

}  // namespace
