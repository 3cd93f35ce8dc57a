// Every command by keyboard alone, with the keys the desktop's users expect: the menu bar
// by F10 or Alt, each menu and popup entry by its letter, the form by its key and closed by
// Escape, its two kinds of scores with the arrows, Redo by Ctrl+Y on every desktop.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>

#include "TForm2.h"
#include "UserActions.h"
#include "WindowFixture.h"

namespace {

using testing_support::latin;

// The letter marked with "&" in a caption, lower case; none without a mark.
QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'&') {
            if (text[i + 1] != u'&') {
                return text[i + 1].toLower();
            }
            ++i;
        }
    }
    return {};
}

class Keyboard : public testing_support::WindowShell {
protected:
    Keyboard() { showActive(); }

    void press(QWidget* target, QKeyCombination key) {
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
        QApplication::processEvents();
    }
    [[nodiscard]] QWidget* focus() const {
        QWidget* focused = QApplication::focusWidget();
        return focused != nullptr ? focused : window.get();
    }
    [[nodiscard]] QMenu* openMenu() const {
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    void closeMenus() {
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        QApplication::processEvents();
    }
    [[nodiscard]] bool formShown() const {
        return window->findChild<bsfwindow::TForm2*>() != nullptr && window->bsfForm()->isVisible();
    }
};

// F10 opens the first menu; Alt alone selects the menu bar (drawn as selected), Down then
// opens the menu; a letter with Alt opens its menu, the second Alt+F the next menu with F.
TEST_F(Keyboard, TheMenuBarIsReachedByF10AndByAlt) {
    auto* bar = control<QMenuBar>("MainMenu1");
    control("Edit83")->setFocus();
    press(focus(), Qt::Key_F10);
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), latin("File1"));
    closeMenus();

    control("Edit83")->setFocus();
    const QImage before = bar->grab().toImage();
    QTest::keyPress(focus(), Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(focus(), Qt::Key_Alt, Qt::NoModifier);
    QApplication::processEvents();
    EXPECT_TRUE(bar->hasFocus());
    ASSERT_NE(bar->activeAction(), nullptr);
    EXPECT_EQ(bar->activeAction()->text(), latin("&File"));
    EXPECT_EQ(openMenu(), nullptr);
    EXPECT_NE(bar->grab().toImage(), before) << "the selected entry looks as before";
    press(bar, Qt::Key_Down);
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), latin("File1"));
    closeMenus();

    control("Edit83")->setFocus();
    press(focus(), Qt::ALT | Qt::Key_F);
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), latin("File1"));
    press(openMenu(), Qt::ALT | Qt::Key_F);
    ASSERT_NE(openMenu(), nullptr);
    EXPECT_EQ(openMenu()->objectName(), latin("FormGeneration1"));
    press(openMenu(), Qt::Key_Return);
    EXPECT_TRUE(formShown());
}

// Each surface's entries carry letters of their own, and the letter runs the entry.
TEST_F(Keyboard, EveryMenuAndPopupEntryHasALetterOfItsOwn) {
    for (const char* surface : {"MainMenu1", "PopupMenu1"}) {
        SCOPED_TRACE(surface);
        std::set<QChar> letters;
        for (const QAction* entry : control(surface)->actions()) {
            if (entry->isSeparator()) {
                continue;
            }
            const QChar letter = mnemonicOf(entry->text());
            EXPECT_FALSE(letter.isNull()) << entry->text().toStdString();
            if (surface == std::string_view("PopupMenu1")) {
                EXPECT_TRUE(letters.insert(letter).second) << entry->text().toStdString();
            }
        }
    }
    const struct {
        Qt::Key letter;
        std::function<bool()> ran;
    } entries[] = {
        {Qt::Key_U, [this] { return dialogs.aboutShown == 1; }},
        {Qt::Key_B, [this] { return formShown(); }},
        {Qt::Key_A, [this] { return !dialogs.requests.empty(); }},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.letter);
        auto* popup = control<QMenu>("PopupMenu1");
        popup->popup(window->mapToGlobal(QPoint(10, 10)));
        QApplication::processEvents();
        press(popup, entry.letter);
        closeMenus();
        EXPECT_TRUE(entry.ran());
    }
}

// Ctrl+B opens the form from any field; Escape closes it as Close does, handing the texts
// back; Up and Down move between its two kinds of scores as Left and Right do.
TEST_F(Keyboard, TheFormOpensByKeyClosesByEscapeAndSwitchesByArrows) {
    control("Edit83")->setFocus();
    press(focus(), Qt::CTRL | Qt::Key_B);
    ASSERT_TRUE(formShown());
    bsfwindow::TForm2* form = window->bsfForm();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));

    auto* battle = testing_support::control<QRadioButton>(*form, "RadioButton1");
    auto* combat = testing_support::control<QRadioButton>(*form, "RadioButton2");
    battle->setFocus(Qt::TabFocusReason);
    for (const Qt::Key arrow : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down}) {
        QRadioButton* from = battle->isChecked() ? battle : combat;
        QRadioButton* to = from == battle ? combat : battle;
        press(from, arrow);
        EXPECT_TRUE(to->isChecked());
        EXPECT_TRUE(to->hasFocus());
        EXPECT_EQ(testing_support::control(*form, "CombatBox")->isEnabled(), to == combat);
    }

    auto* idLine = testing_support::control<QLineEdit>(*form, "Edit1");
    testing_support::enterText(idLine, latin("Lt Ace"));
    press(idLine, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(control<QLineEdit>("Edit79")->text(), latin("Lt Ace"));
}

// Ctrl+Y redoes besides the desktop's own Redo key, from a field as from the window.
TEST_F(Keyboard, CtrlYRedoesOnEveryDesktop) {
    for (const char* field : {"Edit83", "CapturesEdit"}) {
        SCOPED_TRACE(field);
        typeInto(field, latin("42"));
        QTest::keyClick(control(field), Qt::Key_Tab);
        press(focus(), control<QAction>("Undo1")->shortcuts().value(0)[0]);
        EXPECT_NE(control<QLineEdit>(field)->text(), latin("42"));
        control(field)->setFocus();
        press(focus(), Qt::CTRL | Qt::Key_Y);
        EXPECT_EQ(control<QLineEdit>(field)->text(), latin("42"));
    }
    EXPECT_TRUE(
        control<QAction>("Redo1")->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
}

}  // namespace
