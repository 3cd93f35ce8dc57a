// The widgets of the Battle Submission Form: fixed positions on a 360 x 337 window.
#include "TForm2.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include "Accessibility.h"
#include "Controls.h"
#include "FieldTable.h"
#include "Pictures.h"
#include "WindowStyle.h"

namespace bsfwindow {

namespace {

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, QRect geometry,
                  QWidget* buddy = nullptr) {
    return ui::makeLabel(parent, latin1(name), latin1(text), geometry, buddy);
}

// A drop-down list: the user picks an entry, nothing can be typed. `purpose` names it for
// screen readers.
QComboBox* makeList(QWidget* parent, const char* name, const QStringList& items, QRect geometry,
                    const char* purpose) {
    QComboBox* list = ui::makeSelector(parent, latin1(name), items, QString(), QString(), geometry);
    list->setAccessibleName(latin1(purpose));
    return list;
}

QStringList missionNumbers() {
    QStringList numbers;
    for (std::size_t mission = 1; mission <= pilot::kMissions; ++mission) {
        numbers << QString::number(mission);
    }
    return numbers;
}

QFrame* makePanel(QWidget* parent, const char* name, QRect geometry, const char* purpose) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(latin1(name));
    panel->setAccessibleName(latin1(purpose));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(geometry);
    return panel;
}

}  // namespace

TForm2::TForm2(const pilot::PilotRecord& record, ui::DialogService& dialogs, QWidget* parent)
    : QMainWindow(parent),
      m_record(record),
      m_dialogs(dialogs),
      m_saveDialog({.mode = ui::FileDialogOptions::Mode::Save,
                    .title = QStringLiteral("Save BSF"),
                    .filters = {QStringLiteral("BATTLE SUBMISSION FORM (*.TXT)")},
                    .defaultSuffix = QStringLiteral("TXT"),
                    .confirmOverwrite = false,
                    .confirmCreate = true}) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Battle Submission Form"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFont(ui::windowFont(ui::kWindowFontPixels));
    buildMenu();

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* group = new QGroupBox(QStringLiteral(" Battle Submission Form"), central);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(4, 2, 352, 268);
    buildFields(group);
    buildBattlePanel(makePanel(group, "Panel1", {8, 94, 164, 166}, "Battle scores"));
    buildCombatPanel(makePanel(group, "Panel2", {180, 94, 164, 166}, "Combat chamber scores"));
    buildButtons(central);
    buildStatusLine(central);

    // The two radio buttons stand in different panels but exclude each other.
    auto* modes = new QButtonGroup(this);
    modes->addButton(m_battleModeButton);
    modes->addButton(m_combatModeButton);
    connect(m_battleModeButton, &QRadioButton::toggled, this, &TForm2::RadioButton1Click);
    connect(m_combatModeButton, &QRadioButton::toggled, this, &TForm2::RadioButton2Click);
    connect(m_battleBox, &QComboBox::activated, this, &TForm2::BattleBoxChange);
    m_battleModeButton->installEventFilter(this);
    m_combatModeButton->installEventFilter(this);
    connect(m_fromMissionBox, &QComboBox::activated, this, &TForm2::ComboBox1Change);
    connect(m_toMissionBox, &QComboBox::activated, this, &TForm2::ComboBox2Change);

    setFixedSize(360, 337);
}

void TForm2::buildMenu() {
    menuBar()->setAccessibleName(QStringLiteral("Menu bar"));
    QMenu* menu = menuBar()->addMenu(QStringLiteral("&BSF"));
    menu->setObjectName(QStringLiteral("BsfMenu"));
    QAction* save = menu->addAction(QStringLiteral("&Save BSF"));
    save->setObjectName(QStringLiteral("SaveBSF1"));
    menu->addSeparator();
    QAction* close = menu->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("CloseBSF1"));
    connect(save, &QAction::triggered, this, &TForm2::BitBtn2Click);
    connect(close, &QAction::triggered, this, &TForm2::BitBtn1Click);
    ui::openMenuBarWithF10(*this);
    // Escape closes the form as Close does; an open list takes it first, to close itself.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("CloseKey"));
    connect(escape, &QShortcut::activated, this, &TForm2::BitBtn1Click);
}

void TForm2::buildFields(QWidget* group) {
    struct TextRow {
        QLineEdit* TForm2::*edit;
        const char* name;
        const char* labelName;
        const char* label;
        const char* accessibleName;
        const char* hint;
        QRect labelGeometry;
        QRect editGeometry;
    };
    static const std::array<TextRow, 4> kRows = {{
        {&TForm2::m_idLineEdit,
         "Edit1",
         "Label1",
         "ID-Line:",
         "ID-Line",
         "Recipients Vessk ID-Line",
         {8, 18, 54, 21},
         {64, 18, 280, 21}},
        {&TForm2::m_battleNumberEdit,
         "Edit3",
         "Label3",
         "Battle Nr:",
         "Battle number",
         "Vessk-Battle Number",
         {8, 42, 54, 21},
         {64, 42, 56, 21}},
        {&TForm2::m_medalEdit,
         "Edit4",
         "Label4",
         "Medal:",
         "Medal",
         "Medalname",
         {128, 42, 38, 21},
         {168, 42, 176, 21}},
        {&TForm2::m_emailEdit,
         "Edit2",
         "Label2",
         "E-Mail:",
         "E-Mail",
         "Recipients E-Mail",
         {8, 66, 54, 21},
         {64, 66, 280, 21}},
    }};
    for (const TextRow& row : kRows) {
        QLineEdit* edit = ui::makeEdit(group, latin1(row.name), latin1(row.hint), row.editGeometry);
        edit->setAccessibleName(latin1(row.accessibleName));
        makeLabel(group, row.labelName, row.label, row.labelGeometry, edit);
        this->*row.edit = edit;
    }
}

void TForm2::buildBattlePanel(QWidget* panel) {
    m_battleModeButton = new QRadioButton(QStringLiteral("Include Battle"), panel);
    m_battleModeButton->setObjectName(QStringLiteral("RadioButton1"));
    m_battleModeButton->setToolTip(QStringLiteral("Write Battlescores"));
    m_battleModeButton->setGeometry(6, 6, 150, 20);

    m_battleBox = makeList(panel, "BattleBox", ui::battleEntries(), {6, 28, 150, 22}, "Battle");
    m_lastMissionBox = makeList(panel, "ComboBox3", missionNumbers(), {110, 56, 46, 22},
                                "Battle scores up to mission");
    m_lastMissionLabel =
        makeLabel(panel, "Label5", "From Mission 1 to:", {6, 56, 102, 22}, m_lastMissionBox);
    m_highscoreLabel = makeLabel(panel, "Label8", "Highscore in Mission:", {6, 84, 150, 20});

    for (std::size_t mission = 0; mission < m_highscoreBoxes.size(); ++mission) {
        auto* box = new QCheckBox(QString::number(mission + 1), panel);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(mission + 1));
        box->setAccessibleName(QStringLiteral("Highscore in mission %1").arg(mission + 1));
        box->setToolTip(QStringLiteral("Highscore archived in this mission"));
        const int column = static_cast<int>(mission % 4);
        const int row = static_cast<int>(mission / 4);
        box->setGeometry(6 + column * 38, 106 + row * 24, 36, 20);
        m_highscoreBoxes[mission] = box;
    }
}

void TForm2::buildCombatPanel(QWidget* panel) {
    m_combatModeButton = new QRadioButton(QStringLiteral("Include Combat Chamber"), panel);
    m_combatModeButton->setObjectName(QStringLiteral("RadioButton2"));
    m_combatModeButton->setToolTip(QStringLiteral("Write Combat Chamber scores"));
    m_combatModeButton->setGeometry(6, 6, 154, 20);

    m_combatBox =
        makeList(panel, "CombatBox", ui::craftEntries(), {6, 28, 150, 22}, "Combat chamber craft");
    m_combatBox->setEnabled(false);
    m_fromMissionBox =
        makeList(panel, "ComboBox1", missionNumbers(), {110, 56, 46, 22}, "From mission");
    m_fromMissionLabel =
        makeLabel(panel, "Label6", "From Mission:", {6, 56, 102, 22}, m_fromMissionBox);
    m_fromMissionLabel->setEnabled(false);
    m_toMissionBox =
        makeList(panel, "ComboBox2", missionNumbers(), {110, 84, 46, 22}, "To mission");
    m_toMissionLabel = makeLabel(panel, "Label7", "To Mission:", {6, 84, 102, 22}, m_toMissionBox);
    m_toMissionLabel->setEnabled(false);
}

void TForm2::buildButtons(QWidget* central) {
    struct ButtonRow {
        const char* name;
        const char* caption;
        const char* picture;
        QRect geometry;
        void (TForm2::*handler)();
    };
    static const std::array<ButtonRow, 2> kButtons = {{
        {"BitBtn1", "&Close", "close", {188, 276, 80, 25}, &TForm2::BitBtn1Click},
        {"BitBtn2", "Save BSF", "save", {276, 276, 80, 25}, &TForm2::BitBtn2Click},
    }};
    for (const ButtonRow& row : kButtons) {
        auto* button =
            new QPushButton(ui::picture(latin1(row.picture)), latin1(row.caption), central);
        button->setObjectName(latin1(row.name));
        button->setGeometry(row.geometry);
        connect(button, &QPushButton::clicked, this, row.handler);
    }
}

// Left of the buttons, in the group's smaller font: where the last Save put its form.
void TForm2::buildStatusLine(QWidget* central) {
    m_statusLine = makeLabel(central, "FormStatus", "", {6, 276, 178, 25});
    m_statusLine->setFont(ui::windowFont(ui::kGroupFontPixels));
    m_statusLine->setWordWrap(true);
    m_statusLine->hide();
}

}  // namespace bsfwindow
