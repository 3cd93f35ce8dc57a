#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "FieldPath.h"

namespace pilot {
class PilotRecord;
}

namespace cli {

// One column of a roster table: the pilot file's name, an element of the record, a reserved
// stretch as show prints it, or a figure worked out from the record.
struct TableColumn {
    enum class Kind : std::uint8_t {
        File,
        Element,
        ReservedBytes,
        BattlesFinished,  // battles whose status is "Completed"
        LaserAccuracy,    // LaserHits per 100 LaserShots
        WarheadAccuracy,  // WarheadHits per 100 WarheadShots
    };
    Kind kind = Kind::File;
    pilot::ElementPath path;  // of an element or a reserved stretch
};

// The names of the columns that are no field of the record.
struct TableFigure {
    std::string_view name;
    TableColumn::Kind kind;
};
inline constexpr std::array<TableFigure, 4> kTableFigures = {{
    {"File", TableColumn::Kind::File},
    {"BattlesFinished", TableColumn::Kind::BattlesFinished},
    {"LaserAccuracy", TableColumn::Kind::LaserAccuracy},
    {"WarheadAccuracy", TableColumn::Kind::WarheadAccuracy},
}};

inline constexpr std::array<std::string_view, 8> kDefaultTableFields = {
    "File",          "Rank",           "PilotStatus", "TotalScore", "Kills", "BattlesFinished",
    "LaserAccuracy", "WarheadAccuracy"};

// The columns the names ask for, in their order, or why a name is refused. A name is a
// figure above, an element as show names it ("ShipKills[3]"), a whole field (one column
// per element; a reserved stretch is one column), or one row of a two-dimensional field
// ("BattleMissionScore[3]", one column per mission).
[[nodiscard]] std::variant<std::vector<TableColumn>, std::string> tableColumns(
    std::span<const std::string> names);

// The column's name in the header row: the figure's, the element's or the stretch's.
[[nodiscard]] std::string columnName(const TableColumn& column);

// The column's value for one pilot: numbers in decimal, signed for 32-bit fields;
// enumerated values by their text, "9 (unknown)" outside their list; a reserved stretch as
// hex digits; an accuracy as accuracyText gives it.
[[nodiscard]] std::string cellText(const TableColumn& column, const pilot::PilotRecord& record,
                                   std::string_view file);

// Hits per 100 shots with one decimal, rounded half up ("43.8", "100.0", or above 100 when
// the record holds more hits than shots); empty when no shot was fired (shots 0 or below)
// or the hits are below 0.
[[nodiscard]] std::string accuracyText(std::int64_t hits, std::int64_t shots);

enum class TableFormat : std::uint8_t { Csv, Tsv };

// Appends one row of cells. CSV as RFC 4180 has it: cells separated by commas, a cell
// holding a comma, double quote, CR or LF in double quotes with its double quotes doubled,
// CR LF after the row. TSV: cells separated by tabs, LF after the row, and a tab, CR, LF or
// backslash in a cell written as \t, \r, \n or \\.
void appendTableRow(std::string& out, std::span<const std::string> cells, TableFormat format);

}  // namespace cli
