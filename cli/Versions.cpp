#include "Versions.h"

#include <iostream>
#include <variant>

#include "PilotFiles.h"
#include "VersionKeeper.h"

namespace cli {

std::optional<std::vector<pilot::history::Entry>> versionsOrReport(
    const std::filesystem::path& pilot) {
    auto history = pilot::history::historyOf(pilot);
    if (const auto* none = std::get_if<pilot::history::KeepFailure>(&history)) {
        reportRefusal("no history of " + pilot.string() + ": " + none->reason);
        return std::nullopt;
    }
    const auto& found = std::get<pilot::history::PilotHistory>(history);
    auto entries = found.entries();
    if (const auto* error = std::get_if<pilot::IoError>(&entries)) {
        reportIoError(found.folder(), *error);
        return std::nullopt;
    }
    return std::get<std::vector<pilot::history::Entry>>(std::move(entries));
}

std::optional<pilot::history::Entry> versionOrRefuse(const std::filesystem::path& pilot,
                                                     std::size_t number, std::string_view command) {
    auto versions = versionsOrReport(pilot);
    if (!versions) {
        return std::nullopt;
    }
    if (number < 1 || number > versions->size()) {
        reportRefusal(std::string(command) + ": " + pilot.string() + " has " +
                      std::to_string(versions->size()) +
                      (versions->size() == 1 ? " kept version" : " kept versions") +
                      (versions->empty()
                           ? ""
                           : ", numbered 1 (the newest) to " + std::to_string(versions->size())));
        return std::nullopt;
    }
    return std::move((*versions)[number - 1]);
}

void reportKeepFailure(const std::filesystem::path& pilot,
                       const std::optional<pilot::history::KeepFailure>& failure) {
    if (failure) {
        std::cerr << "brevanta-cli: warning: no earlier version of " << pilot.string()
                  << " kept: " << failure->concerning.string() << ": " << failure->reason << '\n';
    }
}

}  // namespace cli
