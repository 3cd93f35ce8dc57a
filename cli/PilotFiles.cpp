#include "PilotFiles.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>
#include <variant>

#include <unistd.h>

#include <CLI/CLI.hpp>

#include "Commands.h"
#include "PilotFileIO.h"

namespace cli {

void addPilotList(CLI::App& command) {
    command.add_option("PILOT", "Pilot files (.TFR)")
        ->expected(CLI::detail::expected_max_vector_size)
        ->required();
}

void reportIoError(const std::filesystem::path& path, const pilot::IoError& error, bool folder) {
    std::error_code ignored;
    const bool aFolder = !folder && error.code == pilot::IoError::AccessDenied &&
                         std::filesystem::is_directory(path, ignored);
    std::cerr << "brevanta-cli: " << path.string() << ": error " << error.code << ": "
              << pilot::withClosingPeriod(error.message()) << " ("
              << pilot::plainReason(error, aFolder) << ")\n";
}

void reportRefusal(std::string_view message) {
    std::cerr << "brevanta-cli: " << message << '\n';
}

std::optional<pilot::PilotRecord> loadOrReport(const std::filesystem::path& path) {
    auto loaded =
        path == kStandardStream ? pilot::readPilotRecord(STDIN_FILENO) : pilot::loadPilotFile(path);
    if (const auto* error = std::get_if<pilot::IoError>(&loaded)) {
        reportIoError(path, *error);
        return std::nullopt;
    }
    return std::get<pilot::PilotRecord>(std::move(loaded));
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ignored;  // a name that does not exist is not the same file
    return std::filesystem::equivalent(a, b, ignored);
}

bool standardOutputWritten() {
    // The write that failed may lie back in the run; its errno is the best account there is.
    std::cout.flush();
    if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0 && std::cout) {
        return true;
    }
    reportIoError("standard output", pilot::IoError::fromErrno(errno != 0 ? errno : EIO));
    return false;
}

}  // namespace cli
