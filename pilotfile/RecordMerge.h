#pragma once

#include <cstdint>
#include <vector>

#include "FieldTable.h"
#include "PilotRecord.h"
#include "RecordItems.h"

// A three-way merge of two records that grew apart from a common one: `base` is the pilot as
// last loaded or saved, `mine` what Save would write now, `theirs` what another program (the
// game) has written since. The merge goes item by item (RecordItems.h): each element of a
// field, each goal bit and each reserved byte on its own.
// - changed on one side only: that side's value;
// - changed on both sides to the same value: that value;
// - changed on both sides to different values: a conflict, for the user to decide.
// The two totals the editor recomputes, TotalScore and Kills, merge like any item but in one
// case: when both sides changed the total and each side's total is what the editor stores
// for that side's own scores or counters (see storedTotal), the merged total is what the
// editor stores for the merged ones. A mission flown in the game and a score typed in the
// editor add up; a total set by hand on a side that changed it merges by the rule above.
// So merging a side with an unchanged other side gives that side, and two equal sides give
// themselves, byte for byte.
namespace pilot {

enum class MergeChoice : std::uint8_t { KeepMine, TakeTheirs };

// An item that both sides changed, to different values; the values as itemValue gives them.
struct MergeConflict {
    RecordItem item;
    std::uint32_t base = 0;
    std::uint32_t mine = 0;
    std::uint32_t theirs = 0;
    MergeChoice choice = MergeChoice::KeepMine;  // what resolve() takes

    friend bool operator==(const MergeConflict&, const MergeConflict&) = default;
};

struct MergeResult {
    // The merge with every conflict kept as mine: what resolve() gives while no choice says
    // otherwise.
    PilotRecord merged;
    // In file order.
    std::vector<MergeConflict> conflicts;
    // The totals that follow the merged scores or counters, in file order: resolve()
    // recomputes them from the parts as the conflicts are decided.
    std::vector<Field> recomputedTotals;
};

[[nodiscard]] MergeResult mergeRecords(const PilotRecord& base, const PilotRecord& mine,
                                       const PilotRecord& theirs);

// Gives every conflict the same choice.
void chooseForAll(MergeResult& result, MergeChoice choice);

// The merged record with each conflict decided by its choice, and the totals that follow the
// parts recomputed from the decided parts.
[[nodiscard]] PilotRecord resolve(const MergeResult& result);

}  // namespace pilot
