#include "PilotFiles.h"

#include <iostream>
#include <system_error>
#include <variant>

#include "PilotFileIO.h"

namespace cli {

void reportIoError(const std::filesystem::path& path, const pilot::IoError& error) {
    std::cerr << "brevanta-cli: " << path.string() << ": error " << error.code << ": "
              << pilot::withClosingPeriod(error.message()) << '\n';
}

void reportRefusal(std::string_view message) {
    std::cerr << "brevanta-cli: " << message << '\n';
}

std::optional<pilot::PilotRecord> loadOrReport(const std::filesystem::path& path) {
    auto loaded = pilot::loadPilotFile(path);
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

}  // namespace cli
