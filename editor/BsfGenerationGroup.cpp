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
        const char* hint;
    };
    static const std::array<TextRow, 4> kRows = {{
        {&BsfGenerationGroup::m_edit79, "Edit79", "ID-Line:", "Recipients Vessk ID-Line"},
        {&BsfGenerationGroup::m_edit81, "Edit81", "Battle:", "Vessk-Battle Number"},
        {&BsfGenerationGroup::m_edit82, "Edit82", "Medal:", "Medalname"},
        {&BsfGenerationGroup::m_edit80, "Edit80", "E-Mail:", "Recipients E-Mail"},
    }};
    int top = 15;
    for (const TextRow& row : kRows) {
        QLabel* label =
            ui::makeLabel(this, QString(), QString::fromLatin1(row.label), QRect(8, top, 46, 18));
        QLineEdit* edit = ui::makeEdit(this, QString::fromLatin1(row.name),
                                       QString::fromLatin1(row.hint), QRect(56, top, 231, 18));
        label->setBuddy(edit);
        this->*row.edit = edit;
        top += 19;
    }
}

bsfwindow::BsfTexts BsfGenerationGroup::texts() const {
    return {.idLine = m_edit79->text(),
            .email = m_edit80->text(),
            .battleNumber = m_edit81->text(),
            .medal = m_edit82->text()};
}

void BsfGenerationGroup::setTexts(const bsfwindow::BsfTexts& texts) {
    m_edit79->setText(texts.idLine);
    m_edit80->setText(texts.email);
    m_edit81->setText(texts.battleNumber);
    m_edit82->setText(texts.medal);
}

}  // namespace editor
