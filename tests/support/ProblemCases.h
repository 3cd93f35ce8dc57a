#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "PilotRecord.h"
#include "RecordChecks.h"

namespace pilot {
// GoogleTest shows a problem that differs by its severity, message, elements and remedy.
void PrintTo(const Problem& problem, std::ostream* out);
}  // namespace pilot

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
