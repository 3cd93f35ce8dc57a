#pragma once

#include <optional>
#include <vector>

#include "RecordItems.h"

class QComboBox;
class QWidget;

namespace editor {

// An entry of a selector in front of a field: the battle, training craft, combat craft or
// mission.
struct Selection {
    QComboBox* selector = nullptr;
    int entry = 0;

    [[nodiscard]] bool current() const;
};

// Where the window shows an item of the record: the controls that show and edit it, once
// the selectors in front of them show the item's entries.
struct FieldPlace {
    std::vector<QWidget*> controls;     // the checked or first one that can take the focus
    std::vector<Selection> selections;  // the outermost first

    // The first selection whose entry is not the one shown, or nothing when the controls
    // show the item now.
    [[nodiscard]] const Selection* hiddenBehind() const;
    // Chooses the entries as the user would, so that the groups show the item and Undo sees
    // the choices, and puts the keyboard focus into its control.
    void reach() const;
};

// A group of fields that shows items of the record.
class ShowsItems {
public:
    virtual ~ShowsItems() = default;
    // Where the group shows the item, or nothing when it does not show it.
    [[nodiscard]] virtual std::optional<FieldPlace> placeOf(
        const pilot::RecordItem& item) const = 0;
};

// The window's map from the record's items to the controls that show them, asked of the
// groups themselves, which build their controls from their tables. The spare craft slots
// and the reserved bytes have no place.
class FieldMap {
public:
    FieldMap() = default;
    explicit FieldMap(std::vector<const ShowsItems*> groups) : m_groups(std::move(groups)) {}

    [[nodiscard]] std::optional<FieldPlace> placeOf(const pilot::RecordItem& item) const;
    [[nodiscard]] std::optional<FieldPlace> placeOf(const pilot::ElementPath& path) const;

private:
    std::vector<const ShowsItems*> m_groups;
};

}  // namespace editor
