#include "ShipKillsGroup.h"

#include <QLabel>
#include <QLineEdit>

#include "NumberField.h"
#include "PilotRecord.h"
#include "ShipKillsTable.h"

namespace editor {

ShipKillsGroup::ShipKillsGroup(pilot::PilotRecord& record, std::function<void()> markChanged,
                               std::function<void()> updateKillsTotal, QWidget* parent)
    : QGroupBox(parent),
      m_record(record),
      m_markChanged(std::move(markChanged)),
      m_updateKillsTotal(std::move(updateKillsTotal)) {
    setTitle(QStringLiteral(" Ship Kills "));
    setFixedSize(216, 399);
    // Created in tab order, which makes the focus chain run down each column in turn.
    for (const std::size_t index : counterTabOrder()) {
        const ShipKillCounter& counter = kShipKillsTable[index];
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(kFirstCounterEdit + index));
        edit->setGeometry(counterEditRect(counter));
        edit->setToolTip(QStringLiteral("Destroyed ships of this type"));

        // With its edit as buddy the label reads "&&" as one ampersand.
        auto* label = new QLabel(
            QString::fromLatin1(counter.label.data(), static_cast<qsizetype>(counter.label.size())),
            this);
        label->setGeometry(counterLabelRect(counter));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setBuddy(edit);

        m_counters[index] = new NumberField(
            edit, m_record,
            [index] {
                return Slot{pilot::Field::ShipKills, index};
            },
            [this] {
                m_markChanged();
                m_updateKillsTotal();
            });
    }
}

void ShipKillsGroup::showCounters() {
    for (NumberField* counter : m_counters) {
        counter->show();
    }
}

}  // namespace editor
