// The checks of a record: each rule once, with the words the window and check show, and the
// remedies of the two totals.
#include <gtest/gtest.h>

#include "FieldPath.h"
#include "PilotRecord.h"
#include "ProblemCases.h"
#include "RecordChecks.h"
#include "RecordItems.h"
#include "Totals.h"

namespace {

using pilot::Field;
using pilot::Fix;
using pilot::PilotRecord;

TEST(RecordChecks, EachRuleFindsItsProblemInItsOwnWords) {
    for (const auto& c : testing_support::problemCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pilot::checkRecord(c.record()), c.problems);
    }
}

// A remedy changes its total and nothing else, to what the editor stores, and the problem
// goes; the same record with the other remedy stays as it was.
TEST(RecordChecks, TheRemediesRecomputeOneTotalEach) {
    PilotRecord record = PilotRecord::newPilot();
    record.setI32(Field::BattleMissionScore, 12000, 3, 2);
    record.setI32(Field::BattleMissionScore, 11800, 19, 7);
    record.setI32(Field::TotalScore, 99999);
    record.setU16(Field::ShipKills, 65000, 0);
    record.setU16(Field::ShipKills, 535, 69);  // 65535, stored as 0
    record.setU16(Field::Kills, 7);
    const struct {
        Fix fix;
        Field total;
        std::uint32_t value;
    } cases[] = {
        {Fix::RecomputeTotalScore, Field::TotalScore, 23800},
        {Fix::RecomputeKills, Field::Kills, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fix));
        PilotRecord fixed = record;
        pilot::applyFix(fixed, c.fix);
        const auto changed = pilot::differences(record, fixed);
        ASSERT_EQ(changed.size(), 1U);
        EXPECT_EQ(changed.front().path, pilot::ElementPath{c.total});
        EXPECT_EQ(fixed.raw(c.total), c.value);
        for (const pilot::Problem& problem : pilot::checkRecord(fixed)) {
            EXPECT_NE(problem.fix, c.fix) << problem.message;
        }
    }
    PilotRecord unchanged = record;
    pilot::applyFix(unchanged, Fix::None);
    EXPECT_EQ(unchanged, record);
}

}  // namespace
