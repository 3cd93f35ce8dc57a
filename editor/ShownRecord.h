#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "PilotRecord.h"
#include "RecordItems.h"

namespace editor {

// What the comparison dialogs need of the editor window: the record as it shows it (what
// the next Save would write) and the way to put a record into it as one undo step.
struct ShownRecord {
    std::function<pilot::PilotRecord()> get;
    std::function<void(const pilot::PilotRecord& record, const QString& stepName)> put;

    // Takes the items' values from `from` into the shown record (the totals as the editor
    // stores them) as one undo step.
    void take(const pilot::PilotRecord& from, const std::vector<pilot::RecordItem>& items,
              const QString& stepName) const {
        pilot::PilotRecord taken = get();
        pilot::takeItems(taken, from, items);
        put(taken, stepName);
    }
};

}  // namespace editor
