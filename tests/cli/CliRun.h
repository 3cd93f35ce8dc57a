#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "PilotRecord.h"

namespace testing_support {

// What one run of brevanta-cli left: its exit status and everything it wrote.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built brevanta-cli with the arguments, in a working folder when one is given.
[[nodiscard]] CliResult runCli(const std::vector<std::string>& arguments,
                               const std::filesystem::path& workingFolder = {});

// The record a pilot file holds; the file must be exactly one record long.
[[nodiscard]] pilot::PilotRecord recordOf(const std::filesystem::path& path);

}  // namespace testing_support
