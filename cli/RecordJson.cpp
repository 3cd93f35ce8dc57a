#include "RecordJson.h"

#include <charconv>

#include "ElementNames.h"
#include "PilotRecord.h"
#include "ValueText.h"

namespace cli {

namespace {

using pilot::FieldInfo;

void newLine(std::string& out, int depth) {
    out += '\n';
    out.append(static_cast<std::size_t>(2 * depth), ' ');
}

void appendNumber(std::string& out, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// The enumeration texts are plain ASCII without quotes or backslashes: written as they are.
void appendElement(std::string& out, const pilot::PilotRecord& record, const FieldInfo& info,
                   std::size_t row, std::size_t column, int depth) {
    const std::int64_t value = record.value(info.id, row, column);
    if (info.enumeration.empty()) {
        appendNumber(out, value);
        return;
    }
    out += '{';
    newLine(out, depth + 1);
    out += "\"value\": ";
    appendNumber(out, value);
    out += ',';
    newLine(out, depth + 1);
    out += "\"text\": ";
    if (const auto text = pilot::enumerationText(info.id, static_cast<std::uint32_t>(value))) {
        out += '"';
        out += *text;
        out += '"';
    } else {
        out += "null";
    }
    newLine(out, depth);
    out += '}';
}

// One row of a field: its columns as an array, or the single element of a one-dimensional
// field.
void appendRow(std::string& out, const pilot::PilotRecord& record, const FieldInfo& info,
               std::size_t row, int depth) {
    if (info.dimensions == 1) {
        appendElement(out, record, info, row, 0, depth);
        return;
    }
    out += '[';
    for (std::size_t column = 0; column < info.columns; ++column) {
        out += column == 0 ? "" : ",";
        newLine(out, depth + 1);
        appendElement(out, record, info, row, column, depth + 1);
    }
    newLine(out, depth);
    out += ']';
}

void appendField(std::string& out, const pilot::PilotRecord& record, const FieldInfo& info,
                 int depth) {
    if (info.reserved()) {
        out += '"';
        out += hexBytes(record, info.id);
        out += '"';
        return;
    }
    if (info.dimensions == 0) {
        appendElement(out, record, info, 0, 0, depth);
        return;
    }
    out += '[';
    for (std::size_t row = 0; row < info.rows; ++row) {
        out += row == 0 ? "" : ",";
        newLine(out, depth + 1);
        appendRow(out, record, info, row, depth + 1);
    }
    newLine(out, depth);
    out += ']';
}

// The craft label of each kill counter, in the counters' order, as the member after
// ShipKills: the counters stay plain numbers. The labels are plain ASCII without quotes or
// backslashes.
void appendKillLabels(std::string& out, int depth) {
    out += ",";
    newLine(out, depth);
    out += '"';
    out += kShipKillLabelsKey;
    out += "\": [";
    for (std::size_t i = 0; i < pilot::kShipKillLabels.size(); ++i) {
        out += i == 0 ? "" : ",";
        newLine(out, depth + 1);
        out += '"';
        out += pilot::kShipKillLabels[i];
        out += '"';
    }
    newLine(out, depth);
    out += ']';
}

}  // namespace

void appendRecordJson(std::string& out, const pilot::PilotRecord& record, int depth) {
    out += '{';
    bool first = true;
    for (const FieldInfo& info : pilot::kFieldTable) {
        out += first ? "" : ",";
        first = false;
        newLine(out, depth + 1);
        out += '"';
        out += info.name;
        out += "\": ";
        appendField(out, record, info, depth + 1);
        if (info.id == pilot::Field::ShipKills) {
            appendKillLabels(out, depth + 1);
        }
    }
    newLine(out, depth);
    out += '}';
}

}  // namespace cli
