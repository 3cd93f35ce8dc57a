#include "RecordMerge.h"

#include "Totals.h"

namespace pilot {

namespace {

void copyField(PilotRecord& to, const PilotRecord& from, const FieldInfo& info) {
    for (std::size_t at = info.offset; at < info.offset + info.size(); ++at) {
        to.setByte(at, from.bytes()[at]);
    }
}

// Both sides changed the total, and each holds what the editor stores for its own parts.
bool followsTheParts(const PilotRecord& base, const PilotRecord& mine, const PilotRecord& theirs,
                     Field total) {
    const auto followsOwnParts = [&](const PilotRecord& side) {
        const std::uint32_t value = side.raw(total);
        return value != base.raw(total) && value == storedTotal(side, total);
    };
    return followsOwnParts(mine) && followsOwnParts(theirs);
}

void recomputeTotals(PilotRecord& record, const std::vector<Field>& totals) {
    for (const Field total : totals) {
        record.setRaw(total, storedTotal(record, total));
    }
}

}  // namespace

// Whole fields are compared first: most of them are alike on all sides, or changed on one.
MergeResult mergeRecords(const PilotRecord& base, const PilotRecord& mine,
                         const PilotRecord& theirs) {
    MergeResult result{mine, {}, {}};
    for (const FieldInfo& info : kFieldTable) {
        // Decided here, computed once all parts are merged, whatever order the fields have.
        if (isRecomputedTotal(info.id) && followsTheParts(base, mine, theirs, info.id)) {
            result.recomputedTotals.push_back(info.id);
            continue;
        }
        if (sameField(mine, theirs, info) || sameField(theirs, base, info)) {
            continue;  // mine's
        }
        if (sameField(mine, base, info)) {
            copyField(result.merged, theirs, info);
            continue;
        }
        forEachItemOf(info, [&](const RecordItem& item) {
            const std::uint32_t was = itemValue(base, item);
            const std::uint32_t ours = itemValue(mine, item);
            const std::uint32_t other = itemValue(theirs, item);
            if (ours == was) {
                setItemValue(result.merged, item, other);
            } else if (other != was && other != ours) {
                result.conflicts.push_back({item, was, ours, other});
            }
        });
    }
    recomputeTotals(result.merged, result.recomputedTotals);
    return result;
}

void chooseForAll(MergeResult& result, MergeChoice choice) {
    for (MergeConflict& conflict : result.conflicts) {
        conflict.choice = choice;
    }
}

PilotRecord resolve(const MergeResult& result) {
    PilotRecord record = result.merged;
    for (const MergeConflict& conflict : result.conflicts) {
        if (conflict.choice == MergeChoice::TakeTheirs) {
            setItemValue(record, conflict.item, conflict.theirs);
        }
    }
    recomputeTotals(record, result.recomputedTotals);
    return record;
}

}  // namespace pilot
