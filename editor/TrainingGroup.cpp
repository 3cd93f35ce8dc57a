#include "TrainingGroup.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QComboBox>
#include <QLineEdit>

#include "Controls.h"
#include "ElementNames.h"
#include "NumberField.h"
#include "PilotRecord.h"

namespace editor {

namespace {

// Positions inside the group.
constexpr int kLeft = 6;
constexpr int kEditLeft = 72;
constexpr int kEditWidth = 71;
constexpr int kLabelWidth = kEditLeft - kLeft;

struct FieldRow {
    const char* name;
    const char* label;
    const char* tooltip;
    pilot::Field field;  // the element of the selected ship
    int top;
};

constexpr std::array<FieldRow, 2> kFieldRows = {{
    {"ScoreEdit1", "Score:", "Overallscore for this ship", pilot::Field::TrainingScore, 42},
    {"LevelEdit2", "Highest Level:", "Highest Level reached with this ship",
     pilot::Field::TrainingLevel, 66},
}};
static_assert(std::ranges::all_of(kFieldRows, [](const FieldRow& row) {
    return pilot::editedAs(row.field, pilot::Editing::NumberRule);
}));

}  // namespace

TrainingGroup::TrainingGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                             QWidget* parent)
    : QGroupBox(parent), m_record(record), m_markChanged(std::move(markChanged)) {
    setTitle(QStringLiteral(" Training Missions (Maze)"));
    m_shipBox = ui::makeSelector(this, QStringLiteral("TrainingShipBox"), ui::craftEntries(),
                                 QStringLiteral("Training Ship"), QStringLiteral("Shiptype"),
                                 QRect(kLeft, 16, 137, 20));
    m_shipBox->setAccessibleName(QStringLiteral("Training craft"));
    connect(m_shipBox, &QComboBox::activated, this, &TrainingGroup::TrainingShipBoxChange);

    for (const FieldRow& row : kFieldRows) {
        const QString name = QString::fromLatin1(row.name);
        QLineEdit* edit = ui::makeEdit(this, name, QString::fromLatin1(row.tooltip),
                                       QRect(kEditLeft, row.top, kEditWidth, 18));
        edit->setAccessibleName(QString::fromStdString(pilot::fieldTitle(row.field)));
        ui::makeLabel(this, name + QStringLiteral("Label"), QString::fromLatin1(row.label),
                      QRect(kLeft, row.top + 3, kLabelWidth, 12), edit);
        const pilot::Field field = row.field;
        auto* numberField = new NumberField(
            edit, m_record,
            [this, field]() -> std::optional<Slot> {
                const auto ship = ui::selectedEntry(*m_shipBox);
                if (!ship) {
                    return std::nullopt;
                }
                return Slot{field, *ship};
            },
            m_markChanged);
        edit->setEnabled(false);
        m_fields.push_back(numberField);
    }
}

std::optional<FieldPlace> TrainingGroup::placeOf(const pilot::RecordItem& item) const {
    if (item.kind != pilot::RecordItem::Kind::Element || item.path.row >= pilot::kShownCrafts) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        if (kFieldRows[static_cast<std::size_t>(i)].field == item.path.field) {
            return FieldPlace{{m_fields[i]->edit()},
                              {{m_shipBox, static_cast<int>(item.path.row)}}};
        }
    }
    return std::nullopt;
}

void TrainingGroup::showFirstShip() {
    m_shipBox->setCurrentIndex(0);
    TrainingShipBoxChange();
}

void TrainingGroup::TrainingShipBoxChange() {
    for (NumberField* field : m_fields) {
        field->edit()->setEnabled(true);
        field->show();
    }
}

}  // namespace editor
