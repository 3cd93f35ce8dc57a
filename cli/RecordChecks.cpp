#include "RecordChecks.h"

#include <cstdint>

#include "FieldPath.h"
#include "PilotRecord.h"
#include "Totals.h"

namespace cli {

namespace {

using pilot::Field;

// Visits every element of the fields the editor edits in the given way.
template <typename Visit>
void forEachEditedAs(pilot::Editing editing, Visit&& visit) {
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.editing == editing) {
            pilot::forEachElement(info.id, visit);
        }
    }
}

void checkEnumerations(const pilot::PilotRecord& record, std::vector<std::string>& warnings) {
    forEachEditedAs(pilot::Editing::Selector, [&](const pilot::ElementPath& path) {
        const auto entries = pilot::fieldInfo(path.field).enumeration;
        const std::uint32_t value = record.raw(path.field, path.row, path.column);
        if (value >= entries.size()) {
            warnings.push_back(pilot::elementLabel(path) + ": " + std::to_string(value) +
                               " is outside its list (0.." + std::to_string(entries.size() - 1) +
                               ")");
        }
    });
}

// What the radio buttons and the completed boxes cannot show.
void checkBattleProgress(const pilot::PilotRecord& record, std::vector<std::string>& warnings) {
    forEachEditedAs(pilot::Editing::LastMission, [&](const pilot::ElementPath& path) {
        const std::uint8_t last = record.u8(path.field, path.row, path.column);
        if (last > pilot::kMissions) {
            warnings.push_back(pilot::elementLabel(path) + ": " + std::to_string(last) +
                               " is above 8");
        }
    });
    forEachEditedAs(pilot::Editing::Flag, [&](const pilot::ElementPath& path) {
        const std::uint8_t flag = record.u8(path.field, path.row, path.column);
        if (flag > 1) {
            warnings.push_back(pilot::elementLabel(path) + ": " + std::to_string(flag) +
                               " is neither 0 nor 1");
        }
    });
}

void checkHits(const pilot::PilotRecord& record, std::vector<std::string>& warnings) {
    struct ShotPair {
        Field hits;
        Field shots;
    };
    static constexpr ShotPair kPairs[] = {{Field::LaserHits, Field::LaserShots},
                                          {Field::WarheadHits, Field::WarheadShots}};
    for (const ShotPair& pair : kPairs) {
        const std::int64_t hits = record.value(pair.hits);
        const std::int64_t shots = record.value(pair.shots);
        if (hits > shots) {
            warnings.push_back(std::string(pilot::fieldInfo(pair.hits).name) + " " +
                               std::to_string(hits) + " is above " +
                               std::string(pilot::fieldInfo(pair.shots).name) + " " +
                               std::to_string(shots));
        }
    }
}

void checkTotals(const pilot::PilotRecord& record, std::vector<std::string>& warnings) {
    const std::int32_t score = record.i32(Field::TotalScore);
    const std::int32_t scoreSum = pilot::storedTotalScore(record);
    if (score != scoreSum) {
        warnings.push_back("TotalScore " + std::to_string(score) +
                           " differs from the sum of the mission scores " +
                           std::to_string(scoreSum));
    }
    const std::uint16_t kills = record.u16(Field::Kills);
    const std::uint16_t killsSum = pilot::storedKillsTotal(record);
    if (kills != killsSum) {
        warnings.push_back("Kills " + std::to_string(kills) +
                           " differs from the sum of the kill counters " +
                           std::to_string(killsSum));
    }
}

}  // namespace

std::vector<std::string> recordWarnings(const pilot::PilotRecord& record) {
    std::vector<std::string> warnings;
    checkEnumerations(record, warnings);
    checkBattleProgress(record, warnings);
    checkHits(record, warnings);
    checkTotals(record, warnings);
    return warnings;
}

}  // namespace cli
