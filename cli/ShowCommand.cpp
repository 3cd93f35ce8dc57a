#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "FieldPath.h"
#include "PilotFiles.h"
#include "RecordJson.h"
#include "ValueText.h"

namespace cli {

namespace {

struct ShowOptions {
    std::vector<std::string> pilots;
    bool json = false;
};

void printText(const pilot::PilotRecord& record) {
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved) {
            std::cout << info.name << ": " << hexBytes(record, info.id) << '\n';
            continue;
        }
        forEachElement(info.id, [&](const ElementPath& path) {
            std::cout << elementLabel(path) << ": " << valueText(record, path) << '\n';
        });
    }
}

int runShow(const ShowOptions& options) {
    const bool several = options.pilots.size() > 1;
    bool failed = false;
    nlohmann::ordered_json files = nlohmann::ordered_json::object();
    for (const std::string& pilot : options.pilots) {
        const auto record = loadOrReport(pilot);
        if (!record) {
            failed = true;
            continue;
        }
        if (options.json) {
            files[pilot] = recordJson(*record);
            continue;
        }
        if (several) {
            std::cout << "==> " << pilot << " <==\n";
        }
        printText(*record);
    }
    if (options.json && !files.empty()) {
        const auto& shown = several ? files : files.front();
        // File names need not be UTF-8; JSON text must be.
        std::cout << shown.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    }
    return failed ? kFailure : kSuccess;
}

}  // namespace

void addShowCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand("show", "Print every field of pilot files by name");
    command->footer(
        "Indices count from 0 as in the record, with the battle, mission or craft they stand "
        "for beside them; enumerated values with their texts; reserved stretches as hex.");
    command->add_option("PILOT", options->pilots, "Pilot files (.TFR)")->required();
    command->add_flag("--json", options->json,
                      "One JSON object per record; with several files one object keyed by file "
                      "name");
    command->callback([options, &status] { status = runShow(*options); });
}

}  // namespace cli
