#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "FieldsView.h"
#include "PilotRecord.h"

class QUndoStack;
class QWidget;

namespace editor {

// The editor window at one moment: the record it holds, what the next Save would write
// (the shown battle's pending goal ticks committed), what its fields show and the CHANGED
// mark.
struct WindowState {
    pilot::PilotRecord record;
    pilot::PilotRecord pending;
    FieldsView fields;
    bool changedMark = false;

    friend bool operator==(const WindowState&, const WindowState&) = default;
};

// Undo and redo of the user's edits in the field groups. After each action of the user
// (a committed field text, a selector choice, a box or radio click) the window's state is
// compared with the state before it: when what the next Save would write differs, the two
// states make one step, named after the control (its accessible name). Keystrokes in one
// field, until the focus leaves it, make one step. Undo and redo put a state back without
// running any field rule and without touching a file: the window is told the state to show
// and the step's other end, so that it can leave alone what the step did not change.
class EditHistory : public QObject {
    Q_OBJECT
public:
    using Capture = std::function<WindowState()>;
    // Shows `state`, reached by undoing or redoing a step that led from or to `other`.
    using Restore = std::function<void(const WindowState& state, const WindowState& other)>;

    EditHistory(Capture capture, Restore restore, QObject* parent);
    ~EditHistory() override;

    [[nodiscard]] QUndoStack& stack() const { return *m_stack; }

    // Follows the user's actions on the controls placed directly in the group.
    void watch(QWidget* group);

    // A new history from the window as it is now (Open, New Pilot, start-up).
    void restart();
    // The window changed without an action of the user (a commit before a write): later
    // steps start from here.
    void settle();
    // The record was saved: this is the clean state.
    void markClean();
    // A command changed the window (a version restored, fields taken from another record):
    // one step named `name` from the state after the last action to now, when what the next
    // Save would write differs.
    void commandDone(const QString& name);

private:
    class Step;
    using SharedState = std::shared_ptr<const WindowState>;

    void acted(QWidget* control);
    void typed(QWidget* edit);
    void left(QWidget* edit);
    void endTyping();
    // `before` by value: it is often the settled state this replaces.
    void push(const QString& name, SharedState before, int mergeId);
    void show(const SharedState& state, const SharedState& other);
    // The window as it is now; the settled state itself while nothing changed, so that
    // neighbouring steps share their states.
    [[nodiscard]] SharedState captured() const;

    Capture m_capture;
    Restore m_restore;
    QUndoStack* m_stack;
    SharedState m_settled;        // the state after the last action, step or not
    SharedState m_typingStart;    // the state before the current run of typing
    QWidget* m_typing = nullptr;  // the field being typed into
    int m_typingRun = 0;          // tells runs of typing apart, for merging
};

}  // namespace editor
