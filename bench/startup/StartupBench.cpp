// Times the editor's start against a bare Qt window, whole processes run in turn so that
// both see the same machine, and prints the medians and their ratio.
//
//   startup-bench [--runs N] PILOT.TFR
//
// The platform is the environment's QT_QPA_PLATFORM, offscreen when none is set.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// Milliseconds from the start of the process to its exit, or a negative value when it
// failed.
double runOnce(const char* program, const char* argument) {
    std::vector<char*> argv = {const_cast<char*>(program)};
    if (argument != nullptr) {
        argv.push_back(const_cast<char*>(argument));
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    // Qt's notes on standard error (no runtime folder, an offscreen platform's limits) are
    // not what is measured.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    int runs = 21;
    const char* pilot = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            pilot = argv[i];
        }
    }
    if (pilot == nullptr) {
        std::fprintf(stderr, "usage: startup-bench [--runs N] PILOT.TFR\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    // One run of each first, unmeasured: the files the programs read are in the cache then.
    std::vector<double> editor;
    std::vector<double> bare;
    for (int run = -1; run < runs; ++run) {
        const double editorTime = runOnce(BREVANTA_EDITOR_STARTUP, pilot);
        const double bareTime = runOnce(BREVANTA_BARE_STARTUP, nullptr);
        if (editorTime < 0 || bareTime < 0) {
            std::fprintf(stderr, "startup-bench: a start-up program failed\n");
            return 1;
        }
        if (run >= 0) {
            editor.push_back(editorTime);
            bare.push_back(bareTime);
        }
    }
    const double editorMedian = median(editor);
    const double bareMedian = median(bare);
    std::printf("platform %s, %d runs each, medians of whole processes:\n",
                std::getenv("QT_QPA_PLATFORM"), runs);
    std::printf("  editor with a pilot  %7.1f ms\n", editorMedian);
    std::printf("  bare Qt window       %7.1f ms\n", bareMedian);
    std::printf("  ratio                %7.2f\n", editorMedian / bareMedian);
    return 0;
}
