#include "CliRun.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include <sys/wait.h>
#include <unistd.h>

#include "TestFiles.h"

namespace testing_support {

namespace {

using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

File temporaryFile() {
    File file(std::tmpfile(), &std::fclose);
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

CliResult runCli(const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingFolder) {
    std::vector<std::string> words{BREVANTA_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    const File out = temporaryFile();
    const File err = temporaryFile();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("cannot start brevanta-cli");
    }
    if (child == 0) {
        if ((!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0) ||
            ::dup2(::fileno(out.get()), STDOUT_FILENO) < 0 ||
            ::dup2(::fileno(err.get()), STDERR_FILENO) < 0) {
            ::_exit(127);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        throw std::runtime_error("brevanta-cli did not end normally");
    }
    return {WEXITSTATUS(status), contentOf(out.get()), contentOf(err.get())};
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
