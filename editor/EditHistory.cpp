#include "EditHistory.h"

#include <utility>

#include <QAbstractButton>
#include <QComboBox>
#include <QUndoCommand>
#include <QUndoStack>
#include <QWidget>

#include "NumberField.h"

namespace editor {

namespace {

// A step keeps two states of about 12 KB, mostly shared with its neighbours; far more steps
// than a session makes.
constexpr int kUndoLimit = 1000;

}  // namespace

// One step: the window before and after a user's action. Pushing it runs nothing, since the
// window already shows the state after.
class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, SharedState before, SharedState after, const QString& name,
         int mergeId)
        : QUndoCommand(name),
          m_history(history),
          m_before(std::move(before)),
          m_after(std::move(after)),
          m_mergeId(mergeId) {}

    [[nodiscard]] int id() const override { return m_mergeId; }

    // A later keystroke of the same run of typing: this step now ends where that one does,
    // and goes when the field is back to what the next Save wrote before the run.
    bool mergeWith(const QUndoCommand* other) override {
        m_after = static_cast<const Step*>(other)->m_after;
        setObsolete(m_after->pending == m_before->pending);
        return true;
    }

    void undo() override { m_history.show(m_before, m_after); }
    void redo() override {
        if (m_pushed) {
            m_history.show(m_after, m_before);
        }
        m_pushed = true;
    }

private:
    EditHistory& m_history;
    SharedState m_before;
    SharedState m_after;
    int m_mergeId;
    bool m_pushed = false;
};

EditHistory::EditHistory(Capture capture, Restore restore, QObject* parent)
    : QObject(parent),
      m_capture(std::move(capture)),
      m_restore(std::move(restore)),
      m_stack(new QUndoStack(this)) {
    m_stack->setUndoLimit(kUndoLimit);
}

EditHistory::~EditHistory() = default;

// Connected after the groups' own rules, so that each action has run when it is looked at:
// a choice is `activated`, a click `clicked` (after the tick's `toggled`).
void EditHistory::watch(QWidget* group) {
    for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (auto* box = qobject_cast<QComboBox*>(child)) {
            connect(box, &QComboBox::activated, this, [this, box] { acted(box); });
        } else if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            connect(button, &QAbstractButton::clicked, this, [this, button] { acted(button); });
        }
    }
    for (NumberField* field : group->findChildren<NumberField*>()) {
        connect(field, &NumberField::userEdited, this, &EditHistory::typed);
        connect(field, &NumberField::left, this, &EditHistory::left);
    }
}

void EditHistory::restart() {
    m_stack->clear();
    settle();
}

void EditHistory::settle() {
    endTyping();
    m_settled = captured();
}

void EditHistory::markClean() {
    settle();
    m_stack->setClean();
}

void EditHistory::acted(QWidget* control) {
    endTyping();
    push(control->accessibleName(), m_settled, -1);
}

void EditHistory::commandDone(const QString& name) {
    endTyping();
    push(name, m_settled, -1);
}

// Every keystroke of a run merges into the run's step, which starts where the run started.
void EditHistory::typed(QWidget* edit) {
    if (m_typing != edit) {
        endTyping();
        m_typing = edit;
        m_typingStart = m_settled;
        ++m_typingRun;
    }
    push(edit->accessibleName(), m_typingStart, m_typingRun);
}

// Leaving the field gave its text the normal form ("$1F" became "31"): the run's step ends
// there, so that Redo shows the field as the user left it.
void EditHistory::left(QWidget* edit) {
    if (m_typing == edit) {
        push(edit->accessibleName(), m_typingStart, m_typingRun);
    }
    settle();
}

void EditHistory::endTyping() {
    m_typing = nullptr;
    m_typingStart.reset();
}

void EditHistory::push(const QString& name, SharedState before, int mergeId) {
    const SharedState previous = std::exchange(m_settled, captured());
    const int top = m_stack->index() - 1;
    const bool continuesRun = mergeId != -1 && top >= 0 && m_stack->command(top)->id() == mergeId;
    if (continuesRun || m_settled->pending != previous->pending) {
        m_stack->push(new Step(*this, std::move(before), m_settled, name, mergeId));
    }
}

EditHistory::SharedState EditHistory::captured() const {
    WindowState now = m_capture();
    if (m_settled && now == *m_settled) {
        return m_settled;
    }
    return std::make_shared<const WindowState>(std::move(now));
}

// The window may keep some of what it shows (another battle chosen since): the state it
// settles in is the one it shows, shared with `state` when that is all of it.
void EditHistory::show(const SharedState& state, const SharedState& other) {
    m_restore(*state, *other);
    m_settled = state;
    m_settled = captured();
    endTyping();
}

}  // namespace editor
