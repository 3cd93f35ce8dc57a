#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include <QMainWindow>

#include "BsfTexts.h"
#include "DialogService.h"

namespace pilot {
class PilotRecord;
}

namespace reports {

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
    TForm2(const pilot::PilotRecord& record, ui::DialogService& dialogs,
           QWidget* parent = nullptr);

    // Shows the form and fills it from the editor (the hand-over).
    void handOver(const BsfHandOver& data);

    void BitBtn1Click();  // Close: hide, then hand the texts back
    void BitBtn2Click();  // Save BSF

Q_SIGNALS:
    // Emitted by Close after hiding, with the texts to copy back into the editor.
    void textsReturned(const reports::BsfTexts& texts);

private:
    const pilot::PilotRecord& m_record;
    ui::DialogService& m_dialogs;
};

}  // namespace reports
