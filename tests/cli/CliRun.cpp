#include "CliRun.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestFiles.h"

namespace testing_support {

namespace {

std::unique_ptr<std::FILE, int (*)(std::FILE*)> temporaryFile() {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    if (!file) {
        throw std::runtime_error("cannot create a temporary file");
    }
    return file;
}

std::string contentOf(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    return text;
}

}  // namespace

RunningCli startCli(const std::vector<std::string>& arguments,
                    const std::filesystem::path& workingFolder, const std::string& input,
                    const Environment& environment) {
    std::vector<std::string> words{BREVANTA_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    RunningCli running;
    running.out = temporaryFile();
    running.err = temporaryFile();
    const auto in = temporaryFile();
    if (std::fwrite(input.data(), 1, input.size(), in.get()) != input.size()) {
        throw std::runtime_error("cannot write the standard input");
    }
    std::fflush(nullptr);
    std::rewind(in.get());
    running.pid = ::fork();
    if (running.pid < 0) {
        throw std::runtime_error("cannot start brevanta-cli");
    }
    if (running.pid == 0) {
        for (const auto& [name, value] : environment) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
        if ((!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) ||
            ::dup2(::fileno(in.get()), STDIN_FILENO) < 0 ||
            ::dup2(::fileno(running.out.get()), STDOUT_FILENO) < 0 ||
            ::dup2(::fileno(running.err.get()), STDERR_FILENO) < 0) {
            ::_exit(127);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return running;
}

std::optional<CliResult> waitForCli(RunningCli& running, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    pid_t ended = 0;
    struct rusage usage {};
    while ((ended = ::wait4(running.pid, &status, WNOHANG, &usage)) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            killCli(running);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    running.pid = -1;
    if (ended < 0 || !WIFEXITED(status)) {
        throw std::runtime_error("brevanta-cli did not end normally");
    }
    return CliResult{WEXITSTATUS(status), contentOf(running.out.get()),
                     contentOf(running.err.get()), usage.ru_maxrss};
}

void killCli(RunningCli& running) {
    if (running.pid > 0) {
        ::kill(running.pid, SIGKILL);
        ::waitpid(running.pid, nullptr, 0);
        running.pid = -1;
    }
}

CliResult runCli(const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingFolder, const std::string& input,
                 const Environment& environment) {
    RunningCli running = startCli(arguments, workingFolder, input, environment);
    return *waitForCli(running);
}

pilot::PilotRecord recordOf(const std::filesystem::path& path) {
    const auto bytes = readBytes(path);
    if (bytes.size() != pilot::kRecordSize) {
        throw std::runtime_error("not one pilot record: " + path.string());
    }
    pilot::PilotRecord::Bytes record{};
    std::copy(bytes.begin(), bytes.end(), record.begin());
    return pilot::PilotRecord(record);
}

}  // namespace testing_support
