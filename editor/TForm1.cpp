#include "TForm1.h"

#include <QShowEvent>

#include "BattleStatsGroup.h"
#include "BsfGenerationGroup.h"
#include "CombatChamberGroup.h"
#include "GeneralStatsGroup.h"
#include "ShipKillsGroup.h"
#include "TForm2.h"
#include "TrainingGroup.h"

namespace editor {

// Skeleton: the window shell is filled in by its own change.
TForm1::TForm1(QStringList arguments, ui::DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent),
      m_arguments(std::move(arguments)),
      m_dialogs(dialogs),
      m_openDialog({}),
      m_saveDialog({}) {
    setWindowTitle(QStringLiteral("Brevanta"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    m_general = new GeneralStatsGroup(m_record, [this] { MarkChanged(); }, central);
    m_training = new TrainingGroup(m_record, [this] { MarkChanged(); }, central);
    m_combat = new CombatChamberGroup(m_record, [this] { MarkChanged(); }, central);
    m_battle = new BattleStatsGroup(
        m_record, [this] { MarkChanged(); }, [this] { UpdateTotalScore(); }, central);
    m_bsfGeneration = new BsfGenerationGroup(central);
    m_shipKills = new ShipKillsGroup(
        m_record, [this] { MarkChanged(); }, [this] { UpdateKillsTotal(); }, central);
    m_form2 = new reports::TForm2(m_record, m_dialogs, this);
}

TForm1::~TForm1() = default;

void TForm1::OpenTFR1Click() {}
void TForm1::SaveTFR1Click() {}
void TForm1::SaveAs1Click() {}
void TForm1::ToolbarButton974Click() {}
void TForm1::BSF1Click() {}
void TForm1::FORMClick() {}
void TForm1::Close1Click() {}
void TForm1::Button1Click() {}
void TForm1::LoadPilotFile(const QString&) {}
void TForm1::RefreshAllFields() {}
void TForm1::MarkChanged() { m_changedFlag = true; }
void TForm1::ClearChanged() { m_changedFlag = false; }
void TForm1::UpdateTotalScore() {}
void TForm1::UpdateKillsTotal() {}
void TForm1::showEvent(QShowEvent* event) { QMainWindow::showEvent(event); }
void TForm1::SavePilotFile() {}
void TForm1::setTitle() {}
void TForm1::showError(const pilot::IoError&) {}

}  // namespace editor
