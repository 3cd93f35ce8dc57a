#include <exception>
#include <iostream>
#include <string>

#include <CLI/CLI.hpp>

#include "Commands.h"

int main(int argc, char** argv) {
    CLI::App app{"Reads, edits, compares and reports pilot files (.TFR) without the editor window.",
                 "brevanta-cli"};
    app.set_version_flag("--version", std::string("brevanta-cli ") + BREVANTA_VERSION);
    app.require_subcommand(1);

    int status = cli::kSuccess;
    cli::addShowCommand(app, status);
    cli::addReportCommand(app, status);
    cli::addBsfCommand(app, status);
    cli::addNewCommand(app, status);
    cli::addSetCommand(app, status);
    cli::addDiffCommand(app, status);
    cli::addCheckCommand(app, status);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end here with 0; a usage error is a refusal like any other.
        return app.exit(error) == 0 ? cli::kSuccess : cli::kFailure;
    } catch (const std::exception& error) {
        std::cerr << "brevanta-cli: " << error.what() << '\n';
        return cli::kFailure;
    }
    return status;
}
