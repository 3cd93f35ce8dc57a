#pragma once

#include <sys/types.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "PilotRecord.h"

namespace testing_support {

// What one run of brevanta-cli left: its exit status and everything it wrote.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
    long peakMemoryKb = 0;  // the most memory (RSS) it held at once
};

// A brevanta-cli started and not waited for yet.
struct RunningCli {
    pid_t pid = -1;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> out{nullptr, &std::fclose};
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> err{nullptr, &std::fclose};
};

// Variables set in the program's environment, over the test's own.
using Environment = std::vector<std::pair<std::string, std::string>>;

// Starts the built brevanta-cli with the arguments, in a working folder when one is given,
// reading `input` as its standard input (an empty one without).
[[nodiscard]] RunningCli startCli(const std::vector<std::string>& arguments,
                                  const std::filesystem::path& workingFolder = {},
                                  const std::string& input = {},
                                  const Environment& environment = {});

// Waits for the run to end; nothing, after killing it, when it takes longer than `limit`.
[[nodiscard]] std::optional<CliResult> waitForCli(
    RunningCli& running, std::chrono::milliseconds limit = std::chrono::minutes(2));

// Ends the run at once, wherever it is.
void killCli(RunningCli& running);

// Runs the built brevanta-cli to its end.
[[nodiscard]] CliResult runCli(const std::vector<std::string>& arguments,
                               const std::filesystem::path& workingFolder = {},
                               const std::string& input = {}, const Environment& environment = {});

// The record a pilot file holds; the file must be exactly one record long.
[[nodiscard]] pilot::PilotRecord recordOf(const std::filesystem::path& path);

}  // namespace testing_support
