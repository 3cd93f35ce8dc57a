#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "PilotFileIO.h"
#include "PilotFiles.h"
#include "RecordItems.h"
#include "VersionKeeper.h"
#include "Versions.h"

namespace cli {

namespace {

using pilot::history::Entry;

struct HistoryOptions {
    std::string pilot;
    bool all = false;
    std::optional<std::size_t> show;
    bool json = false;
};

struct RestoreOptions {
    std::string pilot;
    std::size_t number = 0;
};

// "3 fields differ", "1 field differs", "identical"; "-" when the file cannot be read now.
std::string differenceText(const Entry& version, const std::optional<pilot::PilotRecord>& now) {
    if (!now) {
        return "-";
    }
    const std::size_t count = pilot::differenceCount(version.record, *now);
    if (count == 0) {
        return "identical";
    }
    return std::to_string(count) + (count == 1 ? " field differs" : " fields differ");
}

std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

int listVersions(const std::string& pilot) {
    const auto versions = versionsOrReport(pilot);
    if (!versions) {
        return kFailure;
    }
    // A pilot that is gone still has its versions, to be restored.
    std::optional<pilot::PilotRecord> now;
    auto loaded = pilot::loadPilotFile(pilot);
    if (const auto* record = std::get_if<pilot::PilotRecord>(&loaded)) {
        now = *record;
    } else if (!versions->empty()) {
        std::cerr << "brevanta-cli: warning: " << pilot << " cannot be read ("
                  << pilot::withClosingPeriod(std::get<pilot::IoError>(loaded).message())
                  << "); no differences counted\n";
    }
    if (versions->empty()) {
        std::cout << "No versions of " << pilot << " are kept.\n";
    }
    for (std::size_t number = 1; number <= versions->size(); ++number) {
        const Entry& version = (*versions)[number - 1];
        std::cout << padded(std::to_string(number), 3) << "  "
                  << pilot::history::localTimeText(version.time) << "  "
                  << padded(std::string(pilot::history::originText(version.origin)), 26) << "  "
                  << differenceText(version, now) << '\n';
    }
    return standardOutputWritten() ? kSuccess : kFailure;
}

int listAll() {
    const auto root = pilot::history::historyRoot();
    if (!root) {
        reportRefusal("history: neither XDG_STATE_HOME nor HOME names the history's folder");
        return kFailure;
    }
    auto listed = pilot::history::allHistories(*root);
    if (const auto* error = std::get_if<pilot::IoError>(&listed)) {
        reportIoError(*root, *error);
        return kFailure;
    }
    for (const auto& summary : std::get<std::vector<pilot::history::PilotSummary>>(listed)) {
        std::cout << padded(std::to_string(summary.versions), 3) << "  "
                  << pilot::history::localTimeText(summary.newest) << "  " << summary.pilot.string()
                  << '\n';
    }
    return standardOutputWritten() ? kSuccess : kFailure;
}

int runHistory(const HistoryOptions& options) {
    if (options.all != options.pilot.empty()) {
        reportRefusal("history: name one PILOT, or --all");
        return kFailure;
    }
    if (options.all) {
        return listAll();
    }
    if (!options.show) {
        if (options.json) {
            reportRefusal("history: --json goes with --show N");
            return kFailure;
        }
        return listVersions(options.pilot);
    }
    const auto version = versionOrRefuse(options.pilot, *options.show, "history");
    if (!version) {
        return kFailure;
    }
    printRecord(version->record, options.json);
    return standardOutputWritten() ? kSuccess : kFailure;
}

// Written under the pilot's lock, which also keeps what it replaces.
int runRestore(const RestoreOptions& options) {
    const auto version = versionOrRefuse(options.pilot, options.number, "restore");
    if (!version) {
        return kFailure;
    }
    pilot::history::ReplacedVersionKeeper keeper(options.pilot, pilot::history::Origin::Replaced);
    if (const auto error = pilot::savePilotFile(options.pilot, version->record, keeper.keeper())) {
        reportIoError(options.pilot, *error);
        return kFailure;
    }
    reportKeepFailure(options.pilot, keeper.failure());
    return kSuccess;
}

}  // namespace

void addHistoryCommands(CLI::App& app, int& status) {
    auto history = std::make_shared<HistoryOptions>();
    CLI::App* command = app.add_subcommand("history", "List the kept versions of a pilot file");
    command->footer(
        "Every version a Brevanta program opened or wrote over is kept: numbered from 1, the "
        "newest, with the time it was kept, where it came from and how many fields differ from "
        "the file now. --all lists every pilot with kept versions.");
    command->add_option("PILOT", history->pilot, "Pilot file (.TFR)");
    command->add_flag("--all", history->all, "List every pilot file with kept versions");
    command->add_option("--show", history->show, "Print version N as show does")
        ->check(CLI::PositiveNumber);
    command->add_flag("--json", history->json, "With --show: as show --json");
    command->callback([history, &status] { status = runHistory(*history); });

    auto restore = std::make_shared<RestoreOptions>();
    CLI::App* restoring =
        app.add_subcommand("restore", "Write a kept version of a pilot file over the file");
    restoring->footer(
        "N as history numbers the versions (1 is the newest). What the file held is kept as "
        "a version first, so a restore can be undone by another.");
    restoring->add_option("PILOT", restore->pilot, "Pilot file (.TFR)")->required();
    restoring->add_option("N", restore->number, "The version's number")
        ->required()
        ->check(CLI::PositiveNumber);
    restoring->callback([restore, &status] { status = runRestore(*restore); });
}

}  // namespace cli
