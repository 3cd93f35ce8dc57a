// The editor window's shell: start-up and activation, the command surfaces, the popup, the
// layout and the keyboard focus.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include "Pictures.h"
#include "StandardKeys.h"
#include "TForm2.h"
#include "WindowFixture.h"

namespace {

namespace fs = std::filesystem;
using pilot::PilotRecord;
using testing_support::bytesOf;
using testing_support::latin;
using testing_support::namesIn;
using testing_support::qpath;
using testing_support::readBytes;
using testing_support::showableRecord;
using testing_support::TempDir;
using testing_support::WindowShell;
using testing_support::writeBytes;
using testing_support::writeRecord;

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
        {"MainMenu1", "&File|&Edit|&Form Generation|&About"},
        {"File1", "Open TFR|Save TFR|Save As ...|-|Compare &With...|&History...|-|Close"},
        {"EditMenu", "Undo|Redo|-|&Go to Field...|&Problems..."},
        {"FormGeneration1", "Battle Submission Form"},
        {"ToolBar1", "New Pilot|-|Load a TFR|Save TFR|BSF Generation|-"},
        {"PopupMenu1", "&Open File|&Save File|Save &As...|-|&BSF|-|Abo&ut|&Close"},
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

// The pictures are drawn at build time, one file per size: each must be there in every
// size, square and with something drawn in it.
TEST(Pictures, EveryPictureComesInEverySizeItIsShownAt) {
    for (const char* name :
         {"brevanta", "new-pilot", "load-tfr", "save-tfr", "bsf-generation", "close", "save"}) {
        SCOPED_TRACE(name);
        const QIcon icon = ui::picture(latin(name));
        const QList<QSize> sizes = icon.availableSizes();
        for (const int side : {16, 24, 32, 48, 64}) {
            EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
        }
        const QImage image = icon.pixmap(16, 16).toImage();
        bool drawn = false;
        for (int y = 0; y < image.height() && !drawn; ++y) {
            for (int x = 0; x < image.width() && !drawn; ++x) {
                drawn = qAlpha(image.pixel(x, y)) > 0;
            }
        }
        EXPECT_TRUE(drawn);
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

// The standard keys of the desktop (or the common ones where it has none) on the main menu's
// and the toolbar's entries, shown by the popup's entries too, each running its command.
TEST_F(WindowShell, StandardKeysRunTheirCommands) {
    enum class Effect { OpenDialog, SaveDialog, NewPilot, Close, Undo, Redo, GoToField };
    const struct {
        const char* entry;
        const char* popupEntry;
        QKeySequence::StandardKey key;
        Effect effect;
    } keys[] = {
        {"OpenTFR1", "File2", QKeySequence::Open, Effect::OpenDialog},
        {"SaveTFR1", "SaveFile1", QKeySequence::Save, Effect::SaveDialog},
        {"SaveAs1", "SaveAs2", QKeySequence::SaveAs, Effect::SaveDialog},
        {"ToolbarButton974", nullptr, QKeySequence::New, Effect::NewPilot},
        {"Close1", "Close2", QKeySequence::Quit, Effect::Close},
        {"Undo1", nullptr, QKeySequence::Undo, Effect::Undo},
        {"Redo1", nullptr, QKeySequence::Redo, Effect::Redo},
        {"GoToField1", nullptr, QKeySequence::Find, Effect::GoToField},
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.entry);
        dialogs = testing_support::FakeDialogs();
        recreate({});
        showActive();
        const QList<QKeySequence> sequences = editor::standardKeys(key.key);
        ASSERT_FALSE(sequences.isEmpty());
        if (!QKeySequence::keyBindings(key.key).isEmpty()) {
            EXPECT_EQ(sequences, QKeySequence::keyBindings(key.key));
        }
        EXPECT_EQ(control<QAction>(key.entry)->shortcuts(), sequences);
        if (key.popupEntry != nullptr) {
            EXPECT_EQ(control<QAction>(key.popupEntry)->shortcuts(), sequences);
        }
        if (key.effect == Effect::Redo) {
            typeInto("Edit83", QStringLiteral("42"));
            trigger("Undo1");
        } else if (key.effect == Effect::Undo) {
            typeInto("Edit83", QStringLiteral("42"));
        }
        QTest::keySequence(QApplication::focusWidget(), sequences.first());
        const QString asked =
            dialogs.requests.empty() ? QString() : dialogs.requests.back().options.title;
        EXPECT_EQ(asked == QStringLiteral("Load Pilotfile"), key.effect == Effect::OpenDialog);
        EXPECT_EQ(asked == QStringLiteral("Save Pilotfile"), key.effect == Effect::SaveDialog);
        EXPECT_EQ(title() == QStringLiteral("Brevanta  [ Noname.TFR ]"),
                  key.effect == Effect::NewPilot);
        EXPECT_EQ(window->isVisible(), key.effect != Effect::Close);
        const auto* goTo = window->findChild<QWidget*>(QStringLiteral("GoToFieldDialog"));
        EXPECT_EQ(goTo != nullptr && goTo->isVisible(), key.effect == Effect::GoToField);
        if (key.effect == Effect::Undo || key.effect == Effect::Redo) {
            EXPECT_EQ(window->record().u16(pilot::Field::Skill),
                      key.effect == Effect::Redo ? 42 : 0);
        }
    }
}

// Shift+F10 opens the popup on the focused field, as the Menu key does.
TEST_F(WindowShell, ShiftF10OpensThePopupOnTheFocusedField) {
    showActive();
    auto* popup = window->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    for (const char* name : {"TotalScoreEdit1", "RankBox", "Edit3", "Edit79"}) {
        SCOPED_TRACE(name);
        QWidget* field = control(name);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_TRUE(popup->isVisible());
        popup->hide();
    }
}

}  // namespace
