#include "Accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>

namespace ui {

namespace {

// A drop-down list as Qt presents it (its list of entries as first child, the edit of an
// editable one as second, one action that opens and closes the list), named by its
// accessible name.
class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return box()->accessibleName().isEmpty() ? entry() : box()->accessibleName();
            case QAccessible::Value:
                return entry();
            case QAccessible::Accelerator:
                return QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    [[nodiscard]] int childCount() const override { return box()->isEditable() ? 2 : 1; }
    [[nodiscard]] QAccessibleInterface* child(int index) const override {
        if (index == 0) {
            return QAccessible::queryAccessibleInterface(box()->view());
        }
        if (index == 1 && box()->isEditable()) {
            return QAccessible::queryAccessibleInterface(box()->lineEdit());
        }
        return nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
        if (child->object() == box()->view()) {
            return 0;
        }
        return box()->isEditable() && child->object() == box()->lineEdit() ? 1 : -1;
    }
    [[nodiscard]] QAccessibleInterface* childAt(int x, int y) const override {
        return box()->isEditable() && box()->lineEdit()->rect().contains(x, y) ? child(1) : nullptr;
    }
    // The edit of an editable list has the keyboard focus in its place.
    [[nodiscard]] QAccessibleInterface* focusChild() const override {
        return box()->isEditable() ? child(1) : nullptr;
    }

    [[nodiscard]] QStringList actionNames() const override {
        return {showMenuAction(), pressAction()};
    }
    [[nodiscard]] QString localizedActionDescription(const QString& action) const override {
        return action == showMenuAction() || action == pressAction()
                   ? QStringLiteral("Open the list of entries")
                   : QString();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            return;
        }
        if (box()->view()->isVisible()) {
            box()->hidePopup();
        } else {
            box()->showPopup();
        }
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    [[nodiscard]] QComboBox* box() const { return static_cast<QComboBox*>(object()); }
    [[nodiscard]] QString entry() const {
        return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
    }
};

QAccessibleInterface* listInterface(const QString& className, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    if (box == nullptr || className != QStringLiteral("QComboBox")) {
        return nullptr;
    }
    return new ListAccessible(box);
}

}  // namespace

void nameListsByPurpose() {
    QAccessible::installFactory(listInterface);
}

void openMenuBarWithF10(QMainWindow& window) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    key->setObjectName(QStringLiteral("MenuBarKey"));
    QObject::connect(key, &QShortcut::activated, &window, [&window] {
        QMenuBar* bar = window.menuBar();
        for (QAction* entry : bar->actions()) {
            if (entry->isVisible() && entry->isEnabled() && !entry->isSeparator()) {
                bar->setFocus(Qt::ShortcutFocusReason);
                bar->setActiveAction(entry);
                return;
            }
        }
    });
}

}  // namespace ui
