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

// The element's title and its value as the number stored, "Rank 9", "Battle 8: status 4",
// with room for the rest of the message: a pilot of random bytes has a hundred of them.
std::string titled(const ElementPath& path, std::uint32_t value) {
    std::string message;
    message.reserve(96);
    appendElementTitle(message, path);
    message.append(" ").append(numberText(value, fieldInfo(path.field).type));
    return message;
}

// Looks at the first `count` elements of a field in file order: each whose value `breaks`
// the rule adds the problem `describe` makes of it. Most elements pass, so the loop reads
// the bytes and builds no text until one does not.
template <typename Breaks, typename Describe>
void scan(const PilotRecord& record, const FieldInfo& info, std::size_t count, Breaks breaks,
          Describe describe, std::vector<Problem>& found) {
    const std::size_t width = byteWidth(info.type);
    for (std::size_t index = 0; index < count && index < info.elementCount(); ++index) {
        const std::uint32_t value = record.patternAt(info.offset + index * width, width);
        if (breaks(value)) {
            const ElementPath path{info.id, index / info.columns, index % info.columns};
            found.push_back(describe(path, value));
        }
    }
}

// The checks of the elements' own values, one field at a time.
void checkField(const PilotRecord& record, const FieldInfo& info, std::vector<Problem>& found) {
    const std::size_t all = info.elementCount();
    switch (info.editing) {
        case Editing::Selector: {
            const std::size_t entries = info.enumeration.size();
            scan(
                record, info, all, [entries](std::uint32_t value) { return value >= entries; },
                [entries](const ElementPath& path, std::uint32_t value) {
                    return Problem{Severity::Error,
                                   {path},
                                   titled(path, value) + " is not in the list (0 to " +
                                       std::to_string(entries - 1) + ")"};
                },
                found);
            return;
        }
        case Editing::LastMission:
            scan(
                record, info, all, [](std::uint32_t value) { return value > kMissions; },
                [](const ElementPath& path, std::uint32_t value) {
                    return Problem{
                        Severity::Error,
                        {path},
                        titled(path, value) + " is more than " + std::to_string(kMissions)};
                },
                found);
            return;
        case Editing::Flag:
            scan(
                record, info, all, [](std::uint32_t value) { return value > 1; },
                [](const ElementPath& path, std::uint32_t value) {
                    return Problem{
                        Severity::Error, {path}, titled(path, value) + " is neither 0 nor 1"};
                },
                found);
            return;
        case Editing::NumberRule: {
            // The window shows the first seven craft slots only, and so resets nothing else.
            const FieldType type = info.type;
            const std::uint32_t sentinel = sentinelOf(type);
            scan(
                record, info, shownRows(info) * info.columns,
                [sentinel](std::uint32_t value) { return value == sentinel; },
                [type](const ElementPath& path, std::uint32_t value) {
                    return Problem{Severity::Warning,
                                   {path},
                                   titled(path, value) +
                                       " is the reset value, which the editor turns into " +
                                       numberText(storedByNumberRule(value, type), type)};
                },
                found);
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

// TotalScore and Kills against what the editor stores when it recomputes them.
struct Total {
    Field field;
    std::string_view differs;
    Fix fix;
};
constexpr Total kTotals[] = {
    {Field::TotalScore, " differs from the sum of the mission scores, ", Fix::RecomputeTotalScore},
    {Field::Kills, " differ from the sum of the kill counters, ", Fix::RecomputeKills},
};

void checkTotals(const PilotRecord& record, std::vector<Problem>& found) {
    for (const Total& total : kTotals) {
        const FieldType type = fieldInfo(total.field).type;
        const std::uint32_t stored = record.raw(total.field);
        const std::uint32_t recomputed = storedTotal(record, total.field);
        if (stored != recomputed) {
            found.push_back({Severity::Warning,
                             {ElementPath{total.field}},
                             fieldTitle(total.field) + " " + numberText(stored, type) +
                                 std::string(total.differs) + numberText(recomputed, type),
                             total.fix});
        }
    }
}

}  // namespace

std::string_view severityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::string problemLine(const Problem& problem) {
    return std::string(severityName(problem.severity)) + ": " + problem.message;
}

std::vector<Problem> checkRecord(const PilotRecord& record) {
    std::vector<Problem> found;
    found.reserve(16);
    for (const FieldInfo& info : kFieldTable) {
        checkField(record, info, found);
    }
    checkHits(record, found);
    checkTotals(record, found);
    return found;
}

void applyFix(PilotRecord& record, Fix fix) {
    for (const Total& total : kTotals) {
        if (total.fix == fix) {
            record.setRaw(total.field, storedTotal(record, total.field));
        }
    }
}

}  // namespace pilot
