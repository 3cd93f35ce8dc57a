#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "History.h"
#include "PilotRecord.h"

// The kept versions of pilot files as the commands use them: numbered from 1, the newest.
namespace cli {

// The versions of the pilot, newest first, or nothing after reporting why they cannot be
// read.
[[nodiscard]] std::optional<std::vector<pilot::history::Entry>> versionsOrReport(
    const std::filesystem::path& pilot);

// Version `number` of the pilot, or nothing after refusing a number the pilot has no
// version of; `command` names the refusal.
[[nodiscard]] std::optional<pilot::history::Entry> versionOrRefuse(
    const std::filesystem::path& pilot, std::size_t number, std::string_view command);

// Writes "brevanta-cli: warning: no earlier version of PILOT kept: WHERE: REASON" to standard
// error, when a write over the pilot could not keep what it replaced.
void reportKeepFailure(const std::filesystem::path& pilot,
                       const std::optional<pilot::history::KeepFailure>& failure);

}  // namespace cli
