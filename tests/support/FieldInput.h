#pragma once

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// The user's ways of filling the editor's fields, for the window tests.
namespace testing_support {

// The user's choice of an entry, as the drop-down list reports it: the selection changes
// and `activated` fires.
inline void choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

// How a text reaches a number field, over the whole old text.
enum class Entry {
    Type,          // key by key in reading order; every keystroke runs the field's rule
    TypeSignLast,  // the digits first, then the sign in front: a lone "-" would read "0"
    Paste,         // in one change
};

inline void enterText(QLineEdit* edit, const QString& text, Entry entry) {
    edit->setFocus();
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

}  // namespace testing_support
