#include "GeneralStatsGroup.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <utility>

#include <QComboBox>
#include <QLineEdit>

#include "Controls.h"
#include "ElementNames.h"
#include "NumberField.h"
#include "PilotRecord.h"

namespace editor {

namespace {

using pilot::Field;

struct SelectorRow {
    const char* name;
    const char* placeholder;
    const char* tooltipHeader;
    Field field;  // its enumeration gives the entries
    void (GeneralStatsGroup::*handler)();
};

// Top to bottom, which is also the focus order.
constexpr std::array<SelectorRow, GeneralStatsGroup::kSelectorCount> kSelectorRows = {{
    {"RankBox", "Rank", "Rank of the current pilot:", Field::Rank,
     &GeneralStatsGroup::RankBoxChange},
    {"SecOrderBox", "Secret Order Rank", "Pilots Secret Order position:", Field::SecretOrder,
     &GeneralStatsGroup::SecOrderBoxChange},
    {"DifficultyBox", "Difficulty", "Difficulty Level:", Field::Difficulty,
     &GeneralStatsGroup::DifficultyBoxChange},
    {"PilotStatusBox", "Pilot Status", "Pilot's current status:", Field::PilotStatus,
     &GeneralStatsGroup::PilotStatusBoxChange},
}};

struct NumberRow {
    const char* name;
    const char* label;
    const char* tooltip;
    Field field;
};

// Top to bottom; the refresh shows them in this order too, Skill apart.
constexpr std::array<NumberRow, GeneralStatsGroup::kNumberFieldCount> kNumberRows = {{
    {"TotalScoreEdit1", "Total Score:", "Total archived score", Field::TotalScore},
    {"KillsEdit", "Kills:", "Total number of kills", Field::Kills},
    {"CapturesEdit", "Captures:", "Number of captured ships", Field::Captures},
    {"LaserShotsEdit", "Lasershots:", "Fired Lasershots", Field::LaserShots},
    {"LaserHitsEdit", "Laserhits:", "Laserhits: DON'T use a number > Lasershots", Field::LaserHits},
    {"WarheadShotsEdit", "Warheadshots:", "Fired Warheads", Field::WarheadShots},
    {"WarheadHitsEdit", "Warheadhits:", "Warheadhits: DON'T use a number > Warheadshots",
     Field::WarheadHits},
    {"CraftLostEdit", "Craft Lost:", "The total number of lost crafts", Field::CraftLost},
    {"Edit83", "Skill:", "Skill level of pilot", Field::Skill},
}};

// Each row's control edits its field as the field table says.
static_assert(std::ranges::all_of(kSelectorRows, [](const SelectorRow& row) {
    return pilot::editedAs(row.field, pilot::Editing::Selector);
}));
static_assert(std::ranges::all_of(kNumberRows, [](const NumberRow& row) {
    return pilot::editedAs(row.field, pilot::Editing::NumberRule);
}));

// The row of a table that shows `field`.
template <typename Rows>
std::size_t rowOf(const Rows& rows, Field field) {
    const auto row = std::ranges::find(rows, field, &Rows::value_type::field);
    assert(row != rows.end() && "the group has no control for this field");
    return static_cast<std::size_t>(row - rows.begin());
}

// Positions inside the group.
constexpr int kLeft = 6;
constexpr int kWidth = 108;
constexpr int kSelectorTop = 16;
constexpr int kSelectorStep = 22;
constexpr int kSelectorHeight = 20;
constexpr int kRowsTop = 106;
constexpr int kRowStep = 32;
constexpr int kLabelHeight = 12;
constexpr int kEditHeight = 18;

}  // namespace

GeneralStatsGroup::GeneralStatsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                                     QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)) {
    setTitle(QStringLiteral(" General Pilot Stats "));
    for (std::size_t i = 0; i < kSelectorRows.size(); ++i) {
        const SelectorRow& row = kSelectorRows[i];
        const QStringList entries = ui::entryTexts(pilot::fieldInfo(row.field).enumeration);
        const int top = kSelectorTop + static_cast<int>(i) * kSelectorStep;
        m_selectors[i] = ui::makeSelector(
            this, QString::fromLatin1(row.name), entries, QString::fromLatin1(row.placeholder),
            ui::entriesTooltip(QString::fromLatin1(row.tooltipHeader), entries),
            QRect(kLeft, top, kWidth, kSelectorHeight));
        // Named for what it chooses; the tooltip's header says it once more, without the list.
        m_selectors[i]->setAccessibleName(QString::fromStdString(pilot::fieldTitle(row.field)));
        m_selectors[i]->setAccessibleDescription(
            ui::nameFromLabel(QString::fromLatin1(row.tooltipHeader)));
        connect(m_selectors[i], &QComboBox::activated, this, row.handler);
    }
    for (std::size_t i = 0; i < kNumberRows.size(); ++i) {
        const NumberRow& row = kNumberRows[i];
        const QString name = QString::fromLatin1(row.name);
        const int top = kRowsTop + static_cast<int>(i) * kRowStep;
        QLineEdit* edit = ui::makeEdit(this, name, QString::fromLatin1(row.tooltip),
                                       QRect(kLeft, top + kLabelHeight, kWidth, kEditHeight));
        const QString label = QString::fromLatin1(row.label);
        ui::makeLabel(this, name + QStringLiteral("Label"), label,
                      QRect(kLeft, top, kWidth, kLabelHeight), edit);
        edit->setAccessibleName(QString::fromStdString(pilot::fieldTitle(row.field)));
        m_numberFields[i] = new NumberField(edit, m_record, Slot{row.field}, m_markChanged);
    }
}

void GeneralStatsGroup::showSelectors() {
    for (std::size_t i = 0; i < kSelectorRows.size(); ++i) {
        ui::showEntry(*m_selectors[i], m_record.u8(kSelectorRows[i].field));
    }
}

void GeneralStatsGroup::showCounts() {
    for (std::size_t i = 0; i < kNumberRows.size(); ++i) {
        if (kNumberRows[i].field != Field::Skill) {
            m_numberFields[i]->show();
        }
    }
}

void GeneralStatsGroup::showSkill() {
    numberField(Field::Skill).show();
}
void GeneralStatsGroup::showTotalScore() {
    numberField(Field::TotalScore).show();
}
void GeneralStatsGroup::showKills() {
    numberField(Field::Kills).show();
}

void GeneralStatsGroup::RankBoxChange() {
    storeChoice(Field::Rank);
}
void GeneralStatsGroup::SecOrderBoxChange() {
    storeChoice(Field::SecretOrder);
}
void GeneralStatsGroup::DifficultyBoxChange() {
    storeChoice(Field::Difficulty);
}
void GeneralStatsGroup::PilotStatusBoxChange() {
    storeChoice(Field::PilotStatus);
}

void GeneralStatsGroup::storeChoice(Field field) {
    // The list takes no typed text, so a choice is always one of its entries.
    const auto entry = ui::selectedEntry(*m_selectors[rowOf(kSelectorRows, field)]);
    if (!entry) {
        return;
    }
    m_record.setU8(field, static_cast<std::uint8_t>(*entry));
    m_markChanged();
}

std::optional<FieldPlace> GeneralStatsGroup::placeOf(const pilot::RecordItem& item) const {
    if (item.kind != pilot::RecordItem::Kind::Element) {
        return std::nullopt;
    }
    const Field field = item.path.field;
    for (std::size_t i = 0; i < kSelectorRows.size(); ++i) {
        if (kSelectorRows[i].field == field) {
            return FieldPlace{{m_selectors[i]}, {}};
        }
    }
    for (std::size_t i = 0; i < kNumberRows.size(); ++i) {
        if (kNumberRows[i].field == field) {
            return FieldPlace{{m_numberFields[i]->edit()}, {}};
        }
    }
    return std::nullopt;
}

NumberField& GeneralStatsGroup::numberField(Field field) {
    return *m_numberFields[rowOf(kNumberRows, field)];
}

}  // namespace editor
