#include "TForm2.h"

#include <cstdint>
#include <filesystem>
#include <string>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

#include "BsfText.h"
#include "Controls.h"
#include "FieldTable.h"
#include "IoError.h"
#include "Latin1Text.h"
#include "PilotRecord.h"

namespace bsfwindow {

namespace {

// The form file is single-byte text: every character outside Latin-1 becomes one "?"
// (a character beyond the 16-bit range too, not one "?" per half).
std::string latin1Bytes(const QString& text) {
    return reports::latin1FromUtf8(text.toStdString());
}

}  // namespace

void TForm2::handOver(const BsfHandOver& handed) {
    if (!m_placed) {
        centreOnScreen();
        m_placed = true;
    }
    show();

    m_edit1->setText(handed.texts.idLine);
    m_edit2->setText(handed.texts.email);
    m_edit3->setText(handed.texts.battleNumber);
    m_edit4->setText(handed.texts.medal);

    ui::selectEntry(*m_battleBox, handed.battle);
    ui::selectEntry(*m_combatBox, handed.craft);
    // Runs RadioButton1Click only when the button was not checked yet.
    m_radioButton1->setChecked(true);

    // The last successfully completed mission of the battle; none finished, a value beyond
    // the eight missions or no battle at all leave the box without a selection.
    std::optional<std::size_t> lastMission;
    if (const auto battle = ui::selectedEntry(*m_battleBox)) {
        const std::uint8_t stored = m_record.u8(pilot::Field::BattleLastMission, *battle);
        if (stored >= 1 && stored <= pilot::kMissions) {
            lastMission = stored - 1u;
        }
    }
    ui::selectEntry(*m_comboBox3, lastMission);

    m_comboBox1->setCurrentIndex(0);
    m_comboBox2->setCurrentIndex(3);
}

void TForm2::BitBtn1Click() {
    hide();
    Q_EMIT textsReturned(texts());
}

void TForm2::BitBtn2Click() {
    const auto choice = m_saveDialog.execute(this, m_dialogs);
    if (!choice) {
        return;
    }
    const std::filesystem::path path(QFile::encodeName(choice->path).toStdString());
    if (const auto error =
            reports::saveBsfForm(path, reports::bsfFormText(formInput(), m_record))) {
        m_dialogs.showError(
            this, QString::fromStdString(pilot::withClosingPeriod(error->message())), choice->path);
    }
}

void TForm2::RadioButton1Click() {
    if (!m_radioButton1->isChecked()) {
        return;
    }
    setCombatPanelEnabled(false);
    setBattlePanelEnabled(true);
}

void TForm2::RadioButton2Click() {
    if (!m_radioButton2->isChecked()) {
        return;
    }
    setBattlePanelEnabled(false);
    setCombatPanelEnabled(true);
}

// A choice that would make the range run backwards snaps the chosen box to the other one.
void TForm2::ComboBox1Change() {
    const int to = m_comboBox2->currentIndex();
    if (to >= 0 && m_comboBox1->currentIndex() > to) {
        m_comboBox1->setCurrentIndex(to);
    }
}

void TForm2::ComboBox2Change() {
    const int from = m_comboBox1->currentIndex();
    if (m_comboBox2->currentIndex() < from) {
        m_comboBox2->setCurrentIndex(from);
    }
}

BsfTexts TForm2::texts() const {
    return {.idLine = m_edit1->text(),
            .email = m_edit2->text(),
            .battleNumber = m_edit3->text(),
            .medal = m_edit4->text()};
}

void TForm2::setBattlePanelEnabled(bool enabled) {
    m_battleBox->setEnabled(enabled);
    m_label5->setEnabled(enabled);
    m_comboBox3->setEnabled(enabled);
    m_label8->setEnabled(enabled);
    for (QCheckBox* box : m_highscoreBoxes) {
        box->setEnabled(enabled);
    }
}

void TForm2::setCombatPanelEnabled(bool enabled) {
    m_label6->setEnabled(enabled);
    m_comboBox1->setEnabled(enabled);
    m_label7->setEnabled(enabled);
    m_comboBox2->setEnabled(enabled);
    m_combatBox->setEnabled(enabled);
}

void TForm2::centreOnScreen() {
    if (const QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
}

reports::BsfInput TForm2::formInput() const {
    reports::BsfInput input;
    input.idLine = latin1Bytes(m_edit1->text());
    input.battleNumber = latin1Bytes(m_edit3->text());
    input.medal = latin1Bytes(m_edit4->text());
    input.email = latin1Bytes(m_edit2->text());
    if (m_radioButton1->isChecked()) {
        input.mode = reports::BsfInput::Mode::Battle;
    } else if (m_radioButton2->isChecked()) {
        input.mode = reports::BsfInput::Mode::CombatChamber;
    }
    input.battle = ui::selectedEntry(*m_battleBox);
    input.lastMission = ui::selectedEntry(*m_comboBox3);
    for (std::size_t mission = 0; mission < m_highscoreBoxes.size(); ++mission) {
        input.highscore[mission] = m_highscoreBoxes[mission]->isChecked();
    }
    input.craft = ui::selectedEntry(*m_combatBox);
    input.fromMission = ui::selectedEntry(*m_comboBox1);
    input.toMission = ui::selectedEntry(*m_comboBox2);
    return input;
}

}  // namespace bsfwindow
