#pragma once

#include <span>
#include <vector>

#include <QString>

class QWidget;

namespace editor {

// What the field groups show: the text of every edit, the selected entry of every selector,
// the tick of every box and radio button, and whether each control is enabled and shown.
// Put back, it lets Undo show the window exactly as it was, without running a rule.
class FieldsView {
public:
    // The controls placed directly in the groups, in the order they were created.
    [[nodiscard]] static FieldsView capture(std::span<QWidget* const> groups);
    // Puts every control of the same groups back as captured, with their signals blocked.
    void restore(std::span<QWidget* const> groups) const;

    friend bool operator==(const FieldsView&, const FieldsView&) = default;

private:
    struct Control {
        QString text;
        int index = -1;
        bool checked = false;
        bool enabled = true;
        bool hidden = false;
        friend bool operator==(const Control&, const Control&) = default;
    };
    std::vector<Control> m_controls;
};

}  // namespace editor
