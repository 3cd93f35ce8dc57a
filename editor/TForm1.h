#pragma once

#include <QMainWindow>
#include <QStringList>

#include "DialogService.h"
#include "IoError.h"
#include "PilotRecord.h"

class QLabel;
class QMenu;

namespace reports {
class TForm2;
}

namespace editor {

class BattleStatsGroup;
class BsfGenerationGroup;
class CombatChamberGroup;
class GeneralStatsGroup;
class ShipKillsGroup;
class TrainingGroup;

// The editor window: owns the one pilot record of the run, shows every value of it in six
// groups of fields and carries the file commands, the submission form and the About box.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // `arguments` are the command-line arguments after the program name: exactly one names
    // a pilot file to load when the window is first shown.
    TForm1(QStringList arguments, ui::DialogService& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    [[nodiscard]] const pilot::PilotRecord& record() const { return m_record; }
    [[nodiscard]] const QString& CurrentFileName() const { return m_currentFileName; }
    [[nodiscard]] bool changed() const { return m_changedFlag; }

    // Commands; the menu, toolbar and popup entries all run these.
    void OpenTFR1Click();
    void SaveTFR1Click();
    void SaveAs1Click();
    void ToolbarButton974Click();  // New Pilot
    void BSF1Click();
    void FORMClick();  // About
    void Close1Click();

    // The activation routine: loads the command-line file or refreshes the fields. Runs
    // once, right after the window is first shown.
    void Button1Click();

    void LoadPilotFile(const QString& path);
    void RefreshAllFields();
    void MarkChanged();
    void ClearChanged();
    void UpdateTotalScore();
    void UpdateKillsTotal();

    [[nodiscard]] reports::TForm2* bsfForm() const { return m_form2; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Window layout (TForm1.cpp).
    void fitToClientArea();
    void createGroups(QWidget* client);
    [[nodiscard]] QWidget* createStatusBar(QWidget* parent);

    // Command surfaces (MainCommands.cpp).
    void createMenus();
    void createToolBar();
    void createPopupMenu1();
    void offerPopup(QWidget* widget);

    // Storage (FileCommands.cpp).
    [[nodiscard]] bool SavePilotFile(const QString& fileName);
    void saveRecordAs(const QString& chosenName);
    void saveReport(const QString& chosenName);
    void setTitle();
    void showError(const pilot::IoError& error);

    QStringList m_arguments;
    ui::DialogService& m_dialogs;
    pilot::PilotRecord m_record;
    QString m_currentFileName;
    bool m_changedFlag = false;
    bool m_activated = false;
    bool m_centred = false;

    ui::FileDialog m_openDialog;
    ui::FileDialog m_saveDialog;

    GeneralStatsGroup* m_general = nullptr;
    TrainingGroup* m_training = nullptr;
    CombatChamberGroup* m_combat = nullptr;
    BattleStatsGroup* m_battle = nullptr;
    ShipKillsGroup* m_shipKills = nullptr;
    BsfGenerationGroup* m_bsfGeneration = nullptr;
    QLabel* m_changedPanel = nullptr;
    QMenu* m_popup = nullptr;
    reports::TForm2* m_form2 = nullptr;
};

}  // namespace editor
