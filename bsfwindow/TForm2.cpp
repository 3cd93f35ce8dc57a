#include "TForm2.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <variant>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
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

    m_idLineEdit->setText(handed.texts.idLine);
    m_emailEdit->setText(handed.texts.email);
    m_battleNumberEdit->setText(handed.texts.battleNumber);
    m_medalEdit->setText(handed.texts.medal);

    ui::selectEntry(*m_battleBox, handed.battle);
    ui::selectEntry(*m_combatBox, handed.craft);
    // Runs RadioButton1Click only when the button was not checked yet.
    m_battleModeButton->setChecked(true);
    showLastMission();

    m_fromMissionBox->setCurrentIndex(0);
    m_toMissionBox->setCurrentIndex(3);
    m_statusLine->clear();
    m_statusLine->hide();
}

// The last successfully completed mission of the battle; none finished, a value beyond the
// eight missions or no battle at all leave the box without a selection.
void TForm2::showLastMission() {
    std::optional<std::size_t> lastMission;
    if (const auto battle = ui::selectedEntry(*m_battleBox)) {
        const std::uint8_t stored = m_record.u8(pilot::Field::BattleLastMission, *battle);
        if (stored >= 1 && stored <= pilot::kMissions) {
            lastMission = stored - 1u;
        }
    }
    ui::selectEntry(*m_lastMissionBox, lastMission);
}

void TForm2::BattleBoxChange() {
    showLastMission();
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
    const auto saved = reports::saveBsfForm(path, reports::bsfFormText(formInput(), m_record));
    if (const auto* error = std::get_if<pilot::IoError>(&saved)) {
        m_statusLine->hide();
        m_dialogs.showError(
            this, QString::fromStdString(pilot::withClosingPeriod(error->message())), choice->path);
        return;
    }
    // Appending asks nothing: the line says what became of the form.
    const auto& form = std::get<reports::SavedForm>(saved);
    const QString name = QFileInfo(choice->path).fileName();
    m_statusLine->setText(
        !form.appended ? QStringLiteral("Form written to %1").arg(name)
        : form.formNumber
            ? QStringLiteral("Form appended to %1 as form %2").arg(name).arg(*form.formNumber)
            : QStringLiteral("Form appended to %1").arg(name));
    m_statusLine->show();
}

void TForm2::RadioButton1Click() {
    if (!m_battleModeButton->isChecked()) {
        return;
    }
    setCombatPanelEnabled(false);
    setBattlePanelEnabled(true);
}

void TForm2::RadioButton2Click() {
    if (!m_combatModeButton->isChecked()) {
        return;
    }
    setBattlePanelEnabled(false);
    setCombatPanelEnabled(true);
}

// A choice that would make the range run backwards snaps the chosen box to the other one.
void TForm2::ComboBox1Change() {
    const int to = m_toMissionBox->currentIndex();
    if (to >= 0 && m_fromMissionBox->currentIndex() > to) {
        m_fromMissionBox->setCurrentIndex(to);
    }
}

void TForm2::ComboBox2Change() {
    const int from = m_fromMissionBox->currentIndex();
    if (m_toMissionBox->currentIndex() < from) {
        m_toMissionBox->setCurrentIndex(from);
    }
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress ||
        (watched != m_battleModeButton && watched != m_combatModeButton)) {
        return QMainWindow::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) {
        return false;
    }
    // As the arrows move between radio buttons: the other one is chosen and takes the focus.
    QRadioButton* other = watched == m_battleModeButton ? m_combatModeButton : m_battleModeButton;
    other->click();
    other->setFocus(Qt::TabFocusReason);
    return true;
}

BsfTexts TForm2::texts() const {
    return {.idLine = m_idLineEdit->text(),
            .email = m_emailEdit->text(),
            .battleNumber = m_battleNumberEdit->text(),
            .medal = m_medalEdit->text()};
}

void TForm2::setBattlePanelEnabled(bool enabled) {
    m_battleBox->setEnabled(enabled);
    m_lastMissionLabel->setEnabled(enabled);
    m_lastMissionBox->setEnabled(enabled);
    m_highscoreLabel->setEnabled(enabled);
    for (QCheckBox* box : m_highscoreBoxes) {
        box->setEnabled(enabled);
    }
}

void TForm2::setCombatPanelEnabled(bool enabled) {
    m_fromMissionLabel->setEnabled(enabled);
    m_fromMissionBox->setEnabled(enabled);
    m_toMissionLabel->setEnabled(enabled);
    m_toMissionBox->setEnabled(enabled);
    m_combatBox->setEnabled(enabled);
}

void TForm2::centreOnScreen() {
    if (const QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
}

reports::BsfInput TForm2::formInput() const {
    reports::BsfInput input;
    input.idLine = latin1Bytes(m_idLineEdit->text());
    input.battleNumber = latin1Bytes(m_battleNumberEdit->text());
    input.medal = latin1Bytes(m_medalEdit->text());
    input.email = latin1Bytes(m_emailEdit->text());
    if (m_battleModeButton->isChecked()) {
        input.mode = reports::BsfInput::Mode::Battle;
    } else if (m_combatModeButton->isChecked()) {
        input.mode = reports::BsfInput::Mode::CombatChamber;
    }
    input.battle = ui::selectedEntry(*m_battleBox);
    input.lastMission = ui::selectedEntry(*m_lastMissionBox);
    for (std::size_t mission = 0; mission < m_highscoreBoxes.size(); ++mission) {
        input.highscore[mission] = m_highscoreBoxes[mission]->isChecked();
    }
    input.craft = ui::selectedEntry(*m_combatBox);
    input.fromMission = ui::selectedEntry(*m_fromMissionBox);
    input.toMission = ui::selectedEntry(*m_toMissionBox);
    return input;
}

}  // namespace bsfwindow
