#include "RecordJson.h"

#include "PilotRecord.h"
#include "ValueText.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

Json elementJson(const pilot::PilotRecord& record, const pilot::FieldInfo& info, std::size_t row,
                 std::size_t column) {
    const std::int64_t value = record.value(info.id, row, column);
    if (info.enumeration.empty()) {
        return value;
    }
    const auto text = pilot::enumerationText(info.id, static_cast<std::uint32_t>(value));
    return Json{{"value", value}, {"text", text ? Json(std::string(*text)) : Json(nullptr)}};
}

Json fieldJson(const pilot::PilotRecord& record, const pilot::FieldInfo& info) {
    if (info.reserved) {
        return hexBytes(record, info.id);
    }
    if (info.dimensions == 0) {
        return elementJson(record, info, 0, 0);
    }
    Json rows = Json::array();
    for (std::size_t row = 0; row < info.rows; ++row) {
        if (info.dimensions == 1) {
            rows.push_back(elementJson(record, info, row, 0));
            continue;
        }
        Json columns = Json::array();
        for (std::size_t column = 0; column < info.columns; ++column) {
            columns.push_back(elementJson(record, info, row, column));
        }
        rows.push_back(std::move(columns));
    }
    return rows;
}

}  // namespace

nlohmann::ordered_json recordJson(const pilot::PilotRecord& record) {
    Json object = Json::object();
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        object[std::string(info.name)] = fieldJson(record, info);
    }
    return object;
}

}  // namespace cli
