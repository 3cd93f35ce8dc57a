#include <memory>
#include <string>
#include <variant>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "FieldPath.h"
#include "PilotFileIO.h"
#include "PilotFiles.h"
#include "Totals.h"
#include "ValueText.h"
#include "VersionKeeper.h"
#include "Versions.h"

namespace cli {

namespace {

struct SetOptions {
    std::string pilot;
    std::vector<std::string> assignments;
    bool updateTotals = false;
};

struct Store {
    pilot::ElementPath path;
    std::uint32_t pattern = 0;
};

// What one "FIELD=VALUE" stores, or why it is refused.
std::variant<Store, std::string> parseAssignment(const std::string& assignment) {
    const auto equals = assignment.find('=');
    if (equals == std::string::npos) {
        return std::string("expected FIELD=VALUE");
    }
    const auto parsed = pilot::parseFieldPath(std::string_view(assignment).substr(0, equals));
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        return *error;
    }
    const pilot::ElementPath path = std::get<pilot::ElementPath>(parsed);
    if (pilot::fieldInfo(path.field).reserved()) {
        return pilot::pathName(path) + " is reserved: its bytes are carried through, never set";
    }
    const auto pattern = storedPattern(path, std::string_view(assignment).substr(equals + 1));
    if (const auto* error = std::get_if<std::string>(&pattern)) {
        return *error;
    }
    return Store{path, std::get<std::uint32_t>(pattern)};
}

int runSet(const SetOptions& options) {
    // Every assignment is checked before the file is touched: one refusal writes nothing.
    std::vector<Store> stores;
    bool refused = false;
    for (const std::string& assignment : options.assignments) {
        auto parsed = parseAssignment(assignment);
        if (const auto* error = std::get_if<std::string>(&parsed)) {
            reportRefusal("set: \"" + assignment + "\": " + *error);
            refused = true;
            continue;
        }
        stores.push_back(std::get<Store>(parsed));
    }
    if (refused) {
        reportRefusal("set: nothing written to " + options.pilot);
        return kFailure;
    }
    // Read, changed and written under the file's lock: a set running at the same time on
    // the same file waits, and then works on this one's result.
    const auto edit = [&](pilot::PilotRecord& record) {
        for (const Store& store : stores) {
            record.setRaw(store.path.field, store.pattern, store.path.row, store.path.column);
        }
        if (options.updateTotals) {
            record.setI32(pilot::Field::TotalScore, pilot::storedTotalScore(record));
            record.setU16(pilot::Field::Kills, pilot::storedKillsTotal(record));
        }
    };
    pilot::history::ReplacedVersionKeeper keeper(options.pilot, pilot::history::Origin::Replaced);
    if (const auto error = pilot::updatePilotFile(options.pilot, edit, keeper.keeper())) {
        reportIoError(options.pilot, *error);
        return kFailure;
    }
    reportKeepFailure(options.pilot, keeper.failure());
    return kSuccess;
}

}  // namespace

void addSetCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<SetOptions>();
    CLI::App* command = app.add_subcommand("set", "Edit fields of a pilot file in place");
    command->footer(
        "FIELD=VALUE with the names of show: BattleMissionScore[3][2]=10, Rank=Captain or "
        "Rank=3. Numbers are stored as the editor's fields store them (cut to the field's "
        "width; 65535 in a 16-bit field becomes 0). Any refused assignment leaves the file "
        "untouched. What the file held before is kept as a version (see history).");
    command->add_option("PILOT", options->pilot, "Pilot file (.TFR)")->required();
    command->add_option("ASSIGNMENT", options->assignments, "FIELD=VALUE, one or more")->required();
    command->add_flag("--update-totals", options->updateTotals,
                      "Afterwards recompute TotalScore and Kills from the mission scores and "
                      "kill counters, as the editor does");
    command->callback([options, &status] { status = runSet(*options); });
}

}  // namespace cli
