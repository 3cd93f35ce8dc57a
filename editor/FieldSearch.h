#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include <QString>
#include <QStringList>

#include "FieldPlaces.h"

class QWidget;

namespace editor {

// What Go to Field finds: an item of the record with the controls that show it, or a
// control that shows no item of its own (a selector, a text of the submission form).
struct FieldTarget {
    // As the list shows it: "Battle 4, mission 3: score — BattleMissionScore[3][2], Edit3".
    QString text;
    std::vector<QStringList> keys;  // the words of each name it is found by
    FieldPlace place;
};

// Finds the window's fields by any of their names: the item's title ("Battle 4, mission 3:
// score"), its record name ("BattleMissionScore[3][2]"), its controls' object names
// ("Edit83") and labels ("T/F Kills"). A query matches a name when each of its words begins
// a word of the name, in the same order, so "battle 4 mission 3", "t/f kills" and
// "battlemissionscore[3][2]" find what they say; a word of three letters or more may also
// stand inside a word ("score").
class FieldSearch {
public:
    // Every item the groups show (goal bits one by one), then every other named control of
    // the groups.
    FieldSearch(const FieldMap& places, std::span<QWidget* const> groups);

    // The targets that match, the best first: more words matched whole, fewer words left
    // over, shown without choosing another entry, then in the window's order.
    [[nodiscard]] std::vector<const FieldTarget*> find(const QString& query,
                                                       std::size_t most) const;

private:
    std::vector<FieldTarget> m_targets;
};

}  // namespace editor
