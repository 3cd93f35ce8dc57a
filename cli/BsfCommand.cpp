#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include <CLI/CLI.hpp>

#include "BsfText.h"
#include "Commands.h"
#include "Latin1Text.h"
#include "NumberText.h"
#include "PilotFiles.h"
#include "ValueText.h"

namespace cli {

namespace {

using reports::BsfInput;

// The user counts battles, missions and crafts from 1; the form's boxes from 0.
struct BsfOptions {
    std::string pilot;
    std::string output;
    std::string idLine;
    std::string battleNumber;
    std::string medal;
    std::string email;
    std::size_t battle = 0;
    std::size_t last = 0;  // 0: the battle's last completed mission, as the window selects it
    std::vector<std::size_t> highscore;
    std::optional<std::string> craft;
    std::size_t from = 1;  // the window's range when it opens: missions 1 to 4
    std::size_t to = 4;
};

// A craft by its name (any case) or its number 1 to 7.
std::optional<std::size_t> craftIndex(const std::string& text) {
    const auto& names = pilot::kCraftNames;
    if (const auto named = findName(names, text)) {
        return named;
    }
    const auto number = pilot::parseNumber(text);
    if (number && *number >= 1 && static_cast<std::size_t>(*number) <= names.size()) {
        return static_cast<std::size_t>(*number - 1);
    }
    return std::nullopt;
}

// The battle section of the form; the last mission comes from the record unless given.
void selectBattle(const BsfOptions& options, const pilot::PilotRecord& record, BsfInput& input) {
    input.mode = BsfInput::Mode::Battle;
    input.battle = options.battle - 1;
    const std::size_t last = options.last != 0
                                 ? options.last
                                 : record.u8(pilot::Field::BattleLastMission, options.battle - 1);
    if (last >= 1 && last <= pilot::kMissions) {
        input.lastMission = last - 1;
    }
    for (const std::size_t mission : options.highscore) {
        input.highscore[mission - 1] = true;
    }
}

// A text of the form is one line, as the form window's edits hold it: a line break would
// slip lines of its own into the form.
bool oneLine(const std::string& text, const char* option) {
    if (text.find_first_of("\r\n") == std::string::npos) {
        return true;
    }
    reportRefusal(std::string("bsf: ") + option +
                  " holds a line break; a form's texts are one line each");
    return false;
}

int runBsf(const BsfOptions& options) {
    if (!oneLine(options.idLine, "--id-line") || !oneLine(options.battleNumber, "--battle-no") ||
        !oneLine(options.medal, "--medal") || !oneLine(options.email, "--email")) {
        return kFailure;
    }
    BsfInput input;
    input.idLine = reports::latin1FromUtf8(options.idLine);
    input.battleNumber = reports::latin1FromUtf8(options.battleNumber);
    input.medal = reports::latin1FromUtf8(options.medal);
    input.email = reports::latin1FromUtf8(options.email);
    if (options.battle == 0 && !options.craft) {
        reportRefusal("bsf: choose the scores: --battle N or --combat CRAFT");
        return kFailure;
    }
    if (options.craft) {
        const auto craft = craftIndex(*options.craft);
        if (!craft) {
            reportRefusal("bsf: unknown craft \"" + *options.craft +
                          "\" (a name such as \"TIE Fighter\", or 1 to 7)");
            return kFailure;
        }
        if (options.to < options.from) {
            reportRefusal("bsf: --to " + std::to_string(options.to) + " lies before --from " +
                          std::to_string(options.from));
            return kFailure;
        }
        input.mode = BsfInput::Mode::CombatChamber;
        input.craft = *craft;
        input.fromMission = options.from - 1;
        input.toMission = options.to - 1;
    }
    const bool toStandardOutput = options.output == kStandardStream;
    if (!toStandardOutput && sameFile(options.output, options.pilot)) {
        reportRefusal("bsf: " + options.output + " is the pilot file itself");
        return kFailure;
    }
    const auto record = loadOrReport(options.pilot);
    if (!record) {
        return kFailure;
    }
    if (options.battle != 0) {
        selectBattle(options, *record, input);
    }
    const std::string form = reports::bsfFormText(input, *record);
    if (toStandardOutput) {
        std::cout << form;
        return standardOutputWritten() ? kSuccess : kFailure;
    }
    const auto saved = reports::saveBsfForm(options.output, form);
    if (const auto* error = std::get_if<pilot::IoError>(&saved)) {
        reportIoError(options.output, *error);
        return kFailure;
    }
    return kSuccess;
}

}  // namespace

void addBsfCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<BsfOptions>();
    CLI::App* command = app.add_subcommand("bsf", "Write or append a Battle Submission Form");
    command->footer(
        "Writes exactly the bytes of the form window; an existing OUT gets a separator line and "
        "the form appended. Texts are written as single-byte (Latin-1) text, \"?\" for any "
        "other character. Choose the scores with --battle or --combat; --combat refuses a "
        "--from after --to. PILOT - reads the pilot from standard input, OUT - writes the "
        "form to standard output.");
    command->add_option("PILOT", options->pilot, "Pilot file (.TFR), or - for standard input")
        ->required();
    command->add_option("OUT", options->output, "Form file (.TXT), or - for standard output")
        ->required();
    command->add_option("--id-line", options->idLine, "Name of Applicant (the Vessk ID-Line)");
    command->add_option("--battle-no", options->battleNumber, "Vessk battle number");
    command->add_option("--medal", options->medal, "Name of the medal");
    command->add_option("--email", options->email, "Applicant's e-mail address");

    CLI::Option* battle = command->add_option("--battle", options->battle,
                                              "Write the mission scores of battle N (1 to 20)");
    battle->check(CLI::Range(1, 20));
    command
        ->add_option("--last", options->last,
                     "Last mission written, 1 to 8 (default: the battle's last completed "
                     "mission; none written when it has none)")
        ->check(CLI::Range(1, 8))
        ->needs(battle);
    command
        ->add_option("--highscore", options->highscore, "Missions marked \"* Highscore\", e.g. 1,3")
        ->delimiter(',')
        ->check(CLI::Range(1, 8))
        ->needs(battle);

    CLI::Option* combat = command->add_option(
        "--combat", options->craft,
        "Write combat chamber scores of this craft: a name such as \"TIE Fighter\", or 1 to 7");
    combat->excludes(battle);
    command
        ->add_option("--from", options->from, "First mission, 1 to 8 (default 1; not after --to)")
        ->check(CLI::Range(1, 8))
        ->needs(combat);
    command->add_option("--to", options->to, "Last mission, 1 to 8 (default 4)")
        ->check(CLI::Range(1, 8))
        ->needs(combat);
    command->callback([options, &status] { status = runBsf(*options); });
}

}  // namespace cli
