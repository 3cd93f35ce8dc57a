#include "FieldsView.h"

#include <cassert>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace editor {

namespace {

std::vector<QWidget*> controlsOf(std::span<QWidget* const> groups) {
    std::vector<QWidget*> controls;
    for (QWidget* group : groups) {
        for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (qobject_cast<QLineEdit*>(child) != nullptr ||
                qobject_cast<QComboBox*>(child) != nullptr ||
                qobject_cast<QAbstractButton*>(child) != nullptr ||
                qobject_cast<QLabel*>(child) != nullptr) {
                controls.push_back(child);
            }
        }
    }
    return controls;
}

}  // namespace

FieldsView FieldsView::capture(std::span<QWidget* const> groups) {
    FieldsView view;
    for (const QWidget* widget : controlsOf(groups)) {
        Control control;
        if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            control.text = edit->text();
        } else if (const auto* box = qobject_cast<const QComboBox*>(widget)) {
            control.index = box->currentIndex();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            control.checked = button->isChecked();
        }
        control.enabled = !widget->testAttribute(Qt::WA_ForceDisabled);
        control.hidden = widget->isHidden();
        view.m_controls.push_back(std::move(control));
    }
    return view;
}

void FieldsView::restore(std::span<QWidget* const> groups) const {
    const std::vector<QWidget*> controls = controlsOf(groups);
    assert(controls.size() == m_controls.size() && "restored into other groups");
    // An exclusive group keeps one radio button checked; it may have had none.
    std::vector<QButtonGroup*> buttonGroups;
    for (QWidget* group : groups) {
        for (QButtonGroup* buttons : group->findChildren<QButtonGroup*>()) {
            if (buttons->exclusive()) {
                buttons->setExclusive(false);
                buttonGroups.push_back(buttons);
            }
        }
    }
    for (std::size_t i = 0; i < controls.size() && i < m_controls.size(); ++i) {
        QWidget* widget = controls[i];
        const Control& control = m_controls[i];
        const QSignalBlocker blocker(widget);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (edit->text() != control.text) {
                edit->setText(control.text);
            }
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            box->setCurrentIndex(control.index);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setChecked(control.checked);
        }
        widget->setEnabled(control.enabled);
        if (widget->isHidden() != control.hidden) {
            widget->setHidden(control.hidden);
        }
    }
    for (QButtonGroup* buttons : buttonGroups) {
        buttons->setExclusive(true);
    }
}

}  // namespace editor
