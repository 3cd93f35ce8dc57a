#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include <QRect>
#include <QString>
#include <QStringList>

class QComboBox;
class QFont;
class QLabel;
class QLineEdit;
class QWidget;

// The controls both windows are built from, each placed at a fixed position in its parent.
namespace ui {

// The texts of a list of names, for selector entries.
[[nodiscard]] QStringList entryTexts(std::span<const std::string_view> names);
// The crafts of the training and combat-chamber arrays, "TIE Fighter" to "Missile Boat".
[[nodiscard]] QStringList craftEntries();
// The 20 battles, "Battle  1" to "Battle 20": the number right-aligned in two places.
[[nodiscard]] QStringList battleEntries();

// A tooltip of a header line followed by one line per entry.
[[nodiscard]] QString entriesTooltip(const QString& header, const QStringList& entries);

// A drop-down list that takes no typed text, so it only ever holds one of its entries or
// none. It starts with no entry (showing the placeholder, if any). Its change rule belongs
// on `QComboBox::activated`, the user's choice: setting it from code runs nothing.
[[nodiscard]] QComboBox* makeSelector(QWidget* parent, const QString& name,
                                      const QStringList& entries, const QString& placeholder,
                                      const QString& tooltip, const QRect& geometry);

// The selected entry's position, or nothing while the selector shows no entry.
[[nodiscard]] std::optional<std::size_t> selectedEntry(const QComboBox& box);

// Selects the entry at `value` without running a rule. A value outside the list leaves the
// selector as it was.
void showEntry(QComboBox& box, std::size_t value);
// Selects the entry at `entry` without running a rule, or no entry (an empty box) when
// there is none or it lies outside the list.
void selectEntry(QComboBox& box, std::optional<std::size_t> entry);

// Chooses the entry at `entry` as the user does: the selection changes and the selector
// reports the choice (`activated`), so that its rule runs and Undo sees the choice.
void chooseEntry(QComboBox& box, int entry);

// The label belongs to its parent; it is returned for controls shown and hidden later.
// `buddy` is the control the label names, if any.
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                  QWidget* buddy = nullptr);
// The text a label shows: with a buddy, it reads "&&" as one ampersand.
[[nodiscard]] QString shownText(const QLabel& label);
// A label's or header's text without its closing colon ("Total Score:" gives
// "Total Score").
[[nodiscard]] QString nameFromLabel(const QString& label);
// Narrows the font of the labels whose shown text does not fit their width in `font`, the
// font they inherit: only its stretch, so size and family still follow the parent, and one
// stretch for all of them, as little as they need, down to two thirds at the most. The
// others inherit the font whole. Run it again after a change of the font.
void condenseToFit(std::span<QLabel* const> labels, const QFont& font);

[[nodiscard]] QLineEdit* makeEdit(QWidget* parent, const QString& name, const QString& tooltip,
                                  const QRect& geometry);

}  // namespace ui
