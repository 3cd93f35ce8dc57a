#pragma once

#include <ostream>
#include <stdexcept>
#include <string>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QTest>

// GoogleTest shows a text that differs as its characters.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// What the window tests do as a user does: find a control by its name, choose an entry, type
// into a field.
namespace testing_support {

// Thrown when a test asks for a control that is not there: the test that asked fails, and
// the others still run.
class MissingControl : public std::runtime_error {
public:
    explicit MissingControl(const QString& name)
        : std::runtime_error("no control named " + name.toStdString()) {}
};

// The control of that object name and type below `root`.
template <typename Widget = QWidget>
[[nodiscard]] Widget* control(const QObject& root, const QString& name) {
    auto* found = root.findChild<Widget*>(name);
    if (found == nullptr) {
        throw MissingControl(name);
    }
    return found;
}
template <typename Widget = QWidget>
[[nodiscard]] Widget* control(const QObject& root, const char* name) {
    return control<Widget>(root, QString::fromLatin1(name));
}

// The user's choice of an entry, as the drop-down list reports it: the selection changes
// and `activated` fires.
inline void choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

// How a text reaches a field, over the whole old text.
enum class Entry {
    Type,          // key by key in reading order; every keystroke runs the field's rule
    TypeSignLast,  // the digits first, then the sign in front: a lone "-" would read "0"
    Paste,         // in one change
};

// The user clicks into the field, selects its text and enters the new one over it; an
// empty text deletes the old one.
inline void enterText(QLineEdit* edit, const QString& text, Entry entry = Entry::Type) {
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else if (entry == Entry::Paste) {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(edit, QKeySequence::Paste);
    } else if (entry == Entry::TypeSignLast && text.startsWith(QLatin1Char('-'))) {
        QTest::keyClicks(edit, text.mid(1));
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, '-');
    } else {
        QTest::keyClicks(edit, text);
    }
}

// A caption as the user sees it: a single "&" marks the next letter as the shortcut and is
// not shown, "&&" shows one "&".
[[nodiscard]] inline QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

// Types any text where the cursor stands, one key press per character (QTest::keyClicks
// knows the keys of ASCII only).
inline void typeText(QWidget* widget, const QString& text) {
    for (const char32_t character : text.toUcs4()) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&character, 1),
                            Qt::NoModifier);
    }
}

}  // namespace testing_support
