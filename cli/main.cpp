#include <algorithm>
#include <exception>
#include <iostream>
#include <set>
#include <span>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "Arguments.h"
#include "Commands.h"
#include "PilotFiles.h"

namespace {

std::vector<CLI::App*> commandsOf(CLI::App& app) {
    return app.get_subcommands([](CLI::App*) { return true; });
}

// "show, report, bsf, ...": the commands in the order of the help.
std::string commandList(CLI::App& app) {
    std::string list;
    for (const CLI::App* command : commandsOf(app)) {
        list += (list.empty() ? "" : ", ") + command->get_name();
    }
    return list;
}

// Every option of every command, and whether it takes a value.
cli::OptionKinds optionKinds(CLI::App& app) {
    cli::OptionKinds kinds;
    for (const CLI::App* command : commandsOf(app)) {
        for (const CLI::Option* option : command->get_options()) {
            const bool takesValue = option->get_expected_min() > 0;
            for (const std::string& name : option->get_lnames()) {
                kinds.longOptions.emplace("--" + name, takesValue);
            }
            for (const std::string& name : option->get_snames()) {
                kinds.shortOptions.emplace(name.front(), takesValue);
            }
        }
    }
    return kinds;
}

// The commands whose one positional is a list of files.
std::set<std::string> listCommands(CLI::App& app) {
    std::set<std::string> names;
    for (CLI::App* command : commandsOf(app)) {
        const auto positionals = command->get_options(
            [](const CLI::Option* option) { return option->get_positional(); });
        if (positionals.size() == 1 && positionals.front()->get_items_expected_max() > 1) {
            names.insert(command->get_name());
        }
    }
    return names;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Reads, edits, compares, merges and reports pilot files (.TFR) without the editor window.",
        "brevanta-cli"};
    app.set_version_flag("--version", std::string("brevanta-cli ") + BREVANTA_VERSION);
    app.require_subcommand(1);
    // Every refusal of the command line names the program, as every other message does.
    app.failure_message([](const CLI::App* failed, const CLI::Error& error) {
        return "brevanta-cli: " + CLI::FailureMessage::simple(failed, error);
    });

    int status = cli::kSuccess;
    cli::NameList pilots;
    cli::addShowCommand(app, status, pilots);
    cli::addReportCommand(app, status, pilots);
    cli::addBsfCommand(app, status);
    cli::addNewCommand(app, status);
    cli::addSetCommand(app, status);
    cli::addDiffCommand(app, status);
    cli::addMergeCommand(app, status);
    cli::addCheckCommand(app, status, pilots);

    cli::CommandLine line =
        cli::readCommandLine(std::span<char* const>(argv + 1, static_cast<std::size_t>(argc - 1)),
                             optionKinds(app), listCommands(app));
    if (line.command &&
        app.get_subcommands([&](CLI::App* known) { return known->get_name() == *line.command; })
            .empty()) {
        cli::reportRefusal("unknown command \"" + *line.command +
                           "\" (the commands: " + commandList(app) + "; --help describes them)");
        return cli::kFailure;
    }
    pilots = std::move(line.names);
    std::vector<std::string>& words = line.words;
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
