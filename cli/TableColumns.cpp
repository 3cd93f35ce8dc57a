#include "TableColumns.h"

#include <algorithm>

#include "NumberText.h"
#include "PilotRecord.h"
#include "ValueText.h"

namespace cli {

namespace {

using pilot::Field;
using Kind = TableColumn::Kind;

void addElements(std::vector<TableColumn>& columns, Field field, std::size_t firstRow,
                 std::size_t rows) {
    const pilot::FieldInfo& info = pilot::fieldInfo(field);
    for (std::size_t row = firstRow; row < firstRow + rows; ++row) {
        for (std::size_t column = 0; column < info.columns; ++column) {
            columns.push_back({Kind::Element, {field, row, column}});
        }
    }
}

using Columns = std::vector<TableColumn>;

// The columns of one name, or why it is refused.
std::variant<Columns, std::string> columnsOf(std::string_view name) {
    const auto figure = std::find_if(kTableFigures.begin(), kTableFigures.end(),
                                     [&](const TableFigure& known) { return known.name == name; });
    if (figure != kTableFigures.end()) {
        return Columns{{figure->kind, {}}};
    }
    Columns columns;
    if (const auto field = pilot::findField(name)) {
        const pilot::FieldInfo& info = pilot::fieldInfo(*field);
        if (info.reserved()) {
            columns.push_back({Kind::ReservedBytes, {*field, 0, 0}});
        } else {
            addElements(columns, *field, 0, info.rows);
        }
        return columns;
    }
    const auto element = pilot::parseFieldPath(name);
    if (const auto* path = std::get_if<pilot::ElementPath>(&element)) {
        return Columns{{Kind::Element, *path}};
    }
    // One row of a two-dimensional field: the name of its first element checks the row.
    const auto field = pilot::findField(name.substr(0, name.find('[')));
    if (field && pilot::fieldInfo(*field).dimensions == 2 &&
        std::count(name.begin(), name.end(), '[') == 1) {
        const auto first = pilot::parseFieldPath(std::string(name) + "[0]");
        if (const auto* path = std::get_if<pilot::ElementPath>(&first)) {
            addElements(columns, *field, path->row, 1);
            return columns;
        }
        return std::get<std::string>(first);
    }
    return std::get<std::string>(element);
}

std::string tenthsText(std::int64_t tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::size_t battlesFinished(const pilot::PilotRecord& record) {
    constexpr std::uint8_t kCompleted = 3;  // "Completed"
    std::size_t finished = 0;
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        finished += record.u8(Field::BattleStatus, battle) == kCompleted;
    }
    return finished;
}

std::string elementText(const pilot::PilotRecord& record, const pilot::ElementPath& path) {
    const pilot::FieldInfo& info = pilot::fieldInfo(path.field);
    const std::uint32_t pattern = record.raw(path.field, path.row, path.column);
    if (info.enumeration.empty()) {
        return pilot::numberText(pattern, info.type);
    }
    const auto text = pilot::enumerationText(path.field, pattern);
    return text ? std::string(*text) : valueText(record, path);
}

void appendCsvCell(std::string& out, std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += cell;
        return;
    }
    out += '"';
    for (const char c : cell) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

void appendTsvCell(std::string& out, std::string_view cell) {
    for (const char c : cell) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
}

}  // namespace

std::variant<std::vector<TableColumn>, std::string> tableColumns(
    std::span<const std::string> names) {
    Columns columns;
    for (const std::string& name : names) {
        auto named = columnsOf(name);
        if (const auto* error = std::get_if<std::string>(&named)) {
            return *error;
        }
        const Columns& added = std::get<Columns>(named);
        columns.insert(columns.end(), added.begin(), added.end());
    }
    return columns;
}

std::string columnName(const TableColumn& column) {
    switch (column.kind) {
        case Kind::Element:
            return pilot::pathName(column.path);
        case Kind::ReservedBytes:
            return std::string(pilot::fieldInfo(column.path.field).name);
        default:
            break;
    }
    const auto figure =
        std::find_if(kTableFigures.begin(), kTableFigures.end(),
                     [&](const TableFigure& known) { return known.kind == column.kind; });
    return std::string(figure->name);
}

std::string cellText(const TableColumn& column, const pilot::PilotRecord& record,
                     std::string_view file) {
    switch (column.kind) {
        case Kind::File:
            return std::string(file);
        case Kind::Element:
            return elementText(record, column.path);
        case Kind::ReservedBytes:
            return hexBytes(record, column.path.field);
        case Kind::BattlesFinished:
            return std::to_string(battlesFinished(record));
        case Kind::LaserAccuracy:
            return accuracyText(record.i32(Field::LaserHits), record.i32(Field::LaserShots));
        case Kind::WarheadAccuracy:
            return accuracyText(record.u16(Field::WarheadHits), record.u16(Field::WarheadShots));
    }
    return {};
}

std::string accuracyText(std::int64_t hits, std::int64_t shots) {
    if (shots <= 0 || hits < 0) {
        return {};
    }
    return tenthsText((hits * 2000 + shots) / (2 * shots));
}

void appendTableRow(std::string& out, std::span<const std::string> cells, TableFormat format) {
    const bool csv = format == TableFormat::Csv;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            out += csv ? ',' : '\t';
        }
        if (csv) {
            appendCsvCell(out, cells[i]);
        } else {
            appendTsvCell(out, cells[i]);
        }
    }
    out += csv ? "\r\n" : "\n";
}

}  // namespace cli
