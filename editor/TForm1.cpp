#include "TForm1.h"

#include <algorithm>
#include <vector>

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "BattleStatsGroup.h"
#include "BsfGenerationGroup.h"
#include "CombatChamberGroup.h"
#include "DiskChangeBar.h"
#include "EditHistory.h"
#include "FileWatch.h"
#include "GeneralStatsGroup.h"
#include "OpeningNotice.h"
#include "Pictures.h"
#include "PilotFileDrop.h"
#include "ShipKillsGroup.h"
#include "TForm2.h"
#include "Totals.h"
#include "TrainingGroup.h"
#include "WindowStyle.h"

namespace editor {

namespace {

// The client area below the menu bar: a 24-pixel toolbar dock on top, the 12-pixel status
// bar at the bottom and the groups in between.
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 438;
constexpr int kDockHeight = 24;
constexpr int kStatusBarHeight = 12;
constexpr int kGroupAreaHeight = kClientHeight - kDockHeight - kStatusBarHeight;

// Group positions in client coordinates (the dock included).
constexpr QRect kGeneralRect(0, 26, 120, 399);
constexpr QRect kTrainingRect(120, 26, 149, 107);
constexpr QRect kCombatRect(270, 26, 145, 107);
constexpr QRect kBattleRect(120, 134, 295, 193);
constexpr QRect kShipKillsRect(416, 26, 216, 399);
constexpr QRect kBsfGenerationRect(120, 328, 295, 97);

constexpr std::array kPanelWidths = {270, 100, 350};
constexpr int kPanelGap = 2;

}  // namespace

TForm1::TForm1(QStringList arguments, ui::DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_arguments(std::move(arguments)),
      m_dialogs(dialogs),
      m_openDialog({.mode = ui::FileDialogOptions::Mode::Open,
                    .title = QStringLiteral("Load Pilotfile"),
                    .filters = {QStringLiteral("TFR Files (*.TFR)")},
                    .defaultSuffix = QStringLiteral("TFR")}),
      m_saveDialog(
          {.mode = ui::FileDialogOptions::Mode::Save,
           .title = QStringLiteral("Save Pilotfile"),
           .filters = {QStringLiteral("TFR File (*.TFR)"), QStringLiteral("Text File (*.TXT)")},
           .defaultSuffix = QStringLiteral("TFR"),
           .confirmOverwrite = true}),
      m_compareDialog({.mode = ui::FileDialogOptions::Mode::Open,
                       .title = QStringLiteral("Compare With"),
                       .filters = {QStringLiteral("TFR Files (*.TFR)")},
                       .defaultSuffix = QStringLiteral("TFR")}) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Brevanta"));
    setWindowIcon(ui::picture(QStringLiteral("brevanta")));
    setFont(ui::windowFont(ui::kWindowFontPixels));
    // Only the status bar and the groups offer the popup menu.
    setContextMenuPolicy(Qt::NoContextMenu);

    m_history = new EditHistory(
        [this] { return currentState(); },
        [this](const WindowState& state, const WindowState& other) { showState(state, other); },
        this);
    createPopupMenu1();
    createMenus();
    createToolBar();
    createContextMenuKey();

    // The groups keep their client positions below the dock, also while the toolbar floats;
    // the notices of a file changed on disk and of values changed by opening push them down
    // while they are shown.
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addStretch();
    m_diskChangeBar = new DiskChangeBar(central);
    centralLayout->addWidget(m_diskChangeBar);
    connect(m_diskChangeBar, &DiskChangeBar::shownChanged, this, &TForm1::fitToClientArea);
    connect(m_diskChangeBar, &DiskChangeBar::mergeRequested, this, &TForm1::mergeWithDisk);
    connect(m_diskChangeBar, &DiskChangeBar::reloadRequested, this, &TForm1::reloadFromDisk);
    connect(m_diskChangeBar, &DiskChangeBar::overwriteRequested, this, &TForm1::overwriteDisk);
    m_fileWatch = new FileWatch(this);
    connect(m_fileWatch, &FileWatch::changed, this, &TForm1::checkFileOnDisk);
    m_openingNotice = new OpeningNotice(central);
    centralLayout->addWidget(m_openingNotice);
    connect(m_openingNotice, &OpeningNotice::shownChanged, this, &TForm1::fitToClientArea);
    connect(m_openingNotice, &OpeningNotice::listRequested, this, &TForm1::ProblemsClick);
    auto* groupArea = new QWidget(central);
    groupArea->setFixedSize(kClientWidth, kGroupAreaHeight);
    // The groups' smaller font, given before they are made: each field is laid out once,
    // in the font it is shown in.
    groupArea->setFont(ui::windowFont(ui::kGroupFontPixels));
    centralLayout->addWidget(groupArea);
    QLabel* countPanel = nullptr;
    centralLayout->addWidget(createStatusBar(central, countPanel));
    setCentralWidget(central);
    createGroups(groupArea);
    createProblemMarks(*countPanel);

    for (QWidget* group : recordGroups()) {
        m_history->watch(group);
        watchForProblems(group);
    }
    m_history->restart();
    connect(new PilotFileDrop(this), &PilotFileDrop::dropped, this, &TForm1::openFile);

    fitToClientArea();
}

// The window is as large as the client area plus the menu bar, whose height depends on the
// desktop's style: measured again when the window is first shown.
void TForm1::fitToClientArea() {
    int notices = 0;
    for (const QWidget* notice :
         {static_cast<QWidget*>(m_diskChangeBar), static_cast<QWidget*>(m_openingNotice)}) {
        notices += notice->isHidden() ? 0 : notice->minimumHeight();
    }
    setFixedSize(kClientWidth, menuBar()->sizeHint().height() + kClientHeight + notices);
}

std::array<QWidget*, 5> TForm1::recordGroups() const {
    return {m_general, m_training, m_combat, m_battle, m_shipKills};
}

TForm1::~TForm1() = default;

void TForm1::createGroups(QWidget* client) {
    const auto markChanged = [this] { MarkChanged(); };
    // Created in the order of the keyboard focus across the groups.
    m_general = new GeneralStatsGroup(m_record, markChanged, client);
    m_training = new TrainingGroup(m_record, markChanged, client);
    m_combat = new CombatChamberGroup(m_record, markChanged, client);
    m_battle = new BattleStatsGroup(
        m_record, markChanged, [this] { m_totalScoreUpdate.request(); }, client);
    m_shipKills = new ShipKillsGroup(
        m_record, markChanged, [this] { m_killsTotalUpdate.request(); }, client);
    m_bsfGeneration = new BsfGenerationGroup(client);

    const std::array<std::pair<QGroupBox*, QRect>, 6> placement = {{
        {m_general, kGeneralRect},
        {m_training, kTrainingRect},
        {m_combat, kCombatRect},
        {m_battle, kBattleRect},
        {m_shipKills, kShipKillsRect},
        {m_bsfGeneration, kBsfGenerationRect},
    }};
    for (const auto& [group, rect] : placement) {
        group->setGeometry(rect.translated(0, -kDockHeight));
        offerPopup(group);
    }
    // The fields of all groups but the kill counters show the popup instead of their own
    // context menu.
    for (QGroupBox* group : std::initializer_list<QGroupBox*>{m_general, m_training, m_combat,
                                                              m_battle, m_bsfGeneration}) {
        for (QWidget* field : group->findChildren<QWidget*>()) {
            if (field->inherits("QLineEdit") || field->inherits("QComboBox")) {
                offerPopup(field);
            }
        }
    }
}

// A plain row of three panels: a QStatusBar keeps a few pixels above its items, which a
// 12-pixel bar cannot spare.
QWidget* TForm1::createStatusBar(QWidget* parent, QLabel*& countPanel) {
    auto* bar = new QFrame(parent);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFont(ui::windowFont(ui::kGroupFontPixels));
    bar->setFixedSize(kClientWidth, kStatusBarHeight);
    bar->setAccessibleName(QStringLiteral("Status bar"));
    int left = 0;
    // Object names, and the names screen readers give the panels.
    const std::array<std::pair<QString, QString>, 3> names = {{
        {QStringLiteral("StatusPanel1"), QStringLiteral("First status panel, empty")},
        {QStringLiteral("ChangedPanel"), QString()},  // says whether CHANGED shows
        {QStringLiteral("StatusPanel3"), QStringLiteral("Third status panel, empty")},
    }};
    for (std::size_t i = 0; i < kPanelWidths.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(names[i].first);
        panel->setAccessibleName(names[i].second);
        panel->setGeometry(left, 0, kPanelWidths[i], kStatusBarHeight);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        left += kPanelWidths[i] + kPanelGap;
        if (i == 0) {
            m_keepNotice = panel;
        } else if (i == 1) {
            panel->setAlignment(Qt::AlignCenter);
            panel->setAccessibleDescription(QStringLiteral(
                "Shows CHANGED after an edit until the next load, New Pilot or Save"));
            m_changedPanel = panel;
        } else if (i == 2) {
            countPanel = panel;
        }
    }
    offerPopup(bar);
    ClearChanged();
    return bar;
}

// The panel's name tells a screen reader what the mark says, shown or not.
void TForm1::MarkChanged() {
    m_changedFlag = true;
    m_changedPanel->setText(QStringLiteral("CHANGED"));
    m_changedPanel->setAccessibleName(QStringLiteral("Changed"));
    showUnsavedEdits();
}

// The notice of a file changed on disk says whether its Reload drops changes.
void TForm1::showUnsavedEdits() {
    if (m_diskChangeBar != nullptr) {
        m_diskChangeBar->setUnsavedEdits(m_changedFlag);
    }
}

void TForm1::ClearChanged() {
    m_changedFlag = false;
    m_changedPanel->clear();
    m_changedPanel->setAccessibleName(QStringLiteral("Not changed"));
    showUnsavedEdits();
}

// Every mission score and kill counter whose text changes asks for its total; each total is
// added up once, after the last of its fields is shown. The goal boxes of battle 1 are set
// with its other details, each once to its final state. The problems are looked for once,
// at the end.
void TForm1::RefreshAllFields() {
    m_problemCheck.batch([this] {
        m_general->showSelectors();
        m_general->showCounts();
        m_totalScoreUpdate.batch([this] { m_battle->showFirstBattleScores(); });
        m_training->showFirstShip();
        m_combat->showFirstShipAndMission();
        m_battle->showFirstBattleDetails();
        m_killsTotalUpdate.batch([this] { m_shipKills->showCounters(); });
        m_general->showSkill();
        m_combat->showCompleted();
        m_problemCheck.request();
    });
}

void TForm1::UpdateTotalScore() {
    m_record.setI32(pilot::Field::TotalScore, pilot::storedTotalScore(m_record));
    m_general->showTotalScore();
}

void TForm1::UpdateKillsTotal() {
    m_record.setU16(pilot::Field::Kills, pilot::storedKillsTotal(m_record));
    m_general->showKills();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_centred) {
        m_centred = true;
        fitToClientArea();
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
    if (!m_activated) {
        // Right after the first show, not on an activation event: a bare X server without
        // a window manager never sends one.
        QTimer::singleShot(0, this, &TForm1::Button1Click);
    }
}

// Runs once: coming back from the About box or the form keeps the user's unsaved edits.
void TForm1::Button1Click() {
    if (m_activated) {
        return;
    }
    m_activated = true;
    if (m_arguments.size() == 1) {
        LoadPilotFile(m_arguments.first());
    } else {
        RefreshAllFields();
        m_history->restart();
    }
}

bsfwindow::TForm2* TForm1::bsfForm() {
    if (m_bsfForm == nullptr) {
        m_bsfForm = new bsfwindow::TForm2(m_record, m_dialogs, this);
        connect(m_bsfForm, &bsfwindow::TForm2::textsReturned, m_bsfGeneration,
                &BsfGenerationGroup::setTexts);
    }
    return m_bsfForm;
}

void TForm1::BSF1Click() {
    bsfForm()->handOver(
        {m_bsfGeneration->texts(), m_battle->selectedBattle(), m_combat->selectedCraft()});
}

void TForm1::FORMClick() {
    m_dialogs.showAbout(dialogParent());
}

void TForm1::Close1Click() {
    close();
}

}  // namespace editor
