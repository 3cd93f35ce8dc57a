#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>

#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSysInfo>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "AboutBox.h"
#include "FakeDialogs.h"
#include "FieldTable.h"
#include "PilotReport.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TestFiles.h"
#include "Totals.h"

namespace {

namespace fs = std::filesystem;
using pilot::PilotRecord;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;
using testing_support::writeRecord;

QString qpath(const fs::path& path) {
    return QString::fromStdString(path.string());
}
QString latin(const char* text) {
    return QString::fromLatin1(text);
}

std::vector<std::uint8_t> bytesOf(const PilotRecord& record) {
    return {record.bytes().begin(), record.bytes().end()};
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Random reserved bytes and spare craft slots, but shown fields with values the refresh
// shows and stores back unchanged (totals that match their parts, no sentinels).
PilotRecord showableRecord(std::uint32_t seed) {
    PilotRecord record = testing_support::patternedRecord(seed);
    std::mt19937 random(seed);
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved) {
            continue;
        }
        const std::size_t rows = info.rows == pilot::kCraftSlots ? pilot::kShownCrafts : info.rows;
        std::uint32_t limit = 1000;
        if (!info.enumeration.empty()) {
            limit = static_cast<std::uint32_t>(info.enumeration.size());
        } else if (info.id == pilot::Field::CombatCompleted) {
            limit = 2;
        } else if (info.id == pilot::Field::BattleLastMission) {
            limit = 9;
        } else if (info.id == pilot::Field::TrainingLevel) {
            limit = 10;
        }
        for (std::size_t row = 0; row < rows; ++row) {
            for (std::size_t column = 0; column < info.columns; ++column) {
                const auto value = static_cast<std::int32_t>(random() % limit);
                const bool signedField = info.type == pilot::FieldType::I32;
                record.setRaw(info.id,
                              static_cast<std::uint32_t>(signedField ? value - 500 : value), row,
                              column);
            }
        }
    }
    record.setI32(pilot::Field::TotalScore, pilot::missionScoreTotal(record));
    record.setU16(pilot::Field::Kills, pilot::shipKillsTotal(record));
    return record;
}

class WindowShell : public ::testing::Test {
protected:
    WindowShell() { recreate({}); }
    ~WindowShell() override { QDir::setCurrent(m_savedDirectory); }

    void recreate(const QStringList& arguments) {
        window.reset();
        window = std::make_unique<editor::TForm1>(arguments, dialogs);
    }
    void activate() {
        window->show();
        QApplication::processEvents();
    }
    void trigger(const char* name) {
        auto* action = window->findChild<QAction*>(latin(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    void open(const fs::path& path) {
        dialogs.answer(qpath(path));
        trigger("LoadToolbarButton");
    }
    void saveAs(const fs::path& path, int type) {
        dialogs.answer(qpath(path), type);
        trigger("SaveAs1");
    }
    [[nodiscard]] QString title() const { return window->windowTitle(); }
    [[nodiscard]] QString changedPanel() const {
        return window->findChild<QLabel*>(QStringLiteral("ChangedPanel"))->text();
    }
    [[nodiscard]] static QString titleFor(const fs::path& path) {
        return QStringLiteral("Brevanta  [ ") + qpath(path) + QStringLiteral(" ]");
    }

    TempDir dir;
    testing_support::FakeDialogs dialogs;
    std::unique_ptr<editor::TForm1> window;

private:
    QString m_savedDirectory = QDir::currentPath();
};

TEST_F(WindowShell, OpenThenSaveKeepsEveryByteAndClearsTheMark) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const PilotRecord pilot = showableRecord(seed);
        const fs::path path = dir / ("pilot" + std::to_string(seed) + ".TFR");
        writeRecord(path, pilot);
        window->MarkChanged();
        open(path);
        EXPECT_EQ(window->record(), pilot);
        EXPECT_EQ(title(), titleFor(path));
        EXPECT_EQ(changedPanel(), QString());
        window->MarkChanged();
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
        trigger("SaveToolbarButton");
        EXPECT_EQ(readBytes(path), bytesOf(pilot));
        EXPECT_EQ(changedPanel(), QString());
        EXPECT_EQ(title(), titleFor(path));
    }
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WindowShell, FailedLoadChangesNothingAndSaveKeepsTheShownFile) {
    const PilotRecord pilot = showableRecord(7);
    const fs::path good = dir / "good.TFR";
    writeRecord(good, pilot);
    writeBytes(dir / "short.TFR", std::string(1927, 'x'));
    writeBytes(dir / "empty.TFR", std::string());
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"short.TFR", "Lesen nach Dateiende (EOF)"},
        {"empty.TFR", "Lesen nach Dateiende (EOF)"},
        {"missing.TFR", "Datei nicht gefunden."},
        {"no-folder/pilot.TFR", "Ung\u00fcltiger Dateiname."},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(failing.name);
        open(good);
        window->MarkChanged();
        dialogs.errors.clear();
        open(dir / failing.name);
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], QString::fromUtf8(failing.message));
        EXPECT_EQ(window->record(), pilot);
        EXPECT_EQ(window->CurrentFileName(), qpath(good));
        EXPECT_EQ(title(), titleFor(good));
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
        trigger("SaveTFR1");
        EXPECT_EQ(readBytes(good), bytesOf(pilot));
    }
    EXPECT_EQ(readBytes(dir / "short.TFR").size(), 1927u);
    EXPECT_EQ(readBytes(dir / "empty.TFR").size(), 0u);
    EXPECT_FALSE(fs::exists(dir / "missing.TFR"));
}

TEST_F(WindowShell, SaveWithoutANameAsksForOne) {
    trigger("SaveTFR1");  // cancelled
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].options.title, QStringLiteral("Save Pilotfile"));
    EXPECT_TRUE(namesIn(dir.path()).empty());
    EXPECT_EQ(title(), QStringLiteral("Brevanta"));

    dialogs.answer(qpath(dir / "first"));
    trigger("SaveFile1");
    EXPECT_EQ(readBytes(dir / "first.TFR"), bytesOf(PilotRecord()));
    EXPECT_EQ(title(), titleFor(dir / "first.TFR"));
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WindowShell, NewPilotThenSaveWritesNonameInTheChosenFolder) {
    fs::create_directory(dir / "sub");
    writeRecord(dir / "sub" / "old.TFR", showableRecord(4));
    open(dir / "sub" / "old.TFR");
    EXPECT_EQ(fs::path(QDir::currentPath().toStdString()), dir / "sub");
    window->MarkChanged();

    trigger("ToolbarButton974");
    EXPECT_EQ(title(), QStringLiteral("Brevanta  [ Noname.TFR ]"));
    EXPECT_EQ(changedPanel(), QString());
    EXPECT_EQ(window->record(), PilotRecord::newPilot());

    window->MarkChanged();
    trigger("SaveToolbarButton");
    std::vector<std::uint8_t> expected(pilot::kRecordSize, 0);
    expected[3] = 1;
    std::fill(expected.begin() + 90, expected.begin() + 102, 2);
    EXPECT_EQ(readBytes(dir / "sub" / "Noname.TFR"), expected);
    EXPECT_EQ(changedPanel(), QString());
    EXPECT_EQ(title(), QStringLiteral("Brevanta  [ Noname.TFR ]"));
}

struct NamingCase {
    const char* chosen;
    int type;             // 0 "TFR File", 1 "Text File"
    const char* written;  // the file created
    const char* after;    // CurrentFileName afterwards
};

void PrintTo(const NamingCase& naming, std::ostream* out) {
    *out << naming.chosen << " as type " << naming.type + 1;
}

class SaveAsNaming : public WindowShell, public ::testing::WithParamInterface<NamingCase> {};

TEST_P(SaveAsNaming, WritesUnderTheRuleAndNamesThePilotFile) {
    const NamingCase& naming = GetParam();
    const fs::path source = dir / "source";
    fs::create_directory(source);
    writeRecord(source / "in.TFR", showableRecord(11));
    open(source / "in.TFR");
    window->MarkChanged();

    saveAs(dir / naming.chosen, naming.type);
    const fs::path written = dir / naming.written;
    const bool report = naming.type == 1;
    if (report) {
        EXPECT_EQ(testing_support::readText(written),
                  reports::pilotReport(window->record(), written.string()));
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
    } else {
        EXPECT_EQ(readBytes(written), bytesOf(window->record()));
        EXPECT_EQ(changedPanel(), QString());
    }
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"source", naming.written}));
    EXPECT_EQ(window->CurrentFileName(), qpath(dir / naming.after));
    EXPECT_EQ(title(), titleFor(dir / naming.after));
    EXPECT_TRUE(dialogs.errors.empty());

    // A later Save writes the record under the name shown, beside a report.
    trigger("SaveTFR1");
    EXPECT_EQ(readBytes(dir / naming.after), bytesOf(window->record()));
    if (report && std::string(naming.written) != naming.after) {
        EXPECT_EQ(testing_support::readText(written),
                  reports::pilotReport(window->record(), written.string()));
    }
}

INSTANTIATE_TEST_SUITE_P(Types, SaveAsNaming,
                         ::testing::Values(NamingCase{"ace", 0, "ace.TFR", "ace.TFR"},
                                           NamingCase{"ace.tfr", 0, "ace.tfr", "ace.tfr"},
                                           NamingCase{"x.txt", 0, "x.txt", "x.txt"},
                                           NamingCase{"ab", 0, "ab.TFR", "ab.TFR"},
                                           NamingCase{"ACE", 1, "ACE.TXT", "ACE.TFR"},
                                           NamingCase{"ace.txt", 1, "ace.txt", "ace.TFR"},
                                           NamingCase{"ace.doc", 1, "ace.doc", "ace.TFR"},
                                           NamingCase{"report.text", 1, "report.text.TXT",
                                                      "report.text.TFR"},
                                           NamingCase{"ab", 1, "ab.TXT", "ab.TFR"},
                                           NamingCase{"pilot.tfr", 1, "pilot.tfr", "pilot.TFR"}));

// Every way of writing a file that fails leaves the old file, the name, the title and the
// mark as they were.
TEST_F(WindowShell, FailedWritesKeepTheOldFileAndTheOldName) {
    constexpr int kPlainSave = -1;
    const PilotRecord pilot = showableRecord(5);
    const std::vector<std::uint8_t> otherBytes = bytesOf(showableRecord(6));
    const std::string oldPilot(otherBytes.begin(), otherBytes.end());
    const std::string oldReport = "old report\r\n";
    writeRecord(dir / "current.TFR", pilot);
    writeBytes(dir / "locked.TFR", oldPilot);
    writeBytes(dir / "locked.TXT", oldReport);
    fs::permissions(dir / "locked.TFR", fs::perms::owner_read);
    fs::permissions(dir / "locked.TXT", fs::perms::owner_read);
    testing_support::ReadOnlyMount mount(dir / "ro");
    const bool mounted =
        mount.mounted() && mount.populate({{"ro.TFR", oldPilot}, {"ro.TXT", oldReport}});

    const struct {
        const char* target;
        int type;
        bool needsMount;
    } cases[] = {
        {"locked.TFR", kPlainSave, false}, {"locked.TFR", 0, false}, {"locked.TXT", 1, false},
        {"ro/ro.TFR", kPlainSave, true},   {"ro/ro.TFR", 0, true},   {"ro/ro.TXT", 1, true},
    };
    for (const auto& failing : cases) {
        SCOPED_TRACE(std::string(failing.target) + " type " + std::to_string(failing.type));
        if (failing.needsMount && !mounted) {
            continue;
        }
        const fs::path target = dir / failing.target;
        // A write-protected pilot file still opens: a load only reads.
        const fs::path current = failing.type == kPlainSave ? target : dir / "current.TFR";
        const std::string old = testing_support::readText(target);
        open(current);
        window->MarkChanged();
        dialogs.errors.clear();
        if (failing.type == kPlainSave) {
            trigger("SaveTFR1");
        } else {
            saveAs(target, failing.type);
        }
        ASSERT_EQ(dialogs.errors.size(), 1u);
        EXPECT_EQ(dialogs.errors[0], QStringLiteral("Dateizugriff verweigert."));
        EXPECT_EQ(testing_support::readText(target), old);
        EXPECT_EQ(window->CurrentFileName(), qpath(current));
        EXPECT_EQ(title(), titleFor(current));
        EXPECT_EQ(changedPanel(), QStringLiteral("CHANGED"));
    }
    if (!mounted) {
        GTEST_SKIP() << "no read-only tmpfs here; the write-protected file cases ran";
    }
}

TEST_F(WindowShell, DialogsCarryTheirSettingsAndRememberNameAndType) {
    writeRecord(dir / "a.TFR", showableRecord(8));
    open(dir / "a.TFR");
    trigger("File2");  // cancelled: remembers nothing new
    open(dir / "a.TFR");
    saveAs(dir / "b.TXT", 1);
    trigger("SaveAs2");  // cancelled
    saveAs(dir / "c.TFR", 0);
    ASSERT_EQ(dialogs.requests.size(), 6u);

    const auto& first = dialogs.requests[0].options;
    EXPECT_EQ(first.mode, ui::FileDialogOptions::Mode::Open);
    EXPECT_EQ(first.title, QStringLiteral("Load Pilotfile"));
    EXPECT_EQ(first.filters, QStringList{QStringLiteral("TFR Files (*.TFR)")});
    EXPECT_EQ(first.defaultSuffix, QStringLiteral("TFR"));
    EXPECT_FALSE(first.confirmOverwrite);
    EXPECT_FALSE(first.confirmCreate);
    const auto& save = dialogs.requests[3].options;
    EXPECT_EQ(save.mode, ui::FileDialogOptions::Mode::Save);
    EXPECT_EQ(save.title, QStringLiteral("Save Pilotfile"));
    EXPECT_EQ(save.filters, (QStringList{QStringLiteral("TFR File (*.TFR)"),
                                         QStringLiteral("Text File (*.TXT)")}));
    EXPECT_EQ(save.defaultSuffix, QStringLiteral("TFR"));
    EXPECT_TRUE(save.confirmOverwrite);

    const struct {
        QString name;
        int filter;
    } opened[] = {
        {QString(), 0}, {qpath(dir / "a.TFR"), 0}, {qpath(dir / "a.TFR"), 0},
        {QString(), 0}, {qpath(dir / "b.TXT"), 1}, {qpath(dir / "b.TXT"), 1},
    };
    for (std::size_t i = 0; i < std::size(opened); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialogs.requests[i].initialName, opened[i].name);
        EXPECT_EQ(dialogs.requests[i].initialFilter, opened[i].filter);
    }
}

TEST_F(WindowShell, ActivationLoadsExactlyOneArgumentOnce) {
    const PilotRecord pilot = showableRecord(9);
    writeRecord(dir / "arg.TFR", pilot);
    QDir::setCurrent(qpath(dir.path()));
    const struct {
        QStringList arguments;
        bool loads;
        std::size_t errors;
    } cases[] = {
        {{}, false, 0},
        {{QStringLiteral("arg.TFR")}, true, 0},  // relative to the current directory
        {{QStringLiteral("arg.TFR"), QStringLiteral("arg.TFR")}, false, 0},
        {{QStringLiteral("missing.TFR")}, false, 1},
    };
    for (const auto& start : cases) {
        SCOPED_TRACE(start.arguments.join(u' ').toStdString());
        dialogs.errors.clear();
        recreate(start.arguments);
        auto* firstCounter = window->findChild<QLineEdit*>(QStringLiteral("Edit9"));
        ASSERT_NE(firstCounter, nullptr);
        EXPECT_EQ(firstCounter->text(), QString());
        activate();
        EXPECT_EQ(dialogs.errors.size(), start.errors);
        EXPECT_EQ(window->record(), start.loads ? pilot : PilotRecord());
        EXPECT_EQ(title(), start.loads ? QStringLiteral("Brevanta  [ arg.TFR ]")
                                       : QStringLiteral("Brevanta"));
        // A failed load leaves the placeholders; otherwise the fields were filled.
        EXPECT_EQ(firstCounter->text().isEmpty(), start.errors == 1);
        EXPECT_EQ(window->findChild<QComboBox*>(QStringLiteral("RankBox"))->currentIndex(),
                  start.errors == 1 ? -1 : window->record().u8(pilot::Field::Rank));
        // Filling the empty fields from the zero record marks a change; a load clears the
        // mark afterwards, and a failed load touches nothing.
        EXPECT_EQ(changedPanel(),
                  start.loads || start.errors == 1 ? QString() : QStringLiteral("CHANGED"));

        // Coming back from the About box, or showing the window again, reloads nothing.
        writeRecord(dir / "arg.TFR", showableRecord(10));
        trigger("About1");
        window->hide();
        activate();
        window->Button1Click();
        EXPECT_EQ(dialogs.aboutShown, 1);
        EXPECT_EQ(dialogs.errors.size(), start.errors);
        EXPECT_EQ(window->record(), start.loads ? pilot : PilotRecord());
        writeRecord(dir / "arg.TFR", pilot);
        dialogs.aboutShown = 0;
    }
}

// Every entry of the three surfaces and the command it runs, told apart by what the
// command asks for or shows.
TEST_F(WindowShell, MenuToolbarAndPopupEntriesRunTheirCommands) {
    enum class Effect { OpenDialog, SaveDialog, Form, About, Close };
    const struct {
        const char* entry;
        Effect effect;
    } entries[] = {
        {"OpenTFR1", Effect::OpenDialog},
        {"LoadToolbarButton", Effect::OpenDialog},
        {"File2", Effect::OpenDialog},
        {"SaveTFR1", Effect::SaveDialog},
        {"SaveToolbarButton", Effect::SaveDialog},
        {"SaveFile1", Effect::SaveDialog},
        {"SaveAs1", Effect::SaveDialog},
        {"SaveAs2", Effect::SaveDialog},
        {"BSF1", Effect::Form},
        {"BSFToolbarButton", Effect::Form},
        {"BSF2", Effect::Form},
        {"FORM", Effect::About},
        {"About1", Effect::About},
        {"Close1", Effect::Close},
        {"Close2", Effect::Close},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.entry);
        recreate({});
        activate();
        dialogs.requests.clear();
        dialogs.aboutShown = 0;
        if (entry.effect == Effect::Close) {
            trigger("BSF1");  // the form closes with the window
        }
        trigger(entry.entry);
        const QString asked =
            dialogs.requests.empty() ? QString() : dialogs.requests.back().options.title;
        EXPECT_EQ(asked == QStringLiteral("Load Pilotfile"), entry.effect == Effect::OpenDialog);
        EXPECT_EQ(asked == QStringLiteral("Save Pilotfile"), entry.effect == Effect::SaveDialog);
        EXPECT_EQ(window->bsfForm()->isVisible(), entry.effect == Effect::Form);
        EXPECT_EQ(dialogs.aboutShown, entry.effect == Effect::About ? 1 : 0);
        EXPECT_EQ(window->isVisible(), entry.effect != Effect::Close);
    }
}

QStringList entryTexts(const QWidget* surface) {
    QStringList texts;
    for (const QAction* action : surface->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

TEST_F(WindowShell, SurfacesListTheirEntriesInOrder) {
    const struct {
        const char* surface;
        const char* entries;
    } surfaces[] = {
        {"MainMenu1", "&File|Form Generation|&About"},
        {"File1", "Open TFR|Save TFR|Save As ...|-|Close"},
        {"FormGeneration1", "Battle Submission Form"},
        {"ToolBar1", "New Pilot|-|Load a TFR|Save TFR|BSF Generation|-"},
        {"PopupMenu1", "Open File|Save File|Save As...|-|BSF|-|About|Close"},
    };
    for (const auto& surface : surfaces) {
        SCOPED_TRACE(surface.surface);
        const auto* widget = window->findChild<QWidget*>(latin(surface.surface));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(entryTexts(widget).join(u'|'), latin(surface.entries));
    }
    auto* about = window->findChild<QAction*>(QStringLiteral("FORM"));
    EXPECT_EQ(about->menu(), nullptr);

    auto* toolBar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    EXPECT_EQ(toolBar->windowTitle(), QStringLiteral("Main Menu"));
    EXPECT_TRUE(toolBar->isMovable());
    EXPECT_TRUE(toolBar->isFloatable());
    for (const char* name :
         {"ToolbarButton974", "LoadToolbarButton", "SaveToolbarButton", "BSFToolbarButton"}) {
        SCOPED_TRACE(name);
        auto* button = window->findChild<QWidget*>(latin(name), Qt::FindChildrenRecursively);
        auto* action = window->findChild<QAction*>(latin(name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->toolTip(), action->text());
        EXPECT_FALSE(action->icon().pixmap(16, 16).isNull());
        EXPECT_EQ(toolBar->widgetForAction(action)->objectName(), latin(name));
        EXPECT_NE(button, nullptr);
    }
}

QGroupBox* groupTitled(const QWidget& window, const char* title) {
    for (auto* group : window.findChildren<QGroupBox*>()) {
        if (group->title() == latin(title)) {
            return group;
        }
    }
    return nullptr;
}

bool popupOpensOn(const editor::TForm1& window, QWidget* widget) {
    auto* popup = window.findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2),
                                 widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &rightClick);
    const bool shown = popup->isVisible();
    popup->hide();
    return shown;
}

// The status bar, the groups and the fields of all groups but the kill counters open the
// window's popup; the kill counters keep the standard menu of an edit.
TEST_F(WindowShell, RightClicksOpenThePopupWhereOffered) {
    activate();
    EXPECT_TRUE(popupOpensOn(*window, window->findChild<QWidget*>(QStringLiteral("StatusBar1"))));
    EXPECT_TRUE(popupOpensOn(*window, window->findChild<QLabel*>(QStringLiteral("ChangedPanel"))));
    const struct {
        const char* title;
        bool fieldsOfferPopup;
    } groups[] = {
        {" General Pilot Stats ", true}, {" Training Missions (Maze)", true},
        {" Combat Chamber ", true},      {" Battle Stats ", true},
        {" BSF Generation ", true},      {" Ship Kills ", false},
    };
    for (const auto& group : groups) {
        SCOPED_TRACE(group.title);
        QGroupBox* box = groupTitled(*window, group.title);
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(popupOpensOn(*window, box));
        auto fields = box->findChildren<QLineEdit*>();
        ASSERT_FALSE(fields.empty());
        for (QWidget* field : fields) {
            if (group.fieldsOfferPopup) {
                EXPECT_TRUE(popupOpensOn(*window, field)) << field->objectName().toStdString();
            } else {
                EXPECT_EQ(field->contextMenuPolicy(), Qt::DefaultContextMenu);
            }
        }
        for (QComboBox* selector : box->findChildren<QComboBox*>()) {
            EXPECT_TRUE(popupOpensOn(*window, selector)) << selector->objectName().toStdString();
        }
    }
}

TEST_F(WindowShell, GroupsStandAtTheirClientPositionsBelowTheDock) {
    activate();
    const int menuHeight = window->menuBar()->height();
    EXPECT_EQ(window->size(), QSize(632, menuHeight + 438));
    const QPoint offCentre =
        window->frameGeometry().center() - window->screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 1);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(window->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(window->font().pixelSize(), 11);
    const auto clientRect = [&](const QWidget* widget) {
        return QRect(widget->mapTo(window.get(), QPoint(0, 0)) - QPoint(0, menuHeight),
                     widget->size());
    };
    auto* toolBar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    EXPECT_EQ(clientRect(toolBar), QRect(0, 0, 632, 24).intersected(clientRect(toolBar)));
    EXPECT_EQ(toolBar->height(), 24);

    const struct {
        const char* title;
        QRect client;
    } groups[] = {
        {" General Pilot Stats ", {0, 26, 120, 399}},
        {" Training Missions (Maze)", {120, 26, 149, 107}},
        {" Combat Chamber ", {270, 26, 145, 107}},
        {" Battle Stats ", {120, 134, 295, 193}},
        {" BSF Generation ", {120, 328, 295, 97}},
        {" Ship Kills ", {416, 26, 216, 399}},
    };
    // Also while the toolbar is away from its dock.
    for (const bool docked : {true, false}) {
        SCOPED_TRACE(docked);
        toolBar->setVisible(docked);
        QApplication::processEvents();
        for (const auto& group : groups) {
            SCOPED_TRACE(group.title);
            QGroupBox* box = groupTitled(*window, group.title);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(clientRect(box), group.client);
            EXPECT_EQ(box->font().pixelSize(), 9);
        }
    }
    const struct {
        const char* name;
        QRect client;
    } panels[] = {
        {"StatusPanel1", {0, 426, 270, 12}},
        {"ChangedPanel", {272, 426, 100, 12}},
        {"StatusPanel3", {374, 426, 350, 12}},
    };
    for (const auto& panel : panels) {
        SCOPED_TRACE(panel.name);
        auto* label = window->findChild<QLabel*>(latin(panel.name));
        EXPECT_EQ(clientRect(label), panel.client);
        EXPECT_EQ(label->font().pixelSize(), 9);
    }
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("ChangedPanel"))->alignment(),
              Qt::AlignCenter);
}

TEST_F(WindowShell, KeyboardFocusVisitsTheGroupsInOrder) {
    const char* order[] = {" General Pilot Stats ", " Training Missions (Maze)",
                           " Combat Chamber ",      " Battle Stats ",
                           " Ship Kills ",          " BSF Generation "};
    std::vector<QGroupBox*> groups;
    for (const char* title : order) {
        groups.push_back(groupTitled(*window, title));
        ASSERT_NE(groups.back(), nullptr) << title;
    }
    std::vector<std::size_t> visited;
    QWidget* widget = window.get();
    do {
        widget = widget->nextInFocusChain();
        if ((widget->focusPolicy() & Qt::TabFocus) == 0 || widget->focusProxy() != nullptr) {
            continue;
        }
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (groups[i]->isAncestorOf(widget) && (visited.empty() || visited.back() != i)) {
                visited.push_back(i);
            }
        }
    } while (widget != window.get());
    EXPECT_EQ(visited, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
}

// Plays the user in front of the real modal dialogs: each step acts on the modal window
// that is open when its turn comes.
class DialogUser : public QObject {
public:
    using Step = std::function<void(QWidget* modal)>;
    explicit DialogUser(std::vector<Step> steps) : m_steps(std::move(steps)) {
        connect(&m_timer, &QTimer::timeout, this, &DialogUser::act);
        m_timer.start(5);
    }
    [[nodiscard]] bool done() const { return m_next == m_steps.size(); }

private:
    void act() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_lastModal || done()) {
            return;
        }
        m_lastModal = modal;
        m_steps[m_next++](modal);
    }
    QTimer m_timer;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QWidget* m_lastModal = nullptr;
};

DialogUser::Step typeName(QString name, int type = -1) {
    return [name, type](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        if (type >= 0) {
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            types->setCurrentIndex(type);
            // What the combo box emits on the user's choice.
            Q_EMIT types->activated(type);
            Q_EMIT types->textActivated(types->itemText(type));
        }
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
        QMetaObject::invokeMethod(dialog, &QDialog::accept, Qt::QueuedConnection);
    };
}

DialogUser::Step answer(QMessageBox::StandardButton button) {
    return [button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        box->button(button)->click();
    };
}

DialogUser::Step cancel() {
    return [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); };
}

std::optional<ui::FileChoice> runDialog(const ui::FileDialogOptions& options,
                                        const QString& initialName, int initialFilter,
                                        std::vector<DialogUser::Step> steps) {
    DialogUser user(std::move(steps));
    ui::QtDialogService service;
    auto choice = service.chooseFile(nullptr, options, initialName, initialFilter);
    EXPECT_TRUE(user.done());
    return choice;
}

// The real dialog: the extension added to a bare name follows the chosen type, a name that
// exists needs a confirmed overwrite, a name that does not exist a confirmed creation.
TEST(QtFileDialog, AddsTheChosenTypesExtensionAndAsksWhereConfigured) {
    TempDir dir;
    writeBytes(dir / "old.TFR", std::string("x"));
    const QString folder = qpath(dir.path()) + u'/';
    const ui::FileDialogOptions save{
        .mode = ui::FileDialogOptions::Mode::Save,
        .title = QStringLiteral("Save Pilotfile"),
        .filters = {QStringLiteral("TFR File (*.TFR)"), QStringLiteral("Text File (*.TXT)")},
        .defaultSuffix = QStringLiteral("TFR"),
        .confirmOverwrite = true};
    ui::FileDialogOptions create = save;
    create.confirmCreate = true;
    create.confirmOverwrite = false;
    using Button = QMessageBox::StandardButton;
    const struct {
        const char* what;
        const ui::FileDialogOptions& options;
        int initialFilter;
        std::vector<DialogUser::Step> steps;
        std::optional<ui::FileChoice> expected;
    } cases[] = {
        {"bare name, first type",
         save,
         0,
         {typeName(QStringLiteral("ace"))},
         ui::FileChoice{folder + QStringLiteral("ace.TFR"), 0}},
        {"bare name, text type",
         save,
         0,
         {typeName(QStringLiteral("ace"), 1)},
         ui::FileChoice{folder + QStringLiteral("ace.TXT"), 1}},
        {"remembered text type",
         save,
         1,
         {typeName(QStringLiteral("ace"))},
         ui::FileChoice{folder + QStringLiteral("ace.TXT"), 1}},
        {"name with a point",
         save,
         1,
         {typeName(QStringLiteral("report.text"))},
         ui::FileChoice{folder + QStringLiteral("report.text"), 1}},
        {"overwrite declined",
         save,
         0,
         {typeName(QStringLiteral("old.TFR")), answer(Button::No), cancel()},
         std::nullopt},
        {"overwrite confirmed",
         save,
         0,
         {typeName(QStringLiteral("old.TFR")), answer(Button::Yes)},
         ui::FileChoice{folder + QStringLiteral("old.TFR"), 0}},
        {"creation declined, then confirmed",
         create,
         0,
         {typeName(QStringLiteral("new.TXT"), 1), answer(Button::No),
          typeName(QStringLiteral("new.TXT")), answer(Button::Yes)},
         ui::FileChoice{folder + QStringLiteral("new.TXT"), 1}},
        {"cancel", save, 0, {cancel()}, std::nullopt},
    };
    for (const auto& run : cases) {
        SCOPED_TRACE(run.what);
        const auto choice =
            runDialog(run.options, folder + QStringLiteral("start"), run.initialFilter, run.steps);
        ASSERT_EQ(choice.has_value(), run.expected.has_value());
        if (choice) {
            EXPECT_EQ(choice->path.toStdString(), run.expected->path.toStdString());
            EXPECT_EQ(choice->filterIndex, run.expected->filterIndex);
        }
    }
}

// The error box and the About box of the desktop, each closed by its OK button.
TEST(QtDialogs, ErrorAndAboutBoxesAreModalWithTheirCaptionsAndOk) {
    struct Seen {
        QString className;
        QString title;
        QString text;
        bool modal = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString buttons;
    };
    const auto look = [](Seen& seen) {
        return [&seen](QWidget* modal) {
            seen.className = QString::fromLatin1(modal->metaObject()->className());
            seen.title = modal->windowTitle();
            seen.modal = modal->isModal();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen.text = box->text();
                seen.icon = box->icon();
            }
            QStringList buttons;
            for (auto* button : modal->findChildren<QPushButton*>()) {
                buttons << button->text().remove(u'&');
            }
            seen.buttons = buttons.join(u'|');
            if (auto* button = modal->findChildren<QPushButton*>().value(0)) {
                button->click();
            }
        };
    };
    ui::QtDialogService service;
    Seen error;
    {
        DialogUser user({look(error)});
        service.showError(nullptr, QStringLiteral("Datei nicht gefunden."));
        EXPECT_TRUE(user.done());
    }
    EXPECT_EQ(error.className, QStringLiteral("QMessageBox"));
    EXPECT_EQ(error.title, QStringLiteral("Brevanta"));
    EXPECT_EQ(error.text, QStringLiteral("Datei nicht gefunden."));
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QStringLiteral("OK"));
    EXPECT_TRUE(error.modal);

    Seen about;
    {
        DialogUser user({look(about)});
        service.showAbout(nullptr);
        EXPECT_TRUE(user.done());
    }
    EXPECT_EQ(about.className, QStringLiteral("ui::AboutBox"));
    EXPECT_EQ(about.title, QStringLiteral("About Brevanta"));
    EXPECT_EQ(about.buttons, QStringLiteral("OK"));
    EXPECT_TRUE(about.modal);
}

// Receives the addresses the About box hands to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.push_back(url); }
};

TEST(AboutBox, ShowsItsLinesAndOpensItsLinks) {
    ui::AboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Brevanta"));
    EXPECT_TRUE(box.isModal());
    const auto text = [&](const char* name) {
        auto* label = box.findChild<QLabel*>(latin(name));
        return label == nullptr ? QStringLiteral("<missing>") : label->text();
    };
    EXPECT_EQ(text("CompanyLabel"), QStringLiteral("Vessk Computing presents:"));
    EXPECT_EQ(text("ProductLabel"), QStringLiteral("Brevanta"));
    EXPECT_EQ(text("VersionLabel"), QStringLiteral("Version 1.0 Release"));
    EXPECT_EQ(text("CopyrightLabel"), QStringLiteral("Copyright \u00A9 2026 Vessk Computing"));
    EXPECT_TRUE(text("SystemLabel").endsWith(QSysInfo::prettyProductName()));
    EXPECT_TRUE(text("MemoryLabel").startsWith(QStringLiteral("Memory available: ")));
    EXPECT_FALSE(box.findChild<QLabel*>(QStringLiteral("ProgramIcon"))->pixmap().isNull());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    for (const char* link : {"WebLink", "MailLink"}) {
        auto* label = box.findChild<QLabel*>(latin(link));
        ASSERT_NE(label, nullptr);
        const QString address = label->text().section(u'"', 1, 1);
        Q_EMIT label->linkActivated(address);
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    EXPECT_EQ(catcher.urls, (std::vector<QUrl>{QUrl(QString::fromLatin1(ui::kWebAddress)),
                                               QUrl(QStringLiteral("mailto:") +
                                                    QString::fromLatin1(ui::kMailAddress))}));

    auto* ok = box.findChild<QPushButton*>(QStringLiteral("OkButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    ok->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, ReadsTheAvailableMemory) {
    const struct {
        const char* meminfo;
        std::optional<qint64> kibibytes;
        const char* line;
    } cases[] = {
        {"MemTotal:  16000 kB\nMemFree: 100 kB\nMemAvailable:    812345 kB\n", 812345,
         "Memory available: 812,345 KB"},
        {"MemAvailable: 0 kB", 0, "Memory available: 0 KB"},
        {"MemTotal:  16000 kB\n", std::nullopt, "Memory available: unknown"},
        {"MemAvailable: lots kB\n", std::nullopt, "Memory available: unknown"},
        {"MemAvailable: -5 kB\n", std::nullopt, "Memory available: unknown"},
        {"", std::nullopt, "Memory available: unknown"},
    };
    for (const auto& sample : cases) {
        SCOPED_TRACE(sample.meminfo);
        const auto kibibytes = ui::availableMemoryKiB(QByteArray(sample.meminfo));
        EXPECT_EQ(kibibytes, sample.kibibytes);
        EXPECT_EQ(ui::memoryLine(kibibytes), latin(sample.line));
    }
}

}  // namespace

#include "window_shell_test.moc"
