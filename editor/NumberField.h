#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include <QObject>

#include "FieldTable.h"

class QEvent;
class QLineEdit;
namespace pilot {
class PilotRecord;
}

namespace editor {

// The record element a number field edits; for fields that follow a selector the element
// is located anew at every change.
struct Slot {
    pilot::Field field;
    std::size_t row = 0;
    std::size_t column = 0;
};

// Binds a line edit to the number-field rule: every change of its text (the user's or a
// refresh's) converts the text, stores the low bits into the slot, rewrites the text in
// normal form (or to the reset text for a sentinel), then runs `afterRule`
// (MarkChanged, and for some fields a recomputed total).
//
// While the user edits the text, one that is only the start of a number ("-", "+", "$" or
// blanks) stays as it is, and so do a hexadecimal number and a number the rule resets when
// typed key by key (not pasted), so that "-5", "$FF" and "-12" can be typed; the slot holds
// the reset value or the number meanwhile. When the user leaves the field, such a text takes
// its normal form (the reset text for a start or a reset number). The keys of Undo and Redo
// go to the window's history, not to the edit's own.
//
// `locate` gives nothing while the selectors that pick the element have no entry; the
// field then leaves the record alone, so it never addresses outside the record's arrays.
class NumberField : public QObject {
    Q_OBJECT
public:
    NumberField(QLineEdit* edit, pilot::PilotRecord& record,
                std::function<std::optional<Slot>()> locate, std::function<void()> afterRule);
    // A field bound to one element for good.
    NumberField(QLineEdit* edit, pilot::PilotRecord& record, Slot slot,
                std::function<void()> afterRule);

    // Shows the slot's stored value; runs the rule when the text changes.
    void show();
    [[nodiscard]] QLineEdit* edit() const { return m_edit; }

Q_SIGNALS:
    // The user changed the text (typing, pasting, deleting) and the rule has run on it.
    void userEdited(QWidget* edit);
    // The user moved the keyboard focus away from the field, which ends a run of typing.
    void left(QWidget* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyRule();
    // Shows the text the rule gives, unless the edit shows it already.
    void showNormalForm(const std::string& normal);

    QLineEdit* m_edit;
    pilot::PilotRecord& m_record;
    std::function<std::optional<Slot>()> m_locate;
    std::function<void()> m_afterRule;
    bool m_keyPressed = false;  // the change under way comes from an editing key
};

}  // namespace editor
