// The command surfaces of the editor window: main menu, toolbar and popup menu. Every entry
// runs one of the window's command handlers; the three surfaces share them.
#include <array>
#include <span>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>

#include "Accessibility.h"
#include "EditHistory.h"
#include "Pictures.h"
#include "StandardKeys.h"
#include "TForm1.h"

namespace editor {

namespace {

using Key = QKeySequence::StandardKey;

// One entry of a menu, the toolbar or the popup; an entry without a handler is a separator.
// A command with no standard key may have a key of its own.
struct CommandEntry {
    const char* objectName;
    const char* text;
    void (TForm1::*handler)();
    const char* picture = nullptr;  // toolbar entries only
    Key key = QKeySequence::UnknownKey;
    QKeyCombination ownKey = Qt::Key_unknown;
};

// Opens the Battle Submission Form from anywhere in the window.
constexpr QKeyCombination kFormKey = Qt::CTRL | Qt::Key_B;

constexpr CommandEntry kSeparator{"", "", nullptr};

constexpr std::array kFileMenu = {
    CommandEntry{"OpenTFR1", "Open TFR", &TForm1::OpenTFR1Click, nullptr, QKeySequence::Open},
    CommandEntry{"SaveTFR1", "Save TFR", &TForm1::SaveTFR1Click, nullptr, QKeySequence::Save},
    CommandEntry{"SaveAs1", "Save As ...", &TForm1::SaveAs1Click, nullptr, QKeySequence::SaveAs},
    kSeparator,
    CommandEntry{"CompareWith1", "Compare &With...", &TForm1::CompareWith1Click},
    CommandEntry{"History1", "&History...", &TForm1::History1Click},
    kSeparator,
    CommandEntry{"Close1", "Close", &TForm1::Close1Click, nullptr, QKeySequence::Quit},
};

constexpr std::array kProblemCommands = {
    CommandEntry{"GoToField1", "&Go to Field...", &TForm1::GoToFieldClick, nullptr,
                 QKeySequence::Find},
    CommandEntry{"Problems1", "&Problems...", &TForm1::ProblemsClick},
};

constexpr std::array kFormGenerationMenu = {
    CommandEntry{"BSF1", "Battle Submission Form", &TForm1::BSF1Click, nullptr,
                 QKeySequence::UnknownKey, kFormKey},
};

constexpr std::array kMenuBarItems = {
    CommandEntry{"FORM", "&About", &TForm1::FORMClick},
};

constexpr std::array kToolBar = {
    CommandEntry{"ToolbarButton974", "New Pilot", &TForm1::ToolbarButton974Click, "new-pilot",
                 QKeySequence::New},
    kSeparator,
    CommandEntry{"LoadToolbarButton", "Load a TFR", &TForm1::OpenTFR1Click, "load-tfr"},
    CommandEntry{"SaveToolbarButton", "Save TFR", &TForm1::SaveTFR1Click, "save-tfr"},
    CommandEntry{"BSFToolbarButton", "BSF Generation", &TForm1::BSF1Click, "bsf-generation"},
    kSeparator,
};

// Each entry with a letter of its own, for the keyboard while the popup is open.
constexpr std::array kPopupMenu = {
    CommandEntry{"File2", "&Open File", &TForm1::OpenTFR1Click, nullptr, QKeySequence::Open},
    CommandEntry{"SaveFile1", "&Save File", &TForm1::SaveTFR1Click, nullptr, QKeySequence::Save},
    CommandEntry{"SaveAs2", "Save &As...", &TForm1::SaveAs1Click, nullptr, QKeySequence::SaveAs},
    kSeparator,
    CommandEntry{"BSF2", "&BSF", &TForm1::BSF1Click, nullptr, QKeySequence::UnknownKey, kFormKey},
    kSeparator,
    CommandEntry{"About1", "Abo&ut", &TForm1::FORMClick},
    CommandEntry{"Close2", "&Close", &TForm1::Close1Click, nullptr, QKeySequence::Quit},
};

// Adds the entries to a menu bar, menu or toolbar as actions owned by the window. The keys
// of an entry work in `keyContext`: the whole window for the main menu and toolbar, only
// the open menu for the popup, whose entries show the same keys as the main menu's.
void addCommands(TForm1* window, QWidget* target, std::span<const CommandEntry> entries,
                 Qt::ShortcutContext keyContext = Qt::WindowShortcut) {
    for (const CommandEntry& entry : entries) {
        auto* action = new QAction(QString::fromLatin1(entry.text), window);
        if (entry.handler == nullptr) {
            action->setSeparator(true);
        } else {
            action->setObjectName(QString::fromLatin1(entry.objectName));
            QObject::connect(action, &QAction::triggered, window, entry.handler);
        }
        if (entry.picture != nullptr) {
            action->setIcon(ui::picture(QString::fromLatin1(entry.picture)));
        }
        if (entry.key != QKeySequence::UnknownKey) {
            action->setShortcuts(standardKeys(entry.key));
            action->setShortcutContext(keyContext);
        } else if (entry.ownKey != QKeyCombination(Qt::Key_unknown)) {
            action->setShortcut(QKeySequence(entry.ownKey));
            action->setShortcutContext(keyContext);
        }
        target->addAction(action);
    }
}

}  // namespace

void TForm1::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setAccessibleName(QStringLiteral("Menu bar"));
    auto* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    addCommands(this, file, kFileMenu);
    auto* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("EditMenu"));
    QAction* undo = m_history->stack().createUndoAction(this);
    undo->setObjectName(QStringLiteral("Undo1"));
    undo->setShortcuts(standardKeys(QKeySequence::Undo));
    edit->addAction(undo);
    QAction* redo = m_history->stack().createRedoAction(this);
    redo->setObjectName(QStringLiteral("Redo1"));
    redo->setShortcuts(standardKeys(QKeySequence::Redo));
    edit->addAction(redo);
    edit->addSeparator();
    addCommands(this, edit, kProblemCommands);
    auto* forms = bar->addMenu(QStringLiteral("&Form Generation"));
    forms->setObjectName(QStringLiteral("FormGeneration1"));
    addCommands(this, forms, kFormGenerationMenu);
    addCommands(this, bar, kMenuBarItems);
    ui::openMenuBarWithF10(*this);
}

void TForm1::createToolBar() {
    auto* toolBar = new QToolBar(QStringLiteral("Main Menu"), this);
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(true);
    toolBar->setFloatable(true);
    toolBar->setAllowedAreas(Qt::TopToolBarArea);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setFixedHeight(24);
    addCommands(this, toolBar, kToolBar);
    // The buttons carry the names of their commands, like the actions behind them.
    for (QAction* action : toolBar->actions()) {
        if (QWidget* button = toolBar->widgetForAction(action); !action->isSeparator()) {
            button->setObjectName(action->objectName());
        }
    }
    addToolBar(Qt::TopToolBarArea, toolBar);
    // The button that shows the buttons a narrow toolbar has no room for.
    if (auto* more = toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        more->setAccessibleName(QStringLiteral("More toolbar buttons"));
    }
}

void TForm1::createPopupMenu1() {
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    addCommands(this, m_popup, kPopupMenu, Qt::WidgetShortcut);
}

// Shift+F10 opens the context menu of the focused field, as the Menu key does: the popup,
// or a kill counter's own menu.
void TForm1::createContextMenuKey() {
    auto* key = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    key->setObjectName(QStringLiteral("ContextMenuKey"));
    connect(key, &QShortcut::activated, this, [this] {
        QWidget* field = QApplication::focusWidget();
        if (field == nullptr || field->window() != this) {
            return;
        }
        const QRect cursor = field->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QPoint position = cursor.isValid() ? cursor.center() : field->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, position,
                                field->mapToGlobal(position));
        QApplication::sendEvent(field, &event);
    });
}

void TForm1::offerPopup(QWidget* widget) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        widget, &QWidget::customContextMenuRequested, this,
        [this, widget](const QPoint& position) { m_popup->popup(widget->mapToGlobal(position)); });
}

}  // namespace editor
