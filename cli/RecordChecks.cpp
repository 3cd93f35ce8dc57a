#include "RecordChecks.h"

#include <cstdint>

#include "EditorTotals.h"
#include "FieldPath.h"
#include "PilotRecord.h"

namespace cli {

namespace {

using pilot::Field;

void checkEnumerations(const pilot::PilotRecord& record, std::vector<std::string>& warnings) {
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.enumeration.empty()) {
            continue;
        }
        forEachElement(info.id, [&](const ElementPath& path) {
            const std::uint32_t value = record.raw(path.field, path.row, path.column);
            if (value >= info.enumeration.size()) {
                warnings.push_back(elementLabel(path) + ": " + std::to_string(value) +
                                   " is outside its list (0.." +
                                   std::to_string(info.enumeration.size() - 1) + ")");
            }
        });
    }
}

void checkBattleProgress(const pilot::PilotRecord& record, std::vector<std::string>& warnings) {
    forEachElement(Field::BattleLastMission, [&](const ElementPath& path) {
        const std::uint8_t last = record.u8(path.field, path.row);
        if (last > pilot::kMissions) {
            warnings.push_back(elementLabel(path) + ": " + std::to_string(last) + " is above 8");
        }
    });
    forEachElement(Field::CombatCompleted, [&](const ElementPath& path) {
        const std::uint8_t completed = record.u8(path.field, path.row, path.column);
        if (completed > 1) {
            warnings.push_back(elementLabel(path) + ": " + std::to_string(completed) +
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
    const EditorTotals totals = editorTotals(record);
    const std::int32_t score = record.i32(Field::TotalScore);
    if (score != totals.totalScore) {
        warnings.push_back("TotalScore " + std::to_string(score) +
                           " differs from the sum of the mission scores " +
                           std::to_string(totals.totalScore));
    }
    const std::uint16_t kills = record.u16(Field::Kills);
    if (kills != totals.kills) {
        warnings.push_back("Kills " + std::to_string(kills) +
                           " differs from the sum of the kill counters " +
                           std::to_string(totals.kills));
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
