#include "ProblemCases.h"

namespace pilot {

void PrintTo(const Problem& problem, std::ostream* out) {
    *out << severityName(problem.severity) << ": " << problem.message << " [";
    for (const ElementPath& path : problem.elements) {
        *out << ' ' << pathName(path);
    }
    *out << " ] fix " << static_cast<int>(problem.fix);
}

}  // namespace pilot

namespace testing_support {

namespace {

using pilot::ElementPath;
using pilot::Field;
using pilot::Fix;
using pilot::PilotRecord;
using pilot::Problem;
using pilot::Severity;

Problem error(ElementPath path, std::string message) {
    return {Severity::Error, {path}, std::move(message)};
}

Problem warning(std::vector<ElementPath> paths, std::string message, Fix fix = Fix::None) {
    return {Severity::Warning, std::move(paths), std::move(message), fix};
}

}  // namespace

const std::vector<ProblemCase>& problemCases() {
    static const std::vector<ProblemCase> cases = {
        {"clean", [](PilotRecord&) {}, {}},
        {"rank",
         [](PilotRecord& r) { r.setU8(Field::Rank, 9); },
         {error({Field::Rank}, "Rank 9 is not in the list (0 to 5)")}},
        {"status",
         [](PilotRecord& r) { r.setU8(Field::PilotStatus, 3); },
         {error({Field::PilotStatus}, "Pilot status 3 is not in the list (0 to 2)")}},
        {"difficulty",
         [](PilotRecord& r) { r.setU8(Field::Difficulty, 255); },
         {error({Field::Difficulty}, "Difficulty 255 is not in the list (0 to 2)")}},
        {"secret order",
         [](PilotRecord& r) { r.setU8(Field::SecretOrder, 10); },
         {error({Field::SecretOrder}, "Secret order 10 is not in the list (0 to 9)")}},
        {"battle status",
         [](PilotRecord& r) { r.setU8(Field::BattleStatus, 4, 7); },
         {error({Field::BattleStatus, 7}, "Battle 8: status 4 is not in the list (0 to 3)")}},
        {"last mission 8", [](PilotRecord& r) { r.setU8(Field::BattleLastMission, 8, 19); }, {}},
        {"last mission 9",
         [](PilotRecord& r) { r.setU8(Field::BattleLastMission, 9, 19); },
         {error({Field::BattleLastMission, 19},
                "Battle 20: last completed mission 9 is more than 8")}},
        {"completed 1", [](PilotRecord& r) { r.setU8(Field::CombatCompleted, 1, 6, 7); }, {}},
        {"completed 2",
         [](PilotRecord& r) { r.setU8(Field::CombatCompleted, 2, 6, 7); },
         {error({Field::CombatCompleted, 6, 7},
                "Combat chamber, Missile Boat, mission 8: completed 2 is neither 0 nor 1")}},
        {"spare completed",
         [](PilotRecord& r) { r.setU8(Field::CombatCompleted, 255, 11, 0); },
         {error({Field::CombatCompleted, 11, 0},
                "Combat chamber, spare slot 12, mission 1: completed 255 is neither 0 nor 1")}},
        {"laser hits equal",
         [](PilotRecord& r) {
             r.setI32(Field::LaserShots, 100);
             r.setI32(Field::LaserHits, 100);
         },
         {}},
        {"laser hits above",
         [](PilotRecord& r) {
             r.setI32(Field::LaserShots, 700);
             r.setI32(Field::LaserHits, 812);
         },
         {warning({{Field::LaserHits}, {Field::LaserShots}},
                  "Laser hits 812 are more than laser shots 700")}},
        {"negative shots",
         [](PilotRecord& r) { r.setI32(Field::LaserShots, -1); },
         {warning({{Field::LaserHits}, {Field::LaserShots}},
                  "Laser hits 0 are more than laser shots -1")}},
        {"warhead hits above",
         [](PilotRecord& r) {
             r.setU16(Field::WarheadShots, 5);
             r.setU16(Field::WarheadHits, 65534);
         },
         {warning({{Field::WarheadHits}, {Field::WarheadShots}},
                  "Warhead hits 65534 are more than warhead shots 5")}},
        {"total score",
         [](PilotRecord& r) { r.setI32(Field::TotalScore, 99999); },
         {warning({{Field::TotalScore}},
                  "Total score 99999 differs from the sum of the mission scores, 0",
                  Fix::RecomputeTotalScore)}},
        {"total score matches",
         [](PilotRecord& r) {
             r.setI32(Field::BattleMissionScore, 300, 0, 0);
             r.setI32(Field::BattleMissionScore, -100, 19, 7);
             r.setI32(Field::TotalScore, 200);
         },
         {}},
        // The editor stores a sum of 2147483647 as 0, the field's reset value.
        {"total score at the sentinel",
         [](PilotRecord& r) {
             r.setI32(Field::BattleMissionScore, 2147483646, 4, 4);
             r.setI32(Field::BattleMissionScore, 1, 0, 0);
         },
         {}},
        {"kills",
         [](PilotRecord& r) { r.setU16(Field::ShipKills, 3, 10); },
         {warning({{Field::Kills}}, "Kills 0 differ from the sum of the kill counters, 3",
                  Fix::RecomputeKills)}},
        {"kills wrap",
         [](PilotRecord& r) {
             r.setU16(Field::ShipKills, 65000, 0);
             r.setU16(Field::ShipKills, 1000, 69);
             r.setU16(Field::Kills, 464);
         },
         {}},
        {"skill at its reset value",
         [](PilotRecord& r) { r.setU16(Field::Skill, 65535); },
         {warning({{Field::Skill}},
                  "Skill 65535 is the reset value, which the editor turns into 0")}},
        {"a training level at its reset value",
         [](PilotRecord& r) { r.setU8(Field::TrainingLevel, 255, 3); },
         {warning({{Field::TrainingLevel, 3}},
                  "Training, TIE Advanced: highest level 255 is the reset value, which the "
                  "editor turns into 2")}},
        {"a mission score at its reset value",
         [](PilotRecord& r) {
             r.setI32(Field::BattleMissionScore, 2147483647, 3, 2);
             r.setI32(Field::TotalScore, 2147483647);
         },
         {warning({{Field::TotalScore}},
                  "Total score 2147483647 is the reset value, which the editor turns into 0"),
          warning({{Field::BattleMissionScore, 3, 2}},
                  "Battle 4, mission 3: score 2147483647 is the reset value, which the editor "
                  "turns into 0"),
          warning({{Field::TotalScore}},
                  "Total score 2147483647 differs from the sum of the mission scores, 0",
                  Fix::RecomputeTotalScore)}},
        // The window never shows the spare slots, so it never resets them.
        {"a spare training level at its reset value",
         [](PilotRecord& r) { r.setU8(Field::TrainingLevel, 255, 9); },
         {}},
    };
    return cases;
}

}  // namespace testing_support
