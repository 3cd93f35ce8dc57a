#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "PilotFileIO.h"
#include "PilotFiles.h"
#include "VersionKeeper.h"
#include "Versions.h"

namespace cli {

namespace {

struct NewOptions {
    std::string output;
    bool force = false;
};

int runNew(const NewOptions& options) {
    std::error_code ignored;
    if (!options.force && std::filesystem::exists(options.output, ignored)) {
        reportRefusal("new: " + options.output + " exists; --force replaces it");
        return kFailure;
    }
    // What --force replaces is kept.
    pilot::history::ReplacedVersionKeeper keeper(options.output, pilot::history::Origin::Replaced);
    if (const auto error =
            pilot::savePilotFile(options.output, pilot::PilotRecord::newPilot(), keeper.keeper())) {
        reportIoError(options.output, *error);
        return kFailure;
    }
    reportKeepFailure(options.output, keeper.failure());
    return kSuccess;
}

}  // namespace

void addNewCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<NewOptions>();
    CLI::App* command = app.add_subcommand("new", "Create a pilot with the new-pilot defaults");
    command->footer("Difficulty Medium, every training level 2, every other byte 0.");
    command->add_option("OUT", options->output, "The new pilot file (.TFR)")->required();
    command->add_flag("--force", options->force,
                      "Replace an existing file (its content is kept as a version, see history)");
    command->callback([options, &status] { status = runNew(*options); });
}

}  // namespace cli
