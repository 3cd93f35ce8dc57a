#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "BsfMatching.h"
#include "BsfReading.h"
#include "Commands.h"
#include "FieldTable.h"
#include "Latin1Text.h"
#include "PilotFiles.h"
#include "TextFileIO.h"

namespace cli {

namespace {

using nlohmann::ordered_json;
using reports::BsfPlace;
using reports::BsfVerdict;
using reports::ReadBsfForm;
using Outcome = BsfVerdict::Outcome;

// No form file comes near this; standard input that never ends (a device, a program that
// keeps writing) stops here.
constexpr std::size_t kFormFileLimit = std::size_t{64} << 20;

struct VerifyOptions {
    std::string forms;
    std::string pilot;
    bool json = false;
};

std::optional<std::string> formsOrReport(const std::string& path) {
    auto read = path == kStandardStream ? pilot::readText(STDIN_FILENO, kFormFileLimit)
                                        : pilot::readTextFile(path, kFormFileLimit);
    if (const auto* error = std::get_if<pilot::IoError>(&read)) {
        reportIoError(path, *error);
        return std::nullopt;
    }
    auto& content = std::get<pilot::TextContent>(read);
    if (!content.whole) {
        reportRefusal(path + ": larger than " + std::to_string(kFormFileLimit >> 20) +
                      " MB, far more than a form file holds");
        return std::nullopt;
    }
    return std::move(content.bytes);
}

// The form's club battle number and medal, as the line names the form: "(Battle No 17,
// Silver Wing)".
std::string headNote(const ReadBsfForm& form) {
    std::string note;
    if (!form.texts.battleNumber.empty()) {
        note = "Battle No " + reports::bsfExcerpt(form.texts.battleNumber);
    }
    if (!form.texts.medal.empty()) {
        note += (note.empty() ? "" : ", ") + reports::bsfExcerpt(form.texts.medal);
    }
    return note.empty() ? note : " (" + reports::utf8FromLatin1(note) + ")";
}

std::string_view outcomeName(const ReadBsfForm& form, Outcome outcome) {
    if (form.error) {
        return "no form";
    }
    switch (outcome) {
        case Outcome::NoScores:
            return "no scores";
        case Outcome::Matches:
            return "match";
        case Outcome::Unfinished:
            return "unfinished";
        case Outcome::NoMatch:
            break;
    }
    return "no match";
}

// A place as data, its missions counted from 1 as the player counts them.
ordered_json placeJson(const BsfPlace& place) {
    ordered_json json;
    if (place.kind == BsfPlace::Kind::Battle) {
        json["battle"] = place.index + 1;
    } else {
        json["craft"] = pilot::kCraftNames.at(place.index);
    }
    json["missions"] = {place.firstMission + 1, place.firstMission + place.missions};
    return json;
}

ordered_json formJson(const ReadBsfForm& form, const BsfVerdict& verdict) {
    ordered_json json;
    json["form"] = form.number;
    json["line"] = form.firstLine;
    json["idLine"] = reports::utf8FromLatin1(form.texts.idLine);
    json["battleNo"] = reports::utf8FromLatin1(form.texts.battleNumber);
    json["medal"] = reports::utf8FromLatin1(form.texts.medal);
    json["email"] = reports::utf8FromLatin1(form.texts.email);
    json["scores"] = ordered_json::array();
    json["highscore"] = ordered_json::array();
    for (std::size_t line = 0; line < form.scores.size(); ++line) {
        json["scores"].push_back(form.scores[line].score);
        if (form.scores[line].end == reports::BsfLineEnd::Highscore) {
            json["highscore"].push_back(line + 1);
        }
    }
    json["outcome"] = outcomeName(form, verdict.outcome);
    if (form.error) {
        json["error"] = {{"line", form.error->line},
                         {"message", reports::utf8FromLatin1(form.error->message)}};
        return json;
    }
    json["bothKinds"] = verdict.bothKinds;
    json["matches"] = ordered_json::array();
    for (const reports::BsfMatch& match : verdict.matches) {
        ordered_json place = placeJson(match.place);
        place["unfinished"] = ordered_json::array();
        for (const std::size_t mission : match.unfinished) {
            place["unfinished"].push_back(mission + 1);
        }
        json["matches"].push_back(std::move(place));
    }
    json["nearest"] = ordered_json::array();
    for (const reports::BsfNearPlace& near : verdict.nearest) {
        ordered_json place = placeJson(near.place);
        place["differences"] = ordered_json::array();
        for (const reports::BsfScoreDifference& difference : near.differences) {
            place["differences"].push_back({{"mission", difference.mission + 1},
                                            {"pilot", difference.pilot},
                                            {"form", difference.form}});
        }
        json["nearest"].push_back(std::move(place));
    }
    json["text"] = reports::bsfVerdictText(verdict);
    return json;
}

int runVerify(const VerifyOptions& options) {
    if (options.forms == kStandardStream && options.pilot == kStandardStream) {
        reportRefusal("verify: the forms and the pilot cannot both come from standard input");
        return kFailure;
    }
    const auto record = loadOrReport(options.pilot);
    if (!record) {
        return kFailure;
    }
    const auto text = formsOrReport(options.forms);
    if (!text) {
        return kFailure;
    }
    int status = kSuccess;
    std::size_t forms = 0;
    reports::readBsfForms(*text, [&](const ReadBsfForm& form) {
        const BsfVerdict verdict = reports::verifyBsfForm(form, *record);
        if (form.error) {
            status = kFailure;
            reportRefusal(options.forms + ": form " + std::to_string(form.number) + ", line " +
                          std::to_string(form.error->line) + ": " +
                          reports::utf8FromLatin1(form.error->message));
        } else if (verdict.outcome == Outcome::NoMatch || verdict.outcome == Outcome::Unfinished) {
            status = std::max<int>(status, kFound);
        }
        if (options.json) {
            std::cout << (forms == 0 ? "[\n" : ",\n")
                      << formJson(form, verdict)
                             .dump(-1, ' ', false, ordered_json::error_handler_t::replace);
        } else if (!form.error) {
            std::cout << "form " << form.number << headNote(form) << ": "
                      << reports::bsfVerdictText(verdict) << '\n';
        }
        ++forms;
    });
    if (options.json) {
        std::cout << (forms == 0 ? "[]\n" : "\n]\n");
    }
    if (forms == 0) {
        reportRefusal(options.forms + ": holds no form");
        status = kFailure;
    }
    return standardOutputWritten() ? status : kFailure;
}

}  // namespace

void addVerifyCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<VerifyOptions>();
    CLI::App* command = app.add_subcommand(
        "verify", "Check that the scores of submitted forms are the pilot's own");
    command->footer(
        "Reads every form of FORMS (forms parted by the line of 45 hyphens; CR LF or LF) and "
        "prints one line per form: the battle, or craft and missions, that holds its scores, "
        "or the nearest place when none does. A battle form's scores are missions 1 to n of a "
        "battle, whose last completed mission must be n or later; a form whose lines end at "
        "the scores (a combat chamber form, or a battle form that lost its trailing blanks in "
        "the mail) is also looked for in every craft's combat chamber range, whose missions "
        "must be marked completed. A form without scores has nothing to verify. Exit status 0 "
        "when every form matches, 1 when some do not or claim unfinished missions, 2 when a "
        "file cannot be read or a text is no form (named by form and line; the other forms "
        "are still verified). FORMS or PILOT - reads it from standard input.");
    command->add_option("FORMS", options->forms, "Form file (.TXT), or - for standard input")
        ->required();
    command->add_option("PILOT", options->pilot, "Pilot file (.TFR), or - for standard input")
        ->required();
    command->add_flag("--json", options->json,
                      "A JSON array, one object per form: its texts, scores, outcome, the "
                      "matching and the nearest places");
    command->callback([options, &status] { status = runVerify(*options); });
}

}  // namespace cli
