#pragma once

#include <functional>
#include <string>
#include <vector>

#include "PilotRecord.h"
#include "RecordChecks.h"

namespace testing_support {

// One rule of the checks on a new pilot changed in one place, and the problems it finds:
// the core, the window and the command line must all give these words.
struct ProblemCase {
    std::string name;
    std::function<void(pilot::PilotRecord&)> change;
    std::vector<pilot::Problem> problems;  // none: the change is within every rule

    [[nodiscard]] pilot::PilotRecord record() const {
        pilot::PilotRecord changed = pilot::PilotRecord::newPilot();
        change(changed);
        return changed;
    }
};

[[nodiscard]] const std::vector<ProblemCase>& problemCases();

}  // namespace testing_support
