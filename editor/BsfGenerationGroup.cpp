#include "BsfGenerationGroup.h"

#include <array>

#include <QLabel>
#include <QLineEdit>

#include "Controls.h"

namespace editor {

BsfGenerationGroup::BsfGenerationGroup(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("BsfGenerationGroup"));
    setTitle(QStringLiteral(" BSF Generation "));

    struct TextRow {
        QLineEdit* BsfGenerationGroup::*edit;
        const char* name;
        const char* label;
        const char* accessibleName;  // as the form's field names it
        const char* hint;
    };
    static const std::array<TextRow, 4> kRows = {{
        {&BsfGenerationGroup::m_idLineEdit, "Edit79", "ID-Line:", "ID-Line",
         "Recipients Vessk ID-Line"},
        {&BsfGenerationGroup::m_battleNumberEdit, "Edit81", "Battle:", "Battle number",
         "Vessk-Battle Number"},
        {&BsfGenerationGroup::m_medalEdit, "Edit82", "Medal:", "Medal", "Medalname"},
        {&BsfGenerationGroup::m_emailEdit, "Edit80", "E-Mail:", "E-Mail", "Recipients E-Mail"},
    }};
    int top = 15;
    for (const TextRow& row : kRows) {
        QLabel* label =
            ui::makeLabel(this, QString(), QString::fromLatin1(row.label), QRect(8, top, 46, 18));
        QLineEdit* edit = ui::makeEdit(this, QString::fromLatin1(row.name),
                                       QString::fromLatin1(row.hint), QRect(56, top, 231, 18));
        label->setBuddy(edit);
        edit->setAccessibleName(QString::fromLatin1(row.accessibleName));
        this->*row.edit = edit;
        top += 19;
    }
}

bsfwindow::BsfTexts BsfGenerationGroup::texts() const {
    return {.idLine = m_idLineEdit->text(),
            .email = m_emailEdit->text(),
            .battleNumber = m_battleNumberEdit->text(),
            .medal = m_medalEdit->text()};
}

void BsfGenerationGroup::setTexts(const bsfwindow::BsfTexts& texts) {
    m_idLineEdit->setText(texts.idLine);
    m_emailEdit->setText(texts.email);
    m_battleNumberEdit->setText(texts.battleNumber);
    m_medalEdit->setText(texts.medal);
}

}  // namespace editor
