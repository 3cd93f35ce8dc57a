#include <memory>
#include <string>
#include <variant>

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

// Without --force the file must not exist, as the save finds it under its lock: a file
// another program makes meanwhile is refused too. What --force replaces is kept.
int runNew(const NewOptions& options) {
    pilot::history::ReplacedVersionKeeper keeper(options.output, pilot::history::Origin::Replaced);
    const pilot::ExpectedFile expected =
        options.force ? pilot::ExpectedFile(pilot::AnyFile{}) : pilot::NoFile{};
    const auto result = pilot::savePilotFileChecked(options.output, pilot::PilotRecord::newPilot(),
                                                    expected, keeper.keeper());
    if (std::holds_alternative<pilot::ChangedOnDisk>(result)) {
        reportRefusal("new: " + options.output + " exists; --force replaces it");
        return kFailure;
    }
    if (const auto* error = std::get_if<pilot::IoError>(&result)) {
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
