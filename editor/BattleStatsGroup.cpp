#include "BattleStatsGroup.h"

#include <cstdint>
#include <vector>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "Controls.h"
#include "NumberField.h"
#include "NumberText.h"
#include "PilotRecord.h"

namespace editor {

namespace {

using pilot::Field;
using pilot::kBattles;
using pilot::kMissions;

// Positions inside the group box. Missions 1..4 fill the left half, 5..8 the right half;
// each mission has its label, the score edit 10 pixels below it, and to the right of the
// edit the secondary-goal box, the bonus-goal box and the radio button.
constexpr int kMargin = 8;
constexpr int kTopRow = 12;
constexpr int kSelectorHeight = 21;
constexpr int kBattleBoxWidth = 75;
constexpr int kStatusBoxLeft = 88;
constexpr int kStatusBoxWidth = 199;
constexpr std::array<int, 2> kHalfLeft = {kMargin, 160};
constexpr std::size_t kRowsPerHalf = 4;
constexpr int kFirstLabelTop = 35;
constexpr int kRowPitch = 35;
constexpr int kEditBelowLabel = 10;
constexpr int kLabelWidth = 60;
constexpr int kLabelHeight = kEditBelowLabel;  // ends where its edit starts
constexpr int kEditWidth = 71;
constexpr int kEditHeight = 21;
constexpr int kBoxGap = 4;
constexpr int kBoxWidth = 15;
constexpr int kBoxPitch = 17;
constexpr int kBoxHeight = 17;
constexpr int kNoMissionTop = 172;
constexpr int kNoMissionWidth = 150;

// The goal columns in box order, then the radio column: head, hint, and the name after
// "Battle b, mission m " that Undo and screen readers give each box.
struct ColumnText {
    const char* head;
    const char* hint;
    const char* name;
};
constexpr std::array<ColumnText, 3> kColumns = {{
    {"S", "Indicates if the secondary goal has been completed", "secondary goal"},
    {"B", "Indicates if the bonus goal has been completed", "bonus goal"},
    {"C", "Indicates the last successfully completed mission", "last completed"},
}};
constexpr std::array<Field, 2> kGoalFields = {Field::BattleSecondaryGoals, Field::BattleBonusGoals};
constexpr std::size_t kRadioColumn = 2;
static_assert(pilot::editedAs(Field::BattleMissionScore, pilot::Editing::NumberRule) &&
              pilot::editedAs(Field::BattleSecondaryGoals, pilot::Editing::GoalBits) &&
              pilot::editedAs(Field::BattleBonusGoals, pilot::Editing::GoalBits) &&
              pilot::editedAs(Field::BattleLastMission, pilot::Editing::LastMission) &&
              pilot::editedAs(Field::BattleStatus, pilot::Editing::Selector));

QString numbered(const char* stem, std::size_t number) {
    return QString::fromLatin1(stem) + QString::number(number);
}

// "Battle 4, mission 3 score": a mission's control names the battle it shows.
QString missionControlName(std::size_t battle, std::size_t mission, const char* what) {
    return QStringLiteral("Battle %1, mission %2 %3")
        .arg(battle + 1)
        .arg(mission + 1)
        .arg(QString::fromLatin1(what));
}

struct MissionPlace {
    int left;
    int labelTop;
};

MissionPlace missionPlace(std::size_t mission) {
    const int row = static_cast<int>(mission % kRowsPerHalf);
    return {kHalfLeft[mission / kRowsPerHalf], kFirstLabelTop + row * kRowPitch};
}

int columnLeft(int halfLeft, std::size_t column) {
    return halfLeft + kEditWidth + kBoxGap + static_cast<int>(column) * kBoxPitch;
}

}  // namespace

BattleStatsGroup::BattleStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                                   std::function<void()> updateTotalScore, QWidget* parent)
    : QGroupBox(parent),
      m_record(record),
      m_markChanged(std::move(markChanged)),
      m_updateTotalScore(std::move(updateTotalScore)) {
    setTitle(QStringLiteral(" Battle Stats "));
    buildControls();
    chainTabOrder();
    nameMissionControls();
}

void BattleStatsGroup::buildControls() {
    m_battleBox = ui::makeSelector(this, QStringLiteral("BattleNRBox1"), ui::battleEntries(),
                                   QString(), QStringLiteral("Selected Tie Fighter Battle"),
                                   QRect(kMargin, kTopRow, kBattleBoxWidth, kSelectorHeight));
    m_battleBox->setCurrentIndex(0);  // the selector always shows the current battle
    m_battleBox->setAccessibleName(QStringLiteral("Battle"));
    m_battleBox->setAccessibleDescription(QStringLiteral("The battle the group shows"));
    connect(m_battleBox, &QComboBox::activated, this, &BattleStatsGroup::BattleNRBox1Change);

    // Qt's tool tips break lines at "\n" only; a CR LF would show a stray character.
    const QStringList statuses = ui::entryTexts(pilot::kBattleStatusNames);
    m_statusBox = ui::makeSelector(
        this, QStringLiteral("BattleStatusBox1"), statuses, QString(),
        ui::entriesTooltip(QStringLiteral("A Battle can have four stats:"), statuses),
        QRect(kStatusBoxLeft, kTopRow, kStatusBoxWidth, kSelectorHeight));
    m_statusBox->setAccessibleName(QStringLiteral("Battle status"));
    connect(m_statusBox, &QComboBox::activated, this, &BattleStatsGroup::BattleStatusBox1Change);

    for (const int halfLeft : kHalfLeft) {
        for (std::size_t column = 0; column < kColumns.size(); ++column) {
            ui::makeLabel(
                this, QString(), QString::fromLatin1(kColumns[column].head),
                QRect(columnLeft(halfLeft, column) + 3, kFirstLabelTop, kBoxWidth, kLabelHeight));
        }
    }

    m_radioGroup = new QButtonGroup(this);
    for (std::size_t mission = 0; mission < kMissions; ++mission) {
        const std::size_t number = mission + 1;
        const MissionPlace place = missionPlace(mission);
        const int editTop = place.labelTop + kEditBelowLabel;
        // Edit1Change .. Edit8Change: the number-field rule, then MarkChanged and the total.
        QLineEdit* edit =
            ui::makeEdit(this, numbered("Edit", number), QStringLiteral("Score of this mission"),
                         QRect(place.left, editTop, kEditWidth, kEditHeight));
        ui::makeLabel(this, QString(), QStringLiteral("Mission %1:").arg(number),
                      QRect(place.left, place.labelTop, kLabelWidth, kLabelHeight), edit);
        m_scores[mission] = new NumberField(
            edit, m_record,
            [this, mission]() -> std::optional<Slot> {
                return Slot{Field::BattleMissionScore, m_currentBattle, mission};
            },
            [this] {
                m_markChanged();
                m_updateTotalScore();
            });

        // CheckBox1Click .. CheckBox16Click: MarkChanged only; the tick waits for the commit.
        for (std::size_t column = 0; column < kGoalColumns; ++column) {
            auto* box = new QCheckBox(this);
            box->setObjectName(numbered("CheckBox", column * kMissions + number));
            box->setGeometry(columnLeft(place.left, column), editTop + 2, kBoxWidth, kBoxHeight);
            box->setToolTip(QString::fromLatin1(kColumns[column].hint));
            connect(box, &QCheckBox::toggled, this, [this] { m_markChanged(); });
            m_goals[column][mission] = box;
        }

        auto* radio = new QRadioButton(this);
        radio->setObjectName(numbered("RadioButton", number));
        radio->setGeometry(columnLeft(place.left, kRadioColumn), editTop + 2, kBoxWidth,
                           kBoxHeight);
        radio->setToolTip(QString::fromLatin1(kColumns[kRadioColumn].hint));
        m_radioGroup->addButton(radio);
        connect(radio, &QRadioButton::toggled, this,
                [this, mission](bool checked) { RadioButtonClick(mission, checked); });
        m_radios[mission] = radio;
    }

    m_noMissionBox = new QCheckBox(QStringLiteral("No mission finished"), this);
    m_noMissionBox->setObjectName(QStringLiteral("CheckBox17"));
    m_noMissionBox->setAccessibleName(m_noMissionBox->text());
    m_noMissionBox->setGeometry(kMargin, kNoMissionTop, kNoMissionWidth, kBoxHeight);
    connect(m_noMissionBox, &QCheckBox::toggled, this, &BattleStatsGroup::CheckBox17Click);
}

void BattleStatsGroup::chainTabOrder() const {
    std::vector<QWidget*> order = {m_battleBox, m_statusBox};
    for (const NumberField* score : m_scores) {
        order.push_back(score->edit());
    }
    for (const GoalColumn& column : m_goals) {
        order.insert(order.end(), column.begin(), column.end());
    }
    order.insert(order.end(), m_radios.begin(), m_radios.end());
    order.push_back(m_noMissionBox);
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void BattleStatsGroup::nameMissionControls() const {
    for (std::size_t mission = 0; mission < kMissions; ++mission) {
        m_scores[mission]->edit()->setAccessibleName(
            missionControlName(m_currentBattle, mission, "score"));
        for (std::size_t column = 0; column < kGoalColumns; ++column) {
            m_goals[column][mission]->setAccessibleName(
                missionControlName(m_currentBattle, mission, kColumns[column].name));
        }
        m_radios[mission]->setAccessibleName(
            missionControlName(m_currentBattle, mission, kColumns[kRadioColumn].name));
    }
}

void BattleStatsGroup::setCurrentBattle(std::size_t battle) {
    m_currentBattle = battle;
    nameMissionControls();
}

void BattleStatsGroup::showFirstBattleScores() {
    m_battleBox->setCurrentIndex(0);
    setCurrentBattle(0);
    showScores();
}

void BattleStatsGroup::showFirstBattleDetails() {
    showDetails();
}

void BattleStatsGroup::CommitBattleFields() {
    writeShownFields(m_record);
}

pilot::PilotRecord BattleStatsGroup::withShownFields(pilot::PilotRecord record) const {
    writeShownFields(record);
    return record;
}

void BattleStatsGroup::adoptShownBattle() {
    if (const auto battle = selectedBattle()) {
        setCurrentBattle(*battle);
    }
}

void BattleStatsGroup::writeShownFields(pilot::PilotRecord& record) const {
    for (std::size_t mission = 0; mission < kMissions; ++mission) {
        const auto text = m_scores[mission]->edit()->text().toStdString();
        record.setI32(Field::BattleMissionScore, pilot::parseNumber(text).value_or(0),
                      m_currentBattle, mission);
    }
    for (std::size_t column = 0; column < kGoalColumns; ++column) {
        std::uint8_t bits = 0;
        for (std::size_t mission = 0; mission < kMissions; ++mission) {
            if (m_goals[column][mission]->isChecked()) {
                bits = static_cast<std::uint8_t>(bits | (1u << mission));
            }
        }
        record.setU8(kGoalFields[column], bits, m_currentBattle);
    }
}

std::optional<std::size_t> BattleStatsGroup::selectedBattle() const {
    return ui::selectedEntry(*m_battleBox);
}

std::optional<FieldPlace> BattleStatsGroup::placeOf(const pilot::RecordItem& item) const {
    std::vector<QWidget*> controls = controlsOf(item);
    if (controls.empty()) {
        return std::nullopt;
    }
    return FieldPlace{std::move(controls), {{m_battleBox, static_cast<int>(item.path.row)}}};
}

std::vector<QWidget*> BattleStatsGroup::controlsOf(const pilot::RecordItem& item) const {
    if (item.path.row >= kBattles || item.path.column >= kMissions) {
        return {};
    }
    const auto goalColumn = [&item]() -> std::size_t {
        return item.path.field == Field::BattleSecondaryGoals ? 0 : 1;
    };
    switch (item.path.field) {
        case Field::BattleStatus:
            return {m_statusBox};
        case Field::BattleLastMission:
            return {m_radios.begin(), m_radios.end()};
        case Field::BattleMissionScore:
            return {m_scores[item.path.column]->edit()};
        case Field::BattleSecondaryGoals:
        case Field::BattleBonusGoals: {
            const GoalColumn& boxes = m_goals[goalColumn()];
            if (item.kind == pilot::RecordItem::Kind::GoalBit) {
                return {boxes[item.bit % kMissions]};
            }
            return {boxes.begin(), boxes.end()};
        }
        default:
            return {};
    }
}

void BattleStatsGroup::BattleNRBox1Change(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= kBattles ||
        static_cast<std::size_t>(index) == m_currentBattle) {
        return;
    }
    CommitBattleFields();
    setCurrentBattle(static_cast<std::size_t>(index));
    ShowBattle();
}

void BattleStatsGroup::BattleStatusBox1Change(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= pilot::kBattleStatusNames.size()) {
        return;
    }
    // A status change alone leaves the changed mark as it was.
    m_record.setU8(Field::BattleStatus, static_cast<std::uint8_t>(index), m_currentBattle);
}

void BattleStatsGroup::RadioButtonClick(std::size_t mission, bool checked) {
    if (!checked) {
        return;
    }
    m_record.setU8(Field::BattleLastMission, static_cast<std::uint8_t>(mission + 1),
                   m_currentBattle);
    m_markChanged();
}

void BattleStatsGroup::CheckBox17Click(bool ticked) {
    for (QRadioButton* radio : m_radios) {
        radio->setEnabled(!ticked);
    }
    if (ticked) {
        unselectRadios();
        m_record.setU8(Field::BattleLastMission, 0, m_currentBattle);
    } else {
        m_radios.front()->setChecked(true);  // stores 1 when it was not selected already
    }
    m_markChanged();
}

void BattleStatsGroup::ShowBattle() {
    showScores();
    showDetails();
}

void BattleStatsGroup::showDetails() {
    showGoals();
    showStatus();
    showLastMission();
}

void BattleStatsGroup::showScores() {
    for (NumberField* score : m_scores) {
        score->show();
    }
}

// The boxes are emptied and then ticked by the battle's bits, each set once, straight to
// its final state. A box that was ticked and is ticked again goes through no change of its
// own, but its rule would have run twice: the CHANGED mark comes out as it would.
void BattleStatsGroup::showGoals() {
    bool tickedAgain = false;
    for (std::size_t column = 0; column < kGoalColumns; ++column) {
        const std::uint8_t bits = m_record.u8(kGoalFields[column], m_currentBattle);
        for (std::size_t mission = 0; mission < kMissions; ++mission) {
            const bool tick = ((bits >> mission) & 1u) != 0;
            QCheckBox* box = m_goals[column][mission];
            tickedAgain = tickedAgain || (tick && box->isChecked());
            box->setChecked(tick);
        }
    }
    if (tickedAgain) {
        m_markChanged();
    }
}

void BattleStatsGroup::showStatus() {
    const std::uint8_t status = m_record.u8(Field::BattleStatus, m_currentBattle);
    // A status outside the list shows an empty box; the byte stays until the user picks one.
    ui::selectEntry(*m_statusBox, status);
}

void BattleStatsGroup::showLastMission() {
    const std::uint8_t last = m_record.u8(Field::BattleLastMission, m_currentBattle);
    if (last == 0) {
        unselectRadios();
    } else if (last <= kMissions) {
        m_radios[last - 1u]->setChecked(true);
    }
    // Any larger value leaves the radio buttons as they were.
}

void BattleStatsGroup::unselectRadios() {
    // An exclusive group keeps one button checked; lift the exclusivity to clear them all.
    // Unchecking runs no rule: the radios act only when they become checked.
    m_radioGroup->setExclusive(false);
    for (QRadioButton* radio : m_radios) {
        radio->setChecked(false);
    }
    m_radioGroup->setExclusive(true);
}

}  // namespace editor
