#include "NumberField.h"

#include <QLineEdit>

#include "NumberText.h"
#include "PilotRecord.h"

namespace editor {

NumberField::NumberField(QLineEdit* edit, pilot::PilotRecord& record, std::function<Slot()> locate,
                         std::function<void()> afterRule)
    : QObject(edit),
      m_edit(edit),
      m_record(record),
      m_locate(std::move(locate)),
      m_afterRule(std::move(afterRule)) {
    connect(m_edit, &QLineEdit::textChanged, this, &NumberField::applyRule);
}

void NumberField::show() {
    const Slot slot = m_locate();
    const auto width = pilot::fieldInfo(slot.field).type;
    const auto text = pilot::numberText(m_record.raw(slot.field, slot.row, slot.column), width);
    m_edit->setText(QString::fromStdString(text));
}

void NumberField::applyRule() {
    const Slot slot = m_locate();
    const auto width = pilot::fieldInfo(slot.field).type;
    const auto result = pilot::applyNumberRule(m_edit->text().toStdString(), width);
    m_record.setRaw(slot.field, result.stored, slot.row, slot.column);
    // Rewriting the text runs this rule once more, nested; that run finds the normal form
    // and leaves the text alone.
    const QString normal = QString::fromStdString(result.text);
    if (m_edit->text() != normal) {
        m_edit->setText(normal);
    }
    m_afterRule();
}

}  // namespace editor
