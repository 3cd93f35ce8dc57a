#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include <QMainWindow>

#include "BsfTexts.h"
#include "DialogService.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pilot {
class PilotRecord;
}
namespace reports {
struct BsfInput;
}

namespace bsfwindow {

// What the editor hands to the form when it opens it.
struct BsfHandOver {
    BsfTexts texts;
    std::optional<std::size_t> battle;  // TForm1 BattleNRBox1
    std::optional<std::size_t> craft;   // TForm1 CombatShipBox1
};

// The Battle Submission Form window: modeless, stays on top, created hidden. It reads the
// scores from the editor's record at the moment of each Save and never writes to it.
class TForm2 : public QMainWindow {
    Q_OBJECT
public:
    TForm2(const pilot::PilotRecord& record, ui::DialogService& dialogs, QWidget* parent = nullptr);

    // Shows the form and fills it from the editor (the hand-over).
    void handOver(const BsfHandOver& handed);

    void BitBtn1Click();  // Close: hide, then hand the texts back
    void BitBtn2Click();  // Save BSF

    // Panel switching: each acts only while its own radio button is checked.
    void RadioButton1Click();
    void RadioButton2Click();
    // Keep the combat chamber's mission range in order, on the user's choice.
    void ComboBox1Change();
    void ComboBox2Change();
    // The user's choice of a battle: "From Mission 1 to:" shows its last completed mission,
    // as the hand-over does, so that no mission never flown is written.
    void BattleBoxChange();

    // The four typed texts as they stand in Edit1..Edit4.
    [[nodiscard]] BsfTexts texts() const;

Q_SIGNALS:
    // Emitted by Close after hiding, with the texts to copy back into the editor.
    void textsReturned(const bsfwindow::BsfTexts& texts);

protected:
    // Up and Down move between the two radio buttons, as Left and Right do.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildFields(QWidget* group);
    void buildBattlePanel(QWidget* panel);
    void buildCombatPanel(QWidget* panel);
    void buildButtons(QWidget* central);
    void buildStatusLine(QWidget* central);
    // Selects in "From Mission 1 to:" the last completed mission of the battle selected.
    void showLastMission();
    void setBattlePanelEnabled(bool enabled);
    void setCombatPanelEnabled(bool enabled);
    void centreOnScreen();
    [[nodiscard]] reports::BsfInput formInput() const;

    const pilot::PilotRecord& m_record;
    ui::DialogService& m_dialogs;
    ui::FileDialog m_saveDialog;  // SaveDialog1
    bool m_placed = false;

    // The controls by role; the comments give their object names.
    QLineEdit* m_idLineEdit = nullptr;        // Edit1
    QLineEdit* m_emailEdit = nullptr;         // Edit2
    QLineEdit* m_battleNumberEdit = nullptr;  // Edit3
    QLineEdit* m_medalEdit = nullptr;         // Edit4

    QRadioButton* m_battleModeButton = nullptr;    // RadioButton1
    QComboBox* m_battleBox = nullptr;              // BattleBox
    QLabel* m_lastMissionLabel = nullptr;          // Label5
    QComboBox* m_lastMissionBox = nullptr;         // ComboBox3
    QLabel* m_highscoreLabel = nullptr;            // Label8
    std::array<QCheckBox*, 8> m_highscoreBoxes{};  // CheckBox1..CheckBox8

    QRadioButton* m_combatModeButton = nullptr;  // RadioButton2
    QComboBox* m_combatBox = nullptr;            // CombatBox
    QLabel* m_fromMissionLabel = nullptr;        // Label6
    QComboBox* m_fromMissionBox = nullptr;       // ComboBox1
    QLabel* m_toMissionLabel = nullptr;          // Label7
    QComboBox* m_toMissionBox = nullptr;         // ComboBox2

    QLabel* m_statusLine = nullptr;  // FormStatus: where the last Save put its form
};

}  // namespace bsfwindow
