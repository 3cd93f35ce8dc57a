// show --json writes each file's object as it reads the file. Its text is compared with a
// JSON document built whole from the same records and printed by the JSON library, as the
// command printed it before it streamed.

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "ElementNames.h"
#include "FieldTable.h"
#include "PilotRecord.h"
#include "RecordJson.h"
#include "TestFiles.h"
#include "ValueText.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;
using pilot::PilotRecord;
using testing_support::runCli;
using testing_support::TempDir;

// The record as a document, field by field from the table.
Json elementOracle(const PilotRecord& record, const pilot::FieldInfo& info, std::size_t row,
                   std::size_t column) {
    const std::int64_t value = record.value(info.id, row, column);
    if (info.enumeration.empty()) {
        return value;
    }
    const auto text = pilot::enumerationText(info.id, static_cast<std::uint32_t>(value));
    return Json{{"value", value}, {"text", text ? Json(std::string(*text)) : Json(nullptr)}};
}

Json recordOracle(const PilotRecord& record) {
    Json object = Json::object();
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        Json field;
        if (info.reserved()) {
            field = cli::hexBytes(record, info.id);
        } else if (info.dimensions == 0) {
            field = elementOracle(record, info, 0, 0);
        } else {
            field = Json::array();
            for (std::size_t row = 0; row < info.rows; ++row) {
                if (info.dimensions == 1) {
                    field.push_back(elementOracle(record, info, row, 0));
                    continue;
                }
                Json columns = Json::array();
                for (std::size_t column = 0; column < info.columns; ++column) {
                    columns.push_back(elementOracle(record, info, row, column));
                }
                field.push_back(std::move(columns));
            }
        }
        object[std::string(info.name)] = std::move(field);
        if (info.id == pilot::Field::ShipKills) {
            Json labels = Json::array();
            for (const std::string_view label : pilot::kShipKillLabels) {
                labels.push_back(std::string(label));
            }
            object["ShipKillLabels"] = std::move(labels);
        }
    }
    return object;
}

std::string printed(const Json& json) {
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::vector<PilotRecord> records() {
    std::vector<PilotRecord> all = {PilotRecord{}, PilotRecord::newPilot()};
    PilotRecord::Bytes full{};
    full.fill(0xFF);
    all.emplace_back(full);
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        all.push_back(testing_support::patternedRecord(seed));
    }
    return all;
}

TEST(CliJson, EachRecordIsWrittenAsTheWholeDocumentWasPrinted) {
    for (const PilotRecord& record : records()) {
        std::string alone;
        cli::appendRecordJson(alone, record, 0);
        EXPECT_EQ(alone + "\n", printed(recordOracle(record)));
    }
}

// Several files make one object keyed by name; a name that is no UTF-8 gets replacement
// characters, and a file named twice is shown once, where it came first.
TEST(CliJson, SeveralFilesMakeOneObjectKeyedByName) {
    TempDir dir;
    const std::vector<std::string> names = {"a.TFR", "b \"quoted\".TFR", "caf\xE9.TFR",
                                            "wing/c.TFR"};
    fs::create_directory(dir / "wing");
    Json files = Json::object();
    std::vector<std::string> arguments = {"show", "--json"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const PilotRecord record =
            testing_support::patternedRecord(100 + static_cast<std::uint32_t>(i));
        testing_support::writeRecord(dir / names[i], record);
        files[names[i]] = recordOracle(record);
        arguments.push_back(names[i]);
    }
    arguments.push_back("missing.TFR");
    arguments.push_back(names[0]);
    const auto result = runCli(arguments, dir.path());
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, printed(files));
    EXPECT_EQ(
        result.err,
        "brevanta-cli: missing.TFR: error 2: Datei nicht gefunden. (the file does not exist)\n");

    const auto none = runCli({"show", "--json", "gone.TFR", "missing.TFR"}, dir.path());
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "");
}

}  // namespace
