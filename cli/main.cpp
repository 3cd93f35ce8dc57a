#include <algorithm>
#include <exception>
#include <iostream>
#include <span>
#include <string>

#include <CLI/CLI.hpp>

#include "Arguments.h"
#include "Commands.h"
#include "PilotFiles.h"

namespace {

// "show, report, bsf, ...": the commands in the order of the help.
std::string commandList(CLI::App& app) {
    std::string list;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        list += (list.empty() ? "" : ", ") + command->get_name();
    }
    return list;
}

// Every long option of every command, and whether it takes a value.
cli::LongOptions longOptions(CLI::App& app) {
    cli::LongOptions options;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        for (const CLI::Option* option : command->get_options()) {
            for (const std::string& name : option->get_lnames()) {
                options.emplace("--" + name, option->get_expected_min() > 0);
            }
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Reads, edits, compares and reports pilot files (.TFR) without the editor window.",
                 "brevanta-cli"};
    app.set_version_flag("--version", std::string("brevanta-cli ") + BREVANTA_VERSION);
    app.require_subcommand(1);
    // Every refusal of the command line names the program, as every other message does.
    app.failure_message([](const CLI::App* failed, const CLI::Error& error) {
        return "brevanta-cli: " + CLI::FailureMessage::simple(failed, error);
    });

    int status = cli::kSuccess;
    cli::addShowCommand(app, status);
    cli::addReportCommand(app, status);
    cli::addBsfCommand(app, status);
    cli::addNewCommand(app, status);
    cli::addSetCommand(app, status);
    cli::addDiffCommand(app, status);
    cli::addCheckCommand(app, status);

    std::vector<std::string> words = cli::commandWords(
        std::span<char* const>(argv + 1, static_cast<std::size_t>(argc - 1)), longOptions(app));
    if (const std::string* command = cli::commandName(words);
        command != nullptr &&
        app.get_subcommands([&](CLI::App* known) { return known->get_name() == *command; })
            .empty()) {
        cli::reportRefusal("unknown command \"" + *command +
                           "\" (the commands: " + commandList(app) + "; --help describes them)");
        return cli::kFailure;
    }
    std::reverse(words.begin(), words.end());  // the parser takes the words from the back
    try {
        app.parse(words);
    } catch (const CLI::ParseError& error) {
        // --help and --version end here with 0; a usage error is a refusal like any other.
        return app.exit(error) == 0 ? cli::kSuccess : cli::kFailure;
    } catch (const std::exception& error) {
        cli::reportRefusal(error.what());
        return cli::kFailure;
    }
    return status;
}
