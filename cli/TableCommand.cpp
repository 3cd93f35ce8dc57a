#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Arguments.h"
#include "Commands.h"
#include "PilotFiles.h"
#include "TableColumns.h"

namespace cli {

namespace {

struct TableOptions {
    bool tsv = false;
    std::vector<std::string> fields;
};

// One row per pilot, written as each file is read, so that a roster of any size takes no
// more memory than one row.
int runTable(const NameList& pilots, const TableOptions& options) {
    const std::vector<std::string> names =
        options.fields.empty()
            ? std::vector<std::string>(kDefaultTableFields.begin(), kDefaultTableFields.end())
            : options.fields;
    const auto chosen = tableColumns(names);
    if (const auto* error = std::get_if<std::string>(&chosen)) {
        reportRefusal("table: " + *error);
        return kFailure;
    }
    const auto& columns = std::get<std::vector<TableColumn>>(chosen);
    const TableFormat format = options.tsv ? TableFormat::Tsv : TableFormat::Csv;
    std::vector<std::string> cells;
    for (const TableColumn& column : columns) {
        cells.push_back(columnName(column));
    }
    std::string row;
    appendTableRow(row, cells, format);
    std::cout << row;
    bool failed = false;
    for (std::size_t index = 0; index < pilots.size(); ++index) {
        const auto record = loadOrReport(pilots[index]);
        if (!record) {
            failed = true;
            continue;
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            cells[i] = cellText(columns[i], *record, pilots[index]);
        }
        row.clear();
        appendTableRow(row, cells, format);
        std::cout.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    if (!standardOutputWritten()) {
        return kFailure;
    }
    return failed ? kFailure : kSuccess;
}

}  // namespace

void addTableCommand(CLI::App& app, int& status, const NameList& pilots) {
    auto options = std::make_shared<TableOptions>();
    CLI::App* command =
        app.add_subcommand("table", "Tabulate pilot files for a spreadsheet, one row per pilot");
    command->footer(
        "A header row, then one row per pilot: CSV by RFC 4180 (a value with a comma, quote "
        "or line break in double quotes, its quotes doubled; CR LF after each row), or with "
        "--tsv tab-separated (LF after each row; a tab, CR, LF or backslash in a value as \\t, "
        "\\r, \\n, \\\\). Enumerated values by their text. The columns by default: File, Rank, "
        "PilotStatus, TotalScore, Kills, BattlesFinished (battles whose status is "
        "\"Completed\"), LaserAccuracy and WarheadAccuracy (hits per 100 shots with one "
        "decimal, rounded half up; empty when no shot was fired). A file that cannot be read "
        "is reported and left out; exit status 2. PILOT - reads the pilot from standard "
        "input.");
    addPilotList(*command);
    command->add_flag("--tsv", options->tsv, "Tab-separated values instead of CSV");
    command
        ->add_option("--fields", options->fields,
                     "The columns, separated by commas: File, BattlesFinished, LaserAccuracy, "
                     "WarheadAccuracy, or what show names: an element (ShipKills[3]), a whole "
                     "field (ShipKills: one column per element), a row of a two-dimensional "
                     "field (BattleMissionScore[3])")
        ->delimiter(',');
    command->callback([options, &pilots, &status] { status = runTable(pilots, *options); });
}

}  // namespace cli
