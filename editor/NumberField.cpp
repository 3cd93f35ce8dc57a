#include "NumberField.h"

#include <utility>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "NumberText.h"
#include "PilotRecord.h"

namespace editor {

namespace {

pilot::FieldType widthOf(const Slot& slot) {
    return pilot::fieldInfo(slot.field).type;
}

}  // namespace

NumberField::NumberField(QLineEdit* edit, pilot::PilotRecord& record,
                         std::function<std::optional<Slot>()> locate,
                         std::function<void()> afterRule)
    : QObject(edit),
      m_edit(edit),
      m_record(record),
      m_locate(std::move(locate)),
      m_afterRule(std::move(afterRule)) {
    connect(m_edit, &QLineEdit::textChanged, this, &NumberField::applyRule);
    m_edit->installEventFilter(this);
}

NumberField::NumberField(QLineEdit* edit, pilot::PilotRecord& record, Slot slot,
                         std::function<void()> afterRule)
    : NumberField(
          edit, record, [slot]() -> std::optional<Slot> { return slot; }, std::move(afterRule)) {}

void NumberField::show() {
    const auto slot = m_locate();
    if (!slot) {
        return;
    }
    const auto text =
        pilot::numberText(m_record.raw(slot->field, slot->row, slot->column), widthOf(*slot));
    m_edit->setText(QString::fromStdString(text));
}

void NumberField::applyRule() {
    const auto slot = m_locate();
    if (!slot) {
        return;
    }
    // A text set from code (a refresh, the rule itself) leaves the edit unmodified.
    const bool typed = m_edit->isModified();
    const bool keyed = std::exchange(m_keyPressed, false);
    const std::string text = m_edit->text().toStdString();
    const auto width = widthOf(*slot);
    const auto result = pilot::applyNumberRule(text, width);
    m_record.setRaw(slot->field, result.stored, slot->row, slot->column);
    const bool kept =
        typed && (pilot::isNumberStart(text) || (keyed && pilot::staysWhileTyped(text, width)));
    if (!kept) {
        showNormalForm(result.text);
    }
    m_afterRule();
    if (typed) {
        Q_EMIT userEdited(m_edit);
    }
}

// Rewriting the text runs the rule once more, nested; that run finds the normal form just
// stored, leaves the text alone and ends.
void NumberField::showNormalForm(const std::string& normal) {
    const QString text = QString::fromStdString(normal);
    if (m_edit->text() != text) {
        m_edit->setText(text);
    }
}

bool NumberField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_edit) {
        return false;
    }
    switch (event->type()) {
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress: {
            // Left unaccepted, the keys reach the window's Undo and Redo.
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
                return true;
            }
            // A key that types or deletes, not one that pastes.
            constexpr auto kCommandModifiers =
                Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
            m_keyPressed = event->type() == QEvent::KeyPress &&
                           (key->modifiers() & kCommandModifiers) == 0 &&
                           !key->matches(QKeySequence::Paste);
            return false;
        }
        case QEvent::KeyRelease:
            m_keyPressed = false;
            return false;
        case QEvent::FocusOut: {
            // Opening a popup menu or switching to another window does not leave the field.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) {
                return false;
            }
            // A text kept while typing takes its normal form (the reset text for the start
            // of a number); set from code, it runs the rule, which stores the same value.
            if (const auto slot = m_locate()) {
                showNormalForm(
                    pilot::applyNumberRule(m_edit->text().toStdString(), widthOf(*slot)).text);
            }
            Q_EMIT left(m_edit);
            return false;
        }
        default:
            return false;
    }
}

}  // namespace editor
