#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "FieldPath.h"
#include "PilotFileIO.h"
#include "PilotFiles.h"
#include "RecordChecks.h"
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
    bool strict = false;
};

struct Store {
    pilot::ElementPath path;
    std::uint32_t pattern = 0;
    std::optional<std::string> otherwise;  // why the value stored is not the one written
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
    const std::string_view value = std::string_view(assignment).substr(equals + 1);
    const auto pattern = storedPattern(path, value);
    if (const auto* error = std::get_if<std::string>(&pattern)) {
        return *error;
    }
    const std::uint32_t stored = std::get<std::uint32_t>(pattern);
    return Store{path, stored, storedOtherwise(path, value, stored)};
}

// The record as the assignments leave it.
void applyStores(pilot::PilotRecord& record, const std::vector<Store>& stores, bool updateTotals) {
    for (const Store& store : stores) {
        record.setRaw(store.path.field, store.pattern, store.path.row, store.path.column);
    }
    if (updateTotals) {
        record.setI32(pilot::Field::TotalScore, pilot::storedTotalScore(record));
        record.setU16(pilot::Field::Kills, pilot::storedKillsTotal(record));
    }
}

// What a set stores other than what was written: each value cut or reset, then what check
// finds in the record afterwards that it did not find before.
std::vector<std::string> storeWarnings(const std::vector<std::string>& assignments,
                                       const std::vector<Store>& stores,
                                       const pilot::PilotRecord& before,
                                       const pilot::PilotRecord& after) {
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < stores.size(); ++i) {
        if (stores[i].otherwise) {
            warnings.push_back("\"" + assignments[i] + "\" " + *stores[i].otherwise);
        }
    }
    const std::vector<pilot::Problem> earlier = pilot::checkRecord(before);
    for (const pilot::Problem& found : pilot::checkRecord(after)) {
        if (std::find(earlier.begin(), earlier.end(), found) == earlier.end()) {
            warnings.push_back("check will report: " + pilot::problemLine(found));
        }
    }
    return warnings;
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
    // The warnings come from the file as it is now; --strict refuses before anything is
    // written.
    const auto before = loadOrReport(options.pilot);
    if (!before) {
        return kFailure;
    }
    pilot::PilotRecord after = *before;
    applyStores(after, stores, options.updateTotals);
    const auto warnings = storeWarnings(options.assignments, stores, *before, after);
    for (const std::string& warning : warnings) {
        reportRefusal("set: " + warning);
    }
    if (options.strict && !warnings.empty()) {
        reportRefusal("set: nothing written to " + options.pilot + " (--strict)");
        return kFailure;
    }
    // Read, changed and written under the file's lock: a set running at the same time on
    // the same file waits, and then works on this one's result.
    const auto edit = [&](pilot::PilotRecord& record) {
        applyStores(record, stores, options.updateTotals);
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
        "width; 65535 in a 16-bit field becomes 0), with a warning on standard error when "
        "what is stored differs from what was written or check would report it. Any refused "
        "assignment leaves the file untouched. What the file held before is kept as a version "
        "(see history).");
    command->add_option("PILOT", options->pilot, "Pilot file (.TFR)")->required();
    command->add_option("ASSIGNMENT", options->assignments, "FIELD=VALUE, one or more")->required();
    command->add_flag("--update-totals", options->updateTotals,
                      "Afterwards recompute TotalScore and Kills from the mission scores and "
                      "kill counters, as the editor does");
    command->add_flag("--strict", options->strict,
                      "Refuse (exit status 2, nothing written) when a value would be stored "
                      "otherwise than written or check would report the result");
    command->callback([options, &status] { status = runSet(*options); });
}

}  // namespace cli
