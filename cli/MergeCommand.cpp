#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "PilotFileIO.h"
#include "PilotFiles.h"
#include "RecordMerge.h"

namespace cli {

namespace {

struct MergeOptions {
    std::string base;
    std::string mine;
    std::string theirs;
    std::string output;
    std::string prefer;  // empty, "mine" or "theirs"
};

// "Battle 4, mission 3: score (BattleMissionScore[3][2]): base 0, mine 500, theirs 700"
void printConflict(const pilot::MergeConflict& conflict) {
    const auto text = [&](std::uint32_t value) {
        return pilot::itemValueText(conflict.item, value);
    };
    std::cout << pilot::itemTitle(conflict.item) << " (" << pilot::itemRecordName(conflict.item)
              << "): base " << text(conflict.base) << ", mine " << text(conflict.mine)
              << ", theirs " << text(conflict.theirs) << '\n';
}

// The one place where the merge replaces or creates OUT.
bool writeMerged(const std::string& output, const pilot::PilotRecord& merged) {
    if (const auto error = pilot::savePilotFile(output, merged)) {
        reportIoError(output, *error);
        return false;
    }
    return true;
}

// Refuses what cannot work before anything is read.
bool usable(const MergeOptions& options) {
    const std::array inputs{&options.base, &options.mine, &options.theirs};
    if (std::ranges::count_if(
            inputs, [](const std::string* name) { return *name == kStandardStream; }) > 1) {
        reportRefusal("merge: only one of BASE, MINE and THEIRS can be read from standard input");
        return false;
    }
    if (options.output.empty() || options.output == kStandardStream) {
        reportRefusal("merge: -o needs a file name: the merge is not written to standard output");
        return false;
    }
    return true;
}

int runMerge(const MergeOptions& options) {
    if (!usable(options)) {
        return kFailure;
    }
    const auto base = loadOrReport(options.base);
    const auto mine = loadOrReport(options.mine);
    const auto theirs = loadOrReport(options.theirs);
    if (!base || !mine || !theirs) {
        return kFailure;
    }
    pilot::MergeResult result = pilot::mergeRecords(*base, *mine, *theirs);
    for (const pilot::MergeConflict& conflict : result.conflicts) {
        printConflict(conflict);
    }
    if (!standardOutputWritten()) {
        return kFailure;
    }
    if (!result.conflicts.empty() && options.prefer.empty()) {
        const std::size_t count = result.conflicts.size();
        reportRefusal("merge: " + std::to_string(count) +
                      (count == 1 ? " conflicting item" : " conflicting items") +
                      "; nothing written to " + options.output +
                      " (--prefer mine or --prefer theirs decides)");
        return kFound;
    }
    pilot::chooseForAll(result, options.prefer == "theirs" ? pilot::MergeChoice::TakeTheirs
                                                           : pilot::MergeChoice::KeepMine);
    return writeMerged(options.output, pilot::resolve(result)) ? kSuccess : kFailure;
}

}  // namespace

void addMergeCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<MergeOptions>();
    CLI::App* command = app.add_subcommand(
        "merge", "Merge two pilot files that grew apart from a common one, field by field");
    command->footer(
        "Each element, goal bit and reserved byte changed on one side only takes that side's "
        "value; changed alike on both, that value. Both sides changing it differently is a "
        "conflict: each is listed on standard output (\"Battle 4, mission 3: score "
        "(BattleMissionScore[3][2]): base 0, mine 500, theirs 700\"), and nothing is written "
        "unless --prefer decides them. Where both sides recomputed TotalScore or Kills from "
        "their own scores or counters, the merge holds the total of the merged ones. Exit "
        "status 0 when OUT was written, 1 on conflicts (nothing written), 2 on an error. One "
        "of BASE, MINE and THEIRS may be - (standard input). As a git merge driver: "
        "brevanta-cli merge %O %A %B -o %A");
    command->add_option("BASE", options->base, "The common pilot file both sides started from")
        ->required();
    command->add_option("MINE", options->mine, "One side: your pilot file")->required();
    command->add_option("THEIRS", options->theirs, "The other side: their pilot file")->required();
    command->add_option("-o,--output", options->output, "The file to write the merge to")
        ->required();
    command
        ->add_option("--prefer", options->prefer,
                     "Decide every conflict for one side and write the merge")
        ->check(CLI::IsMember({"mine", "theirs"}));
    command->callback([options, &status] { status = runMerge(*options); });
}

}  // namespace cli
