#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "PilotFileIO.h"
#include "PilotFiles.h"
#include "PilotReport.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

struct ReportOptions {
    std::vector<std::string> pilots;
    std::string output;     // a file, "-" for standard output, or empty
    std::string outputDir;  // empty unless reports go into one folder
};

// Where the report of a pilot goes without -o: beside the pilot (or in the output folder)
// under the pilot's name with its extension replaced by ".TXT".
fs::path defaultReportPath(const fs::path& pilot, const std::string& outputDir) {
    fs::path name = pilot;
    name.replace_extension(".TXT");
    return outputDir.empty() ? name : fs::path(outputDir) / name.filename();
}

class ReportWriter {
public:
    explicit ReportWriter(const ReportOptions& options)
        : m_options(options), m_workingFolder(fs::current_path()) {}

    // Writes the report of one pilot; false after reporting why it could not.
    bool write(const fs::path& pilot) {
        const auto record = loadOrReport(pilot);
        if (!record) {
            return false;
        }
        const bool toStandardOutput = m_options.output == "-";
        const fs::path target = m_options.output.empty() || toStandardOutput
                                    ? defaultReportPath(pilot, m_options.outputDir)
                                    : fs::path(m_options.output);
        // Line 1 names the report by its absolute path, as the editor's Save dialog does.
        const fs::path named = (m_workingFolder / target).lexically_normal();
        const std::string text = reports::pilotReport(*record, named.string());
        if (toStandardOutput) {
            std::cout << text;
            return static_cast<bool>(std::cout.flush());
        }
        if (sameFile(named, pilot)) {
            reportRefusal(pilot.string() +
                          ": the report would replace the pilot file itself; "
                          "name another with -o or --output-dir");
            return false;
        }
        if (!m_written.insert(named.native()).second) {
            reportRefusal(pilot.string() + ": another pilot's report was already written to " +
                          target.string());
            return false;
        }
        if (const auto error = pilot::writeFileSafely(target, text)) {
            reportIoError(target, *error);
            return false;
        }
        return true;
    }

private:
    const ReportOptions& m_options;
    const fs::path m_workingFolder;
    std::unordered_set<std::string> m_written;
};

int runReport(const ReportOptions& options) {
    if (!options.output.empty() && options.pilots.size() > 1) {
        reportRefusal("report: -o takes a single pilot file; use --output-dir for several");
        return kFailure;
    }
    ReportWriter writer(options);
    bool failed = false;
    for (const std::string& pilot : options.pilots) {
        failed = !writer.write(pilot) || failed;
    }
    return failed ? kFailure : kSuccess;
}

}  // namespace

void addReportCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<ReportOptions>();
    CLI::App* command = app.add_subcommand("report", "Write the pilot text report");
    command->footer(
        "Writes exactly the bytes of the editor's Save As \"Text File\"; line 1 is the report's "
        "absolute path. Without -o the report goes beside the pilot, named as the pilot with "
        "the extension \".TXT\", and never over the pilot itself.");
    command->add_option("PILOT", options->pilots, "Pilot files (.TFR)")->required();
    CLI::Option* output = command->add_option(
        "-o,--output", options->output,
        "The report file, or - for standard output (line 1 then names the default report)");
    command
        ->add_option("--output-dir", options->outputDir,
                     "Write each report into this folder, named as its pilot with \".TXT\"")
        ->excludes(output);
    command->callback([options, &status] { status = runReport(*options); });
}

}  // namespace cli
