#include "ShipKillsGroup.h"

#include <string_view>
#include <utility>

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

#include "Controls.h"
#include "ElementNames.h"
#include "NumberField.h"
#include "PilotRecord.h"
#include "ShipKillsTable.h"

namespace editor {

namespace {

constexpr int kEditInnerMargin = 2;

static_assert(pilot::editedAs(pilot::Field::ShipKills, pilot::Editing::NumberRule));

}  // namespace

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
        const QString name = QStringLiteral("Edit%1").arg(kFirstCounterEdit + index);
        QLineEdit* edit = ui::makeEdit(this, name, QStringLiteral("Destroyed ships of this type"),
                                       counterEditRect(counter));
        // Five digits (65534) need the whole inside of the 28-pixel edit: the text runs from
        // frame to frame, over the edit's own margin of two pixels on either side.
        edit->setTextMargins(-kEditInnerMargin, 0, -kEditInnerMargin, 0);
        // With its edit as buddy the label reads "&&" as one ampersand.
        const std::string_view labelText = pilot::kShipKillLabels[index];
        const QString label =
            QString::fromLatin1(labelText.data(), static_cast<qsizetype>(labelText.size()));
        m_labels[index] = ui::makeLabel(this, name + QStringLiteral("Label"),
                                        QString(label).replace(u'&', QStringLiteral("&&")),
                                        counterLabelRect(counter), edit);
        m_labels[index]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // "Kills of T/F": the label that names the craft, and what the field counts.
        edit->setAccessibleName(QString::fromStdString(
            pilot::elementTitle(pilot::ElementPath{pilot::Field::ShipKills, index})));
        edit->setAccessibleDescription(QStringLiteral("Destroyed ships of the type ") + label);
        m_counters[index] =
            new NumberField(edit, m_record, Slot{pilot::Field::ShipKills, index}, [this] {
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

std::optional<FieldPlace> ShipKillsGroup::placeOf(const pilot::RecordItem& item) const {
    if (item.kind != pilot::RecordItem::Kind::Element ||
        item.path.field != pilot::Field::ShipKills || item.path.row >= m_counters.size()) {
        return std::nullopt;
    }
    return FieldPlace{{m_counters[item.path.row]->edit()}, {}};
}

bool ShipKillsGroup::event(QEvent* event) {
    const bool handled = QGroupBox::event(event);
    // Fitted once the group has the font it is shown in, before its first show, and again
    // whenever that font changes afterwards.
    if (event->type() == QEvent::Polish ||
        (event->type() == QEvent::FontChange && testAttribute(Qt::WA_WState_Polished))) {
        ui::condenseToFit(m_labels, font());
    }
    return handled;
}

}  // namespace editor
