#include "RecordMerge.h"

#include "Totals.h"

namespace pilot {

namespace {

// Whether two records hold the same bits in a place.
bool samePlace(const PilotRecord& a, const PilotRecord& b, const ItemPlace& place) {
    for (std::size_t at = place.offset; at < place.offset + place.size; ++at) {
        if (((a.bytes()[at] ^ b.bytes()[at]) & place.mask) != 0) {
            return false;
        }
    }
    return true;
}

void copyPlace(PilotRecord& to, const PilotRecord& from, const ItemPlace& place) {
    for (std::size_t at = place.offset; at < place.offset + place.size; ++at) {
        to.setByte(at, static_cast<std::uint8_t>((to.bytes()[at] & ~place.mask) |
                                                 (from.bytes()[at] & place.mask)));
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
            copyPlace(result.merged, theirs, {info.offset, info.size()});
            continue;
        }
        // The bytes of each item are compared, its values read only for a conflict.
        forEachItemOf(info, [&](const RecordItem& item) {
            const ItemPlace place = itemPlace(item);
            if (samePlace(mine, base, place)) {
                copyPlace(result.merged, theirs, place);
            } else if (!samePlace(theirs, base, place) && !samePlace(theirs, mine, place)) {
                result.conflicts.push_back(
                    {item, itemValue(base, item), itemValue(mine, item), itemValue(theirs, item)});
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
