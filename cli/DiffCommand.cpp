#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "FieldPath.h"
#include "PilotFiles.h"
#include "ValueText.h"
#include "Versions.h"

namespace cli {

namespace {

struct DiffOptions {
    std::string first;
    std::string second;
    std::optional<std::size_t> version;
};

std::string byteText(std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    return {'0', 'x', kDigits[byte >> 4], kDigits[byte & 0xF]};
}

// Prints one line per differing element, or per differing byte of a reserved stretch;
// returns whether anything differed.
bool printDifferences(const pilot::PilotRecord& a, const pilot::PilotRecord& b) {
    bool differ = false;
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved()) {
            for (std::size_t at = info.offset; at < info.offset + info.size(); ++at) {
                if (a.bytes()[at] != b.bytes()[at]) {
                    std::cout << "offset " << at << " (" << info.name
                              << "): " << byteText(a.bytes()[at]) << " -> "
                              << byteText(b.bytes()[at]) << '\n';
                    differ = true;
                }
            }
            continue;
        }
        pilot::forEachElement(info.id, [&](const pilot::ElementPath& path) {
            if (a.raw(path.field, path.row, path.column) !=
                b.raw(path.field, path.row, path.column)) {
                std::cout << pilot::elementLabel(path) << ": " << valueText(a, path) << " -> "
                          << valueText(b, path) << '\n';
                differ = true;
            }
        });
    }
    return differ;
}

// A and B, or a kept version of PILOT (as A) and the file now (as B).
int runDiff(const DiffOptions& options) {
    if (options.second.empty() == !options.version) {
        reportRefusal("diff: compare A with B, or PILOT with its kept version --kept N");
        return kFailure;
    }
    std::optional<pilot::PilotRecord> first;
    if (options.version) {
        if (const auto version = versionOrRefuse(options.first, *options.version, "diff")) {
            first = version->record;
        }
    } else {
        first = loadOrReport(options.first);
    }
    const auto second =
        first ? loadOrReport(options.version ? options.first : options.second) : std::nullopt;
    if (!first || !second) {
        return kFailure;
    }
    const bool differ = printDifferences(*first, *second);
    if (!standardOutputWritten()) {
        return kFailure;
    }
    return differ ? kFound : kSuccess;
}

}  // namespace

void addDiffCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<DiffOptions>();
    CLI::App* command = app.add_subcommand(
        "diff", "List the fields (and reserved bytes) in which two pilot files differ");
    command->footer(
        "One line per differing element (\"Rank: 2 (Lieutenant) -> 3 (Captain)\"), reserved "
        "bytes by offset. Exit status 0 when the records are identical, 1 when they differ. "
        "A or B - reads that pilot from standard input. PILOT --kept N compares kept version N "
        "of the pilot (as history numbers them, 1 the newest) with the file now.");
    command->add_option("A", options->first, "Pilot file (.TFR)")->required();
    command->add_option("B", options->second, "Pilot file (.TFR)");
    command->add_option("--kept", options->version, "Compare kept version N of A with A now")
        ->check(CLI::PositiveNumber);
    command->callback([options, &status] { status = runDiff(*options); });
}

}  // namespace cli
