#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "Arguments.h"
#include "Commands.h"
#include "FieldPath.h"
#include "PilotFiles.h"
#include "RecordJson.h"
#include "ValueText.h"

namespace cli {

namespace {

struct ShowOptions {
    bool json = false;
};

void printText(const pilot::PilotRecord& record) {
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved()) {
            std::cout << info.name << ": " << hexBytes(record, info.id) << '\n';
            continue;
        }
        pilot::forEachElement(info.id, [&](const pilot::ElementPath& path) {
            std::cout << pilot::elementLabel(path) << ": " << valueText(record, path) << '\n';
        });
    }
}

// A file name as a JSON string. File names need not be UTF-8; JSON text must be.
std::string jsonKey(std::string_view name) {
    return nlohmann::json(std::string(name))
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// For each name, where it occurred before on the list (or -1): found by sorting positions,
// which takes no more memory than two numbers per name.
std::vector<std::int32_t> earlierOccurrences(const NameList& names) {
    std::vector<std::uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return names[a] < names[b]; });
    std::vector<std::int32_t> earlier(names.size(), -1);
    for (std::size_t i = 1; i < order.size(); ++i) {
        if (names[order[i]] == names[order[i - 1]]) {
            earlier[order[i]] = static_cast<std::int32_t>(order[i - 1]);
        }
    }
    return earlier;
}

// Several files make one object keyed by file name, written one file at a time as each is
// read, so that a roster of any size takes little more memory than its list of names. A
// file named twice is shown once, where it was first read.
class JsonFiles {
public:
    explicit JsonFiles(const NameList& names)
        : m_names(names),
          m_keyed(names.size() > 1),
          m_shown(names.size(), false),
          m_earlier(m_keyed ? earlierOccurrences(names) : std::vector<std::int32_t>{}) {}

    void add(std::size_t index, const pilot::PilotRecord& record) {
        m_text.clear();
        if (m_keyed) {
            for (std::int32_t earlier = m_earlier[index]; earlier >= 0;
                 earlier = m_earlier[static_cast<std::size_t>(earlier)]) {
                if (m_shown[static_cast<std::size_t>(earlier)]) {
                    return;
                }
            }
            m_text += m_any ? ",\n  " : "{\n  ";
            m_text += jsonKey(m_names[index]);
            m_text += ": ";
        }
        m_shown[index] = true;
        m_any = true;
        appendRecordJson(m_text, record, m_keyed ? 1 : 0);
        if (!m_keyed) {
            m_text += '\n';
        }
        std::cout.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
    }

    void finish() {
        if (m_keyed && m_any) {
            std::cout << "\n}\n";
        }
    }

private:
    const NameList& m_names;
    const bool m_keyed;
    std::vector<bool> m_shown;
    const std::vector<std::int32_t> m_earlier;
    bool m_any = false;
    std::string m_text;
};

}  // namespace

void printRecord(const pilot::PilotRecord& record, bool json) {
    if (!json) {
        printText(record);
        return;
    }
    std::string text;
    appendRecordJson(text, record, 0);
    std::cout << text << '\n';
}

namespace {

int runShow(const NameList& pilots, const ShowOptions& options) {
    const bool several = pilots.size() > 1;
    bool failed = false;
    std::optional<JsonFiles> json;
    if (options.json) {
        json.emplace(pilots);
    }
    for (std::size_t index = 0; index < pilots.size(); ++index) {
        const auto record = loadOrReport(pilots[index]);
        if (!record) {
            failed = true;
            continue;
        }
        if (json) {
            json->add(index, *record);
            continue;
        }
        if (several) {
            std::cout << "==> " << pilots[index] << " <==\n";
        }
        printText(*record);
    }
    if (json) {
        json->finish();
    }
    if (!standardOutputWritten()) {
        return kFailure;
    }
    return failed ? kFailure : kSuccess;
}

}  // namespace

void addShowCommand(CLI::App& app, int& status, const NameList& pilots) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand("show", "Print every field of pilot files by name");
    command->footer(
        "Indices count from 0 as in the record, with the battle, mission or craft they stand "
        "for beside them; enumerated values with their texts; reserved stretches as hex. "
        "PILOT - reads the pilot from standard input.");
    addPilotList(*command);
    command->add_flag("--json", options->json,
                      "One JSON object per record; with several files one object keyed by file "
                      "name");
    command->callback([options, &pilots, &status] { status = runShow(pilots, *options); });
}

}  // namespace cli
