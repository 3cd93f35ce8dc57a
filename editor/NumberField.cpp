#include "NumberField.h"

#include <utility>

#include <QLineEdit>

#include "NumberText.h"
#include "PilotRecord.h"

namespace editor {

NumberField::NumberField(QLineEdit* edit, pilot::PilotRecord& record,
                         std::function<std::optional<Slot>()> locate,
                         std::function<void()> afterRule)
    : QObject(edit),
      m_edit(edit),
      m_record(record),
      m_locate(std::move(locate)),
      m_afterRule(std::move(afterRule)) {
    connect(m_edit, &QLineEdit::textChanged, this, &NumberField::applyRule);
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
    const auto width = pilot::fieldInfo(slot->field).type;
    const auto text = pilot::numberText(m_record.raw(slot->field, slot->row, slot->column), width);
    m_edit->setText(QString::fromStdString(text));
}

void NumberField::applyRule() {
    const auto slot = m_locate();
    if (!slot) {
        return;
    }
    const auto width = pilot::fieldInfo(slot->field).type;
    const auto result = pilot::applyNumberRule(m_edit->text().toStdString(), width);
    m_record.setRaw(slot->field, result.stored, slot->row, slot->column);
    // Rewriting the text runs this rule once more, nested; that run finds the normal form
    // it just stored, leaves the text alone and ends.
    const QString normal = QString::fromStdString(result.text);
    if (m_edit->text() != normal) {
        m_edit->setText(normal);
    }
    m_afterRule();
}

}  // namespace editor
