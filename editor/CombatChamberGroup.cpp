#include "CombatChamberGroup.h"

#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "Controls.h"
#include "ElementNames.h"
#include "NumberField.h"
#include "PilotRecord.h"

namespace editor {

namespace {

using pilot::Field;

QStringList missionEntries() {
    QStringList entries;
    for (std::size_t mission = 1; mission <= pilot::kMissions; ++mission) {
        entries.append(QStringLiteral("Mission %1").arg(mission));
    }
    return entries;
}

// Positions inside the group.
constexpr int kLeft = 6;
constexpr int kWidth = 133;
constexpr int kScoreRowTop = 64;

static_assert(pilot::editedAs(Field::CombatScore, pilot::Editing::NumberRule) &&
              pilot::editedAs(Field::CombatCompleted, pilot::Editing::Flag));

}  // namespace

CombatChamberGroup::CombatChamberGroup(pilot::PilotRecord& record,
                                       std::function<void()> markChanged, QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)) {
    setTitle(QStringLiteral(" Combat Chamber "));
    m_shipBox =
        ui::makeSelector(this, QStringLiteral("CombatShipBox1"), ui::craftEntries(), QString(),
                         QStringLiteral("Shiptype"), QRect(kLeft, 16, kWidth, 20));
    m_missionBox =
        ui::makeSelector(this, QStringLiteral("CombatMissionBox1"), missionEntries(), QString(),
                         QStringLiteral("Combat Chamber Mission"), QRect(kLeft, 40, kWidth, 20));
    QLineEdit* score = ui::makeEdit(this, QStringLiteral("CombatMisScore"), QString(),
                                    QRect(kLeft, kScoreRowTop + 16, kWidth, 18));
    m_shipBox->setAccessibleName(QStringLiteral("Combat chamber craft"));
    m_missionBox->setAccessibleName(QStringLiteral("Combat chamber mission"));
    score->setAccessibleName(QString::fromStdString(pilot::fieldTitle(Field::CombatScore)));
    m_scoreLabel =
        ui::makeLabel(this, QStringLiteral("CombatMisScoreLabel"), QStringLiteral("Mission Score:"),
                      QRect(kLeft, kScoreRowTop, 80, 12), score);
    m_scoreField = new NumberField(
        score, m_record,
        [this]() -> std::optional<Slot> {
            const auto element = selectedElement();
            if (!element) {
                return std::nullopt;
            }
            return Slot{Field::CombatScore, element->craft, element->mission};
        },
        m_markChanged);
    m_completedBox = new QCheckBox(QStringLiteral("C"), this);
    m_completedBox->setObjectName(QStringLiteral("CheckBox18"));
    m_completedBox->setAccessibleName(
        QString::fromStdString(pilot::fieldTitle(Field::CombatCompleted)));
    m_completedBox->setToolTip(
        QStringLiteral("Shows if the mission has been successfully completed"));
    m_completedBox->setGeometry(100, kScoreRowTop - 2, 39, 17);
    m_completedBox->setEnabled(false);

    m_missionBox->hide();
    m_scoreLabel->hide();
    score->hide();

    connect(m_shipBox, &QComboBox::activated, this, &CombatChamberGroup::CombatShipBox1Change);
    connect(m_missionBox, &QComboBox::activated, this,
            &CombatChamberGroup::CombatMissionBox1Change);
    connect(m_completedBox, &QCheckBox::toggled, this, &CombatChamberGroup::CheckBox18Click);
}

void CombatChamberGroup::showFirstShipAndMission() {
    m_shipBox->setCurrentIndex(0);
    m_missionBox->setCurrentIndex(0);
    revealMissionControls();
    m_scoreField->show();
}

void CombatChamberGroup::showCompleted() {
    if (const auto element = selectedElement()) {
        m_completedBox->setChecked(
            m_record.u8(Field::CombatCompleted, element->craft, element->mission) == 1);
    }
}

std::optional<std::size_t> CombatChamberGroup::selectedCraft() const {
    return ui::selectedEntry(*m_shipBox);
}

void CombatChamberGroup::CombatShipBox1Change() {
    if (m_missionBox->isHidden()) {
        m_missionBox->setCurrentIndex(0);
    }
    revealMissionControls();
    CombatMissionBox1Change();
}

void CombatChamberGroup::CombatMissionBox1Change() {
    showSelectedMission();
}

void CombatChamberGroup::showSelectedMission() {
    m_scoreField->show();
    showCompleted();
}

void CombatChamberGroup::CheckBox18Click(bool checked) {
    if (const auto element = selectedElement()) {
        m_record.setU8(Field::CombatCompleted, checked ? 1 : 0, element->craft, element->mission);
    }
}

std::optional<FieldPlace> CombatChamberGroup::placeOf(const pilot::RecordItem& item) const {
    const pilot::ElementPath& path = item.path;
    if (item.kind != pilot::RecordItem::Kind::Element || path.row >= pilot::kShownCrafts ||
        path.column >= pilot::kMissions ||
        (path.field != Field::CombatScore && path.field != Field::CombatCompleted)) {
        return std::nullopt;
    }
    QWidget* control = path.field == Field::CombatScore
                           ? static_cast<QWidget*>(m_scoreField->edit())
                           : m_completedBox;
    return FieldPlace{
        {control},
        {{m_shipBox, static_cast<int>(path.row)}, {m_missionBox, static_cast<int>(path.column)}}};
}

std::optional<CombatChamberGroup::Element> CombatChamberGroup::selectedElement() const {
    const auto craft = ui::selectedEntry(*m_shipBox);
    const auto mission = ui::selectedEntry(*m_missionBox);
    if (!craft || !mission) {
        return std::nullopt;
    }
    return Element{*craft, *mission};
}

void CombatChamberGroup::revealMissionControls() {
    m_missionBox->show();
    m_scoreLabel->show();
    m_scoreField->edit()->show();
    m_completedBox->setEnabled(true);
}

}  // namespace editor
