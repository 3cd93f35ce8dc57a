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
        const std::string_view file = pilots[index];
        const auto record = loadOrReport(file);
        if (!record) {
            failed = true;
            continue;
        }
        for (const pilot::Problem& problem : pilot::checkRecord(*record)) {
            std::cout << file << ": " << pilot::problemLine(problem) << '\n';
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
    CLI::App* command = app.add_subcommand(
        "check",
        "Report the problems the editor marks: values outside the format, and values "
        "that disagree");
    command->footer(
        "One line each, PILOT: SEVERITY: MESSAGE, in the editor's words. Errors: enumerated "
        "values outside their lists, BattleLastMission above 8, CombatCompleted other than 0 "
        "and 1. Warnings: hits above shots, TotalScore and Kills differing from the sums the "
        "editor computes, and stored reset values the editor replaces when it shows them "
        "(Skill 65535, a training level 255). Exit status 1 when any, 2 when a file cannot be "
        "read. PILOT - reads the pilot from standard input.");
    addPilotList(*command);
    command->callback([&pilots, &status] { status = runCheck(pilots); });
}

}  // namespace cli
