#pragma once

namespace CLI {
class App;
}

namespace cli {

class NameList;

// The exit statuses of every command: 1 tells a script that the command found something
// (differences, warnings); 2 that it failed or refused.
enum ExitStatus : int { kSuccess = 0, kFound = 1, kFailure = 2 };

// Each adds its subcommand to the program. The subcommand's callback runs the command and
// leaves its exit status in `status`. Commands that take a list of pilot files read it from
// `pilots`, filled before the line is parsed (see readCommandLine).
void addShowCommand(CLI::App& app, int& status, const NameList& pilots);
void addReportCommand(CLI::App& app, int& status, const NameList& pilots);
void addBsfCommand(CLI::App& app, int& status);
void addNewCommand(CLI::App& app, int& status);
void addSetCommand(CLI::App& app, int& status);
void addDiffCommand(CLI::App& app, int& status);
void addMergeCommand(CLI::App& app, int& status);
void addCheckCommand(CLI::App& app, int& status, const NameList& pilots);

// The PILOT operand of a command that takes a list of pilot files: the parser checks that
// there is a file; the whole list comes from `pilots`.
void addPilotList(CLI::App& command);

}  // namespace cli
