#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

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

// A file name as a JSON string. File names need not be UTF-8; JSON text must be.
std::string jsonKey(const std::string& name) {
    return nlohmann::json(name).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

// Several files make one object keyed by file name, written one file at a time as each is
// read, so that a roster of any size takes no more memory than one file. A file named twice
// is shown once, where it was first read.
class JsonFiles {
public:
    explicit JsonFiles(bool keyed) : m_keyed(keyed) {}

    void add(const std::string& name, const pilot::PilotRecord& record) {
        m_text.clear();
        if (m_keyed) {
            if (!m_shown.insert(name).second) {
                return;
            }
            m_text += m_shown.size() == 1 ? "{\n  " : ",\n  ";
            m_text += jsonKey(name);
            m_text += ": ";
        }
        appendRecordJson(m_text, record, m_keyed ? 1 : 0);
        if (!m_keyed) {
            m_text += '\n';
        }
        std::cout.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
    }

    void finish() {
        if (m_keyed && !m_shown.empty()) {
            std::cout << "\n}\n";
        }
    }

private:
    const bool m_keyed;
    std::unordered_set<std::string_view> m_shown;  // views of the names held by the options
    std::string m_text;
};

int runShow(const ShowOptions& options) {
    const bool several = options.pilots.size() > 1;
    bool failed = false;
    JsonFiles json(several);
    for (const std::string& pilot : options.pilots) {
        const auto record = loadOrReport(pilot);
        if (!record) {
            failed = true;
            continue;
        }
        if (options.json) {
            json.add(pilot, *record);
            continue;
        }
        if (several) {
            std::cout << "==> " << pilot << " <==\n";
        }
        printText(*record);
    }
    json.finish();
    if (!standardOutputWritten()) {
        return kFailure;
    }
    return failed ? kFailure : kSuccess;
}

}  // namespace

void addShowCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = app.add_subcommand("show", "Print every field of pilot files by name");
    command->footer(
        "Indices count from 0 as in the record, with the battle, mission or craft they stand "
        "for beside them; enumerated values with their texts; reserved stretches as hex. "
        "PILOT - reads the pilot from standard input.");
    command->add_option("PILOT", options->pilots, "Pilot files (.TFR)")->required();
    command->add_flag("--json", options->json,
                      "One JSON object per record; with several files one object keyed by file "
                      "name");
    command->callback([options, &status] { status = runShow(*options); });
}

}  // namespace cli
