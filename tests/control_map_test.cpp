// The map of the windows' control names to their roles, docs/controls.md, as the running
// windows give it: the groups build their controls from their tables, and what each control
// writes is found by using it once and comparing the record with the field table. The test
// fails while the document differs; BREVANTA_WRITE_CONTROL_MAP=1 writes it anew (the build's
// target control-map does so).
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>

#include "BattleStatsGroup.h"
#include "Controls.h"
#include "FakeDialogs.h"
#include "FieldTable.h"
#include "NumberField.h"
#include "PilotRecord.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TestFiles.h"
#include "UserActions.h"

namespace {

using testing_support::withoutMnemonic;

// The named controls that say nothing of themselves when the window starts.
const std::map<QString, QString> kSilentRoles = {
    {QStringLiteral("StatusPanel1"),
     QStringLiteral("\"No earlier version kept: REASON\" from a load or save whose replaced or "
                    "opened bytes the history could not keep, until the next load, save or New "
                    "Pilot")},
    {QStringLiteral("ChangedPanel"),
     QStringLiteral("\"CHANGED\" from an edit until the next load, New Pilot or Save")},
    {QStringLiteral("StatusPanel3"),
     QStringLiteral("the count of problems, \"2 problems\"; a click lists them")},
    {QStringLiteral("DiskChangeText"), QStringLiteral("says which file another program changed")},
    {QStringLiteral("FormStatus"), QStringLiteral("says where the last Save put its form")},
    {QStringLiteral("OpeningNoticeText"),
     QStringLiteral("names the values that showing the file opened changed")},
    {QStringLiteral("ProblemNote"),
     QStringLiteral("says that no field shows a spare craft slot's value, and its record name")},
    {QStringLiteral("FixProblemButton"),
     QStringLiteral("the remedy of the problem chosen, \"Recompute Total Score\" or "
                    "\"Recompute Kills\"")},
};

// The label that names a control: its buddy, or the nearest label on its left in the same
// row.
const QLabel* labelOf(const QWidget& control) {
    const QLabel* nearest = nullptr;
    for (const QLabel* label :
         control.parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() == &control) {
            return label;
        }
        if (label->buddy() == nullptr && label->y() == control.y() &&
            label->geometry().right() < control.x() &&
            (nearest == nullptr || label->x() > nearest->x())) {
            nearest = label;
        }
    }
    return nearest;
}

[[nodiscard]] bool isBuddy(const QLabel& label) {
    return label.buddy() != nullptr;
}

// What a control is, as the map names it; empty for widgets that are no control of their own.
QString kindOf(const QWidget& widget) {
    if (qobject_cast<const QLineEdit*>(&widget) != nullptr) {
        return widget.findChild<editor::NumberField*>() != nullptr ? QStringLiteral("number field")
                                                                   : QStringLiteral("text");
    }
    if (qobject_cast<const QComboBox*>(&widget) != nullptr) {
        return QStringLiteral("selector");
    }
    if (qobject_cast<const QCheckBox*>(&widget) != nullptr) {
        return QStringLiteral("check box");
    }
    if (qobject_cast<const QRadioButton*>(&widget) != nullptr) {
        return QStringLiteral("radio button");
    }
    if (qobject_cast<const QPushButton*>(&widget) != nullptr) {
        return QStringLiteral("button");
    }
    if (qobject_cast<const QAbstractItemView*>(&widget) != nullptr) {
        return QStringLiteral("list");
    }
    const auto* label = qobject_cast<const QLabel*>(&widget);
    if (label != nullptr && !isBuddy(*label)) {
        return QStringLiteral("label");
    }
    return {};
}

// The role: the control's accessible name, its label, its hint, its own text; a selector
// without words by its entries. A text the control shows besides its role follows in quotes.
QString roleOf(const QWidget& widget) {
    if (const auto silent = kSilentRoles.find(widget.objectName()); silent != kSilentRoles.end()) {
        return silent->second;
    }
    QString shown;
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        shown = withoutMnemonic(button->text());
    } else if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        shown = label->text();
    }
    QString role = widget.accessibleName();
    const QLabel* label =
        qobject_cast<const QLabel*>(&widget) == nullptr ? labelOf(widget) : nullptr;
    if (role.isEmpty() && label != nullptr) {
        role = ui::nameFromLabel(withoutMnemonic(label->text()));
    }
    if (role.isEmpty()) {
        role = widget.toolTip();
    }
    if (const auto* box = qobject_cast<const QComboBox*>(&widget); role.isEmpty() && box) {
        role = QStringLiteral("one of `%1` ... `%2`")
                   .arg(box->itemText(0), box->itemText(box->count() - 1));
    }
    if (role.isEmpty()) {
        return shown;
    }
    return shown.isEmpty() || shown == role ? role : role + QStringLiteral(" \"%1\"").arg(shown);
}

struct Row {
    QString name;
    QString kind;
    QString role;
    QString writes;
};

std::string cell(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('|'), QStringLiteral("\\|"));
    return escaped.toStdString();
}

void writeTable(std::ostream& out, const std::vector<Row>& rows, bool withWrites) {
    out << (withWrites ? "| Control | Kind | Role | Writes |\n|---|---|---|---|\n"
                       : "| Control | Kind | Role |\n|---|---|---|\n");
    for (const Row& row : rows) {
        out << "| `" << row.name.toStdString() << "` | " << cell(row.kind) << " | "
            << cell(row.role) << " |";
        if (withWrites) {
            out << ' ' << cell(row.writes) << " |";
        }
        out << '\n';
    }
}

// The named controls below `root`, in the order they were made.
std::vector<QWidget*> namedControls(const QWidget& root) {
    std::vector<QWidget*> controls;
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty() && !kindOf(*widget).isEmpty()) {
            controls.push_back(widget);
        }
    }
    return controls;
}

// Where an entry of the menus, the toolbar and the popup stands.
QString placeOf(const QAction& action) {
    for (const QObject* object : action.associatedObjects()) {
        if (qobject_cast<const QMenuBar*>(object) != nullptr) {
            return QStringLiteral("menu bar entry");
        }
        if (qobject_cast<const QToolBar*>(object) != nullptr) {
            return QStringLiteral("toolbar button");
        }
        if (const auto* menu = qobject_cast<const QMenu*>(object)) {
            return menu->title().isEmpty()
                       ? QStringLiteral("popup menu entry")
                       : QStringLiteral("%1 menu entry").arg(withoutMnemonic(menu->title()));
        }
    }
    return {};
}

std::vector<Row> commandRows(const QWidget& window) {
    std::vector<Row> rows;
    for (const QAction* action : window.findChildren<QAction*>()) {
        const QString place = placeOf(*action);
        if (!action->objectName().isEmpty() && !place.isEmpty()) {
            rows.push_back({action->objectName(), place, withoutMnemonic(action->text()), {}});
        }
    }
    return rows;
}

// The fields whose bytes differ between the two records, in the table's order.
QString changedFields(const pilot::PilotRecord& before, const pilot::PilotRecord& after) {
    QStringList fields;
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        for (std::size_t at = info.offset; at < info.offset + info.size(); ++at) {
            if (before.bytes()[at] != after.bytes()[at]) {
                fields.append(QStringLiteral("`%1`").arg(QString::fromLatin1(
                    info.name.data(), static_cast<qsizetype>(info.name.size()))));
                break;
            }
        }
    }
    return fields.join(QStringLiteral(", "));
}

// The editor on an all-zero pilot, whose controls are used one after the other.
class EditorUse {
public:
    EditorUse() { m_window.RefreshAllFields(); }

    [[nodiscard]] const editor::TForm1& window() const { return m_window; }
    // The list of problems and Go to Field, each a window of its own, made when first asked
    // for.
    [[nodiscard]] std::vector<const QWidget*> dialogs() {
        m_window.ProblemsClick();
        m_window.GoToFieldClick();
        return {m_window.findChild<QWidget*>(QStringLiteral("ProblemsDialog")),
                m_window.findChild<QWidget*>(QStringLiteral("GoToFieldDialog"))};
    }

    // What using the control once writes into the record, or into what the next Save
    // writes (the goal boxes).
    QString writes(QWidget& control) {
        const pilot::PilotRecord before = m_window.record();
        const pilot::PilotRecord pendingBefore = pending();
        use(control);
        const QString stored = changedFields(before, m_window.record());
        if (!stored.isEmpty()) {
            return stored;
        }
        const QString committed = changedFields(pendingBefore, pending());
        return committed.isEmpty() ? QString() : committed + QStringLiteral(", when committed");
    }

private:
    [[nodiscard]] pilot::PilotRecord pending() const {
        return m_window.findChild<editor::BattleStatsGroup*>()->withShownFields(m_window.record());
    }

    // Each number typed is larger than the one before, so that a total a field renews
    // changes too.
    void use(QWidget& control) {
        if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
            edit->setText(QString::number(++m_typed));
        } else if (auto* box = qobject_cast<QComboBox*>(&control)) {
            testing_support::choose(box, box->currentIndex() == 1 ? 2 : 1);
        } else if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
            button->click();
        }
    }

    testing_support::FakeDialogs m_dialogs;
    editor::TForm1 m_window{{}, m_dialogs};
    int m_typed = 100;
};

std::string editorMap() {
    EditorUse use;
    const editor::TForm1& window = use.window();
    // Before any use: Undo and Redo name the step they would take back, and the mission
    // controls the battle shown first.
    const std::vector<Row> commands = commandRows(window);
    std::map<const QWidget*, QString> roles;
    for (const QWidget* control : namedControls(window)) {
        roles[control] = roleOf(*control);
    }
    std::ostringstream out;
    out << "## The editor window, `TForm1`\n";
    for (QGroupBox* group : window.findChildren<QGroupBox*>()) {
        std::vector<Row> rows;
        const bool record = group->objectName() != QStringLiteral("BsfGenerationGroup");
        for (QWidget* control : namedControls(*group)) {
            rows.push_back({control->objectName(), kindOf(*control), roles.at(control),
                            record ? use.writes(*control) : QString()});
        }
        out << "\n### Group \"" << group->title().trimmed().toStdString() << "\"\n\n";
        writeTable(out, rows, true);
    }
    const std::vector<const QWidget*> dialogs = use.dialogs();
    std::vector<Row> others;
    for (QWidget* control : namedControls(window)) {
        if (qobject_cast<QGroupBox*>(control->parentWidget()) == nullptr &&
            control->window() == &window) {
            others.push_back({control->objectName(), kindOf(*control), roleOf(*control), {}});
        }
    }
    out << "\n### Status bar and the notices above the groups\n\n";
    writeTable(out, others, false);
    for (const QWidget* dialog : dialogs) {
        std::vector<Row> rows;
        for (QWidget* control : namedControls(*dialog)) {
            rows.push_back({control->objectName(), kindOf(*control), roleOf(*control), {}});
        }
        out << "\n### Window \"" << dialog->windowTitle().toStdString() << "\", `"
            << dialog->objectName().toStdString() << "`\n\n";
        writeTable(out, rows, false);
    }
    out << "\n### Menus, toolbar and popup menu\n\n";
    writeTable(out, commands, false);
    return out.str();
}

std::string formMap() {
    testing_support::FakeDialogs dialogs;
    const pilot::PilotRecord record;
    const bsfwindow::TForm2 form(record, dialogs);
    std::vector<Row> rows;
    for (QWidget* control : namedControls(form)) {
        rows.push_back({control->objectName(), kindOf(*control), roleOf(*control), {}});
    }
    std::ostringstream out;
    out << "## The Battle Submission Form window, `TForm2`\n\n"
        << "The form writes nothing into the record; it reads the scores at each Save.\n\n";
    writeTable(out, rows, false);
    out << "\n### Menu\n\n";
    writeTable(out, commandRows(form), false);
    return out.str();
}

constexpr std::string_view kIntroduction = R"(# The controls of the windows

Many controls carry numbered names (`Edit83`, `CheckBox17`), which the tests and the object
tree use but which say little of what they show; this map says what each one is for. The
window tests make it from the running windows, which the groups build from their tables:
the role is a control's accessible name, its label, its hint or its own text, and "Writes"
lists the record's fields (by the names of the field table) that one use of the control
changes; it stays empty where a control only chooses what is shown. Regenerate it with
`cmake --build BUILD --target control-map`.

)";

std::string controlMap() {
    return std::string(kIntroduction) + editorMap() + "\n" + formMap();
}

TEST(ControlMap, EveryNamedControlHasARole) {
    EditorUse use;
    static_cast<void>(use.dialogs());  // their controls belong to the window
    testing_support::FakeDialogs dialogs;
    const pilot::PilotRecord record;
    const bsfwindow::TForm2 form(record, dialogs);
    for (const QWidget* window :
         {static_cast<const QWidget*>(&use.window()), static_cast<const QWidget*>(&form)}) {
        for (const QWidget* control : namedControls(*window)) {
            EXPECT_FALSE(roleOf(*control).isEmpty()) << control->objectName().toStdString();
        }
    }
}

TEST(ControlMap, TheDocumentIsCurrent) {
    const std::string generated = controlMap();
    if (qEnvironmentVariableIsSet("BREVANTA_WRITE_CONTROL_MAP")) {
        testing_support::writeBytes(BREVANTA_CONTROL_MAP, generated);
    }
    EXPECT_EQ(testing_support::readText(BREVANTA_CONTROL_MAP), generated)
        << "docs/controls.md is out of date: cmake --build BUILD --target control-map";
}

}  // namespace
