#include <cerrno>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include "Arguments.h"
#include "ByteFiles.h"
#include "Commands.h"
#include "PilotFileIO.h"
#include "PilotFiles.h"
#include "PilotReport.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

struct ReportOptions {
    std::optional<std::string> output;     // a file, or "-" for standard output
    std::optional<std::string> outputDir;  // the folder all reports go into
};

// The report's name without -o: the pilot's name with its extension replaced by ".TXT".
fs::path reportName(const fs::path& pilot) {
    return fs::path(pilot).replace_extension(".TXT");
}

// Whether an existing file of the target's name is the pilot itself. A name that does not
// exist yet, the usual case for a roster, costs one look-up and never is.
bool isThePilot(const fs::path& target, const fs::path& pilot) {
    struct stat info {};
    return ::stat(target.c_str(), &info) == 0 && sameFile(target, pilot);
}

// The output folder is checked once, before any pilot: a folder that is missing, no folder
// or not writable would fail every report in the same way.
bool outputFolderUsable(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            reportRefusal("report: the output folder " + folder + " does not exist");
            return false;
        }
        reportIoError(folder, pilot::IoError::fromErrno(errno), true);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        reportRefusal("report: " + folder + " is not a folder");
        return false;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        reportIoError(folder, pilot::IoError::fromErrno(errno), true);
        return false;
    }
    return true;
}

class ReportWriter {
public:
    explicit ReportWriter(const ReportOptions& options)
        : m_options(options),
          m_workingFolder(fs::current_path()),
          m_namedFolder(
              options.outputDir
                  ? std::optional((m_workingFolder / *options.outputDir).lexically_normal())
                  : std::nullopt) {}

    // Writes the report of one pilot; false after reporting why it could not.
    bool write(const fs::path& pilot) {
        const auto record = loadOrReport(pilot);
        if (!record) {
            return false;
        }
        const bool toStandardOutput = m_options.output == kStandardStream;
        const bool named = m_options.output && !toStandardOutput;
        const fs::path target = named ? fs::path(*m_options.output) : defaultTarget(pilot);
        // Line 1 names the report by its absolute path, as the editor's Save dialog does.
        const fs::path absolute = m_namedFolder && !named
                                      ? *m_namedFolder / target.filename()
                                      : (m_workingFolder / target).lexically_normal();
        const std::string text = reports::pilotReport(*record, absolute.native());
        if (toStandardOutput) {
            std::cout << text;
            return standardOutputWritten();
        }
        if (isThePilot(target, pilot)) {
            reportRefusal(pilot.string() +
                          ": the report would replace the pilot file itself; "
                          "name another with -o or --output-dir");
            return false;
        }
        if (!m_written.insert(absolute.native()).second) {
            reportRefusal(pilot.string() + ": another pilot's report was already written to " +
                          target.string());
            return false;
        }
        if (const auto error =
                pilot::writeFileSafely(target, text, pilot::Durability::SyncedLater)) {
            reportIoError(target, *error);
            return false;
        }
        rememberFileSystem(target);
        return true;
    }

    // Makes the reports written durable, one sync for each file system they went to; false
    // after reporting a failure.
    bool syncWritten() {
        bool synced = true;
        for (const auto& [device, folder] : m_fileSystems) {
            if (const auto error = pilot::syncFileSystem(folder)) {
                reportIoError(folder, *error, true);
                synced = false;
            }
        }
        return synced;
    }

private:
    // Beside the pilot, or in the output folder.
    [[nodiscard]] fs::path defaultTarget(const fs::path& pilot) const {
        const fs::path name = reportName(pilot);
        return m_options.outputDir ? fs::path(*m_options.outputDir) / name.filename() : name;
    }

    // Reports of a roster mostly go into one folder: it is looked up once.
    void rememberFileSystem(const fs::path& target) {
        fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        struct stat info {};
        if (folder != m_lastFolder && ::stat(folder.c_str(), &info) == 0) {
            m_fileSystems.emplace(info.st_dev, folder);
            m_lastFolder = std::move(folder);
        }
    }

    const ReportOptions& m_options;
    const fs::path m_workingFolder;
    const std::optional<fs::path> m_namedFolder;  // the output folder's absolute name
    std::unordered_set<std::string> m_written;
    std::unordered_map<dev_t, fs::path> m_fileSystems;  // a folder on each one written to
    fs::path m_lastFolder;
};

int runReport(const NameList& pilots, const ReportOptions& options) {
    if (options.output && pilots.size() > 1) {
        reportRefusal("report: -o takes a single pilot file; use --output-dir for several");
        return kFailure;
    }
    bool fromStandardInput = false;
    for (std::size_t index = 0; index < pilots.size(); ++index) {
        fromStandardInput = fromStandardInput || pilots[index] == kStandardStream;
    }
    if (fromStandardInput && (!options.output || options.output == kStandardStream)) {
        reportRefusal(
            "report: a pilot read from standard input has no name to give its report; name the "
            "report with -o FILE");
        return kFailure;
    }
    if (options.outputDir && options.outputDir->empty()) {
        reportRefusal("report: --output-dir names no folder");
        return kFailure;
    }
    if (options.outputDir && !outputFolderUsable(*options.outputDir)) {
        return kFailure;
    }
    ReportWriter writer(options);
    bool failed = false;
    for (std::size_t index = 0; index < pilots.size(); ++index) {
        failed = !writer.write(pilots[index]) || failed;
    }
    failed = !writer.syncWritten() || failed;
    return failed ? kFailure : kSuccess;
}

}  // namespace

void addReportCommand(CLI::App& app, int& status, const NameList& pilots) {
    auto options = std::make_shared<ReportOptions>();
    CLI::App* command = app.add_subcommand("report", "Write the pilot text report");
    command->footer(
        "Writes exactly the bytes of the editor's Save As \"Text File\"; line 1 is the report's "
        "absolute path. Without -o the report goes beside the pilot, named as the pilot with "
        "the extension \".TXT\", and never over the pilot itself. The folder of --output-dir "
        "must exist. PILOT - reads the pilot from standard input; its report needs -o FILE.");
    addPilotList(*command);
    CLI::Option* output = command->add_option(
        "-o,--output", options->output,
        "The report file, or - for standard output (line 1 then names the default report)");
    command
        ->add_option("--output-dir", options->outputDir,
                     "Write each report into this existing folder, named as its pilot with "
                     "\".TXT\"")
        ->excludes(output);
    command->callback([options, &pilots, &status] { status = runReport(pilots, *options); });
}

}  // namespace cli
