#include "FieldPlaces.h"

#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QWidget>

#include "Controls.h"

namespace editor {

namespace {

// A checked box or radio button first: arrows move on from the value shown.
QWidget* focusTarget(const std::vector<QWidget*>& controls) {
    QWidget* first = nullptr;
    for (QWidget* control : controls) {
        if (!control->isEnabled() || !control->isVisible()) {
            continue;
        }
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        if (button != nullptr && button->isChecked()) {
            return control;
        }
        first = first != nullptr ? first : control;
    }
    return first;
}

}  // namespace

bool Selection::current() const {
    return selector->currentIndex() == entry;
}

const Selection* FieldPlace::hiddenBehind() const {
    const auto hidden = std::ranges::find_if(
        selections, [](const Selection& selection) { return !selection.current(); });
    return hidden == selections.end() ? nullptr : &*hidden;
}

void FieldPlace::reach() const {
    for (const Selection& selection : selections) {
        if (!selection.current()) {
            ui::chooseEntry(*selection.selector, selection.entry);
        }
    }
    if (QWidget* target = focusTarget(controls)) {
        target->window()->activateWindow();
        target->setFocus(Qt::ShortcutFocusReason);
    }
}

std::optional<FieldPlace> FieldMap::placeOf(const pilot::RecordItem& item) const {
    for (const ShowsItems* group : m_groups) {
        if (auto place = group->placeOf(item)) {
            return place;
        }
    }
    return std::nullopt;
}

std::optional<FieldPlace> FieldMap::placeOf(const pilot::ElementPath& path) const {
    return placeOf(pilot::RecordItem{pilot::RecordItem::Kind::Element, path});
}

}  // namespace editor
