#include "RecordChecks.h"

#include <cctype>

#include "ElementNames.h"
#include "NumberText.h"
#include "PilotRecord.h"
#include "Totals.h"

namespace pilot {

namespace {

// A title in the middle of a sentence: "laser shots".
std::string lowered(std::string title) {
    if (!title.empty()) {
        title.front() = static_cast<char>(std::tolower(static_cast<unsigned char>(title.front())));
    }
    return title;
}

// The element's title and its value as a number: "Rank 9", "Battle 8: status 4".
std::string titled(const ElementPath& path, const PilotRecord& record) {
    const FieldInfo& info = fieldInfo(path.field);
    return elementTitle(path) + " " +
           numberText(record.raw(path.field, path.row, path.column), info.type);
}

// The checks of one element's own value; most elements pass all of them.
void checkElement(const PilotRecord& record, const ElementPath& path, std::vector<Problem>& found) {
    const FieldInfo& info = fieldInfo(path.field);
    const std::uint32_t value = record.raw(path.field, path.row, path.column);
    switch (info.editing) {
        case Editing::Selector:
            if (value >= info.enumeration.size()) {
                found.push_back({Severity::Error,
                                 {path},
                                 titled(path, record) + " is not in the list (0 to " +
                                     std::to_string(info.enumeration.size() - 1) + ")"});
            }
            return;
        case Editing::LastMission:
            if (value > kMissions) {
                found.push_back({Severity::Error,
                                 {path},
                                 titled(path, record) + " is more than " +
                                     std::to_string(kMissions)});
            }
            return;
        case Editing::Flag:
            if (value > 1) {
                found.push_back(
                    {Severity::Error, {path}, titled(path, record) + " is neither 0 nor 1"});
            }
            return;
        case Editing::NumberRule: {
            const std::uint32_t stored = storedByNumberRule(value, info.type);
            if (stored != value && path.row < shownRows(info)) {
                found.push_back({Severity::Warning,
                                 {path},
                                 titled(path, record) +
                                     " is the reset value, which the editor turns into " +
                                     numberText(stored, info.type)});
            }
            return;
        }
        case Editing::GoalBits:
        case Editing::Reserved:
            return;
    }
}

void checkHits(const PilotRecord& record, std::vector<Problem>& found) {
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
            found.push_back({Severity::Warning,
                             {ElementPath{pair.hits}, ElementPath{pair.shots}},
                             fieldTitle(pair.hits) + " " + std::to_string(hits) +
                                 " are more than " + lowered(fieldTitle(pair.shots)) + " " +
                                 std::to_string(shots)});
        }
    }
}

void checkTotals(const PilotRecord& record, std::vector<Problem>& found) {
    const std::int32_t score = record.i32(Field::TotalScore);
    const std::int32_t scoreSum = storedTotalScore(record);
    if (score != scoreSum) {
        found.push_back({Severity::Warning,
                         {ElementPath{Field::TotalScore}},
                         fieldTitle(Field::TotalScore) + " " + std::to_string(score) +
                             " differs from the sum of the mission scores, " +
                             std::to_string(scoreSum),
                         Fix::RecomputeTotalScore});
    }
    const std::uint16_t kills = record.u16(Field::Kills);
    const std::uint16_t killsSum = storedKillsTotal(record);
    if (kills != killsSum) {
        found.push_back({Severity::Warning,
                         {ElementPath{Field::Kills}},
                         fieldTitle(Field::Kills) + " " + std::to_string(kills) +
                             " differ from the sum of the kill counters, " +
                             std::to_string(killsSum),
                         Fix::RecomputeKills});
    }
}

}  // namespace

std::string_view severityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::vector<Problem> checkRecord(const PilotRecord& record) {
    std::vector<Problem> found;
    for (const FieldInfo& info : kFieldTable) {
        if (!info.reserved() && info.editing != Editing::GoalBits) {
            forEachElement(info.id,
                           [&](const ElementPath& path) { checkElement(record, path, found); });
        }
    }
    checkHits(record, found);
    checkTotals(record, found);
    return found;
}

void applyFix(PilotRecord& record, Fix fix) {
    switch (fix) {
        case Fix::RecomputeTotalScore:
            record.setI32(Field::TotalScore, storedTotalScore(record));
            return;
        case Fix::RecomputeKills:
            record.setU16(Field::Kills, storedKillsTotal(record));
            return;
        case Fix::None:
            return;
    }
}

}  // namespace pilot
