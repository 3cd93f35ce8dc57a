#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Arguments.h"
#include "Commands.h"
#include "PilotFiles.h"
#include "RecordChecks.h"

namespace cli {

namespace {

int runCheck(const NameList& pilots) {
    bool failed = false;
    bool warned = false;
    for (std::size_t index = 0; index < pilots.size(); ++index) {
        const std::string_view pilot = pilots[index];
        const auto record = loadOrReport(pilot);
        if (!record) {
            failed = true;
            continue;
        }
        for (const std::string& warning : recordWarnings(*record)) {
            std::cout << pilot << ": " << warning << '\n';
            warned = true;
        }
    }
    if (!standardOutputWritten()) {
        return kFailure;
    }
    return failed ? kFailure : warned ? kFound : kSuccess;
}

}  // namespace

void addCheckCommand(CLI::App& app, int& status, const NameList& pilots) {
    CLI::App* command =
        app.add_subcommand("check", "Report values a careful editor would warn about");
    command->footer(
        "One line each: enumerated values outside their lists, BattleLastMission above 8, "
        "CombatCompleted other than 0 and 1, hits above shots, TotalScore and Kills differing "
        "from the sums the editor computes. Exit status 1 when any, 2 when a file cannot be "
        "read. PILOT - reads the pilot from standard input.");
    addPilotList(*command);
    command->callback([&pilots, &status] { status = runCheck(pilots); });
}

}  // namespace cli
