#include "BsfMatching.h"

#include <algorithm>

#include "FieldTable.h"
#include "PilotRecord.h"

namespace reports {

namespace {

using pilot::Field;
using Kind = BsfPlace::Kind;
using Outcome = BsfVerdict::Outcome;

// The places a form of n score lines may stand in: the battles, and where its kind is open,
// every craft from every first mission that leaves room for n.
std::vector<BsfPlace> placesFor(std::size_t missions, bool bothKinds) {
    std::vector<BsfPlace> places;
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        places.push_back({Kind::Battle, battle, 0, missions});
    }
    if (!bothKinds) {
        return places;
    }
    for (std::size_t craft = 0; craft < pilot::kShownCrafts; ++craft) {
        for (std::size_t first = 0; first + missions <= pilot::kMissions; ++first) {
            places.push_back({Kind::CombatChamber, craft, first, missions});
        }
    }
    return places;
}

std::int32_t pilotScore(const pilot::PilotRecord& record, const BsfPlace& place,
                        std::size_t mission) {
    return record.i32(place.kind == Kind::Battle ? Field::BattleMissionScore : Field::CombatScore,
                      place.index, mission);
}

std::vector<BsfScoreDifference> differences(const ReadBsfForm& form,
                                            const pilot::PilotRecord& record,
                                            const BsfPlace& place) {
    std::vector<BsfScoreDifference> found;
    for (std::size_t line = 0; line < place.missions; ++line) {
        const std::size_t mission = place.firstMission + line;
        const std::int32_t score = pilotScore(record, place, mission);
        if (score != form.scores[line].score) {
            found.push_back({mission, score, form.scores[line].score});
        }
    }
    return found;
}

std::vector<std::size_t> unfinishedMissions(const pilot::PilotRecord& record,
                                            const BsfPlace& place) {
    std::vector<std::size_t> unfinished;
    const std::size_t end = place.firstMission + place.missions;
    if (place.kind == Kind::Battle) {
        // The last completed mission counts from 1: missions from its index on are open.
        for (std::size_t mission = record.u8(Field::BattleLastMission, place.index); mission < end;
             ++mission) {
            unfinished.push_back(mission);
        }
        return unfinished;
    }
    for (std::size_t mission = place.firstMission; mission < end; ++mission) {
        if (record.u8(Field::CombatCompleted, place.index, mission) != 1) {
            unfinished.push_back(mission);
        }
    }
    return unfinished;
}

std::string missionRange(std::size_t first, std::size_t count) {
    const std::string start = std::to_string(first + 1);
    return count == 1 ? "mission " + start
                      : "missions " + start + "-" + std::to_string(first + count);
}

std::string battleName(std::size_t battle) {
    return "battle " + std::to_string(battle + 1);
}

// Why a matching place is not borne out by the pilot's progress.
std::string unfinishedText(const BsfMatch& match) {
    if (match.place.kind == Kind::Battle) {
        const std::size_t last = match.unfinished.front();
        return last == 0 ? "no mission of it is completed"
                         : "its last completed mission is " + std::to_string(last);
    }
    std::string missions = match.unfinished.size() == 1 ? "mission " : "missions ";
    for (std::size_t i = 0; i < match.unfinished.size(); ++i) {
        missions += (i == 0 ? "" : ", ") + std::to_string(match.unfinished[i] + 1);
    }
    return missions + (match.unfinished.size() == 1 ? " is" : " are") + " not marked completed";
}

std::string matchesText(const BsfVerdict& verdict) {
    if (verdict.matches.size() == 1) {
        const BsfMatch& match = verdict.matches.front();
        std::string text =
            bsfPlaceText(match.place) + (match.place.missions == 1 ? " matches" : " match");
        return match.unfinished.empty() ? text : text + ", but " + unfinishedText(match);
    }
    std::string text = std::to_string(verdict.matches.size()) + " places match: ";
    for (std::size_t i = 0; i < verdict.matches.size(); ++i) {
        const BsfMatch& match = verdict.matches[i];
        text += (i == 0 ? "" : "; ") + bsfPlaceText(match.place);
        if (!match.unfinished.empty()) {
            text += " (but " + unfinishedText(match) + ")";
        }
    }
    return text;
}

// A battle's scores always start at mission 1, so the battle alone names the place.
std::string nearPlaceText(const BsfNearPlace& near) {
    std::string text =
        near.place.kind == Kind::Battle ? battleName(near.place.index) : bsfPlaceText(near.place);
    for (std::size_t i = 0; i < near.differences.size(); ++i) {
        const BsfScoreDifference& difference = near.differences[i];
        text += (i == 0 ? ": mission " : "; mission ") + std::to_string(difference.mission + 1) +
                " is " + std::to_string(difference.pilot) + " in the pilot, " +
                std::to_string(difference.form) + " in the form";
    }
    return text;
}

std::string noMatchText(const BsfVerdict& verdict) {
    const std::string places = verdict.bothKinds ? "battle or combat chamber range" : "battle";
    if (verdict.nearest.empty()) {
        return "no " + places + " holds any of these scores";
    }
    std::string text = "no " + places + " holds these scores; nearest ";
    for (std::size_t i = 0; i < verdict.nearest.size(); ++i) {
        text += (i == 0 ? "" : "; equally near ") + nearPlaceText(verdict.nearest[i]);
    }
    return text;
}

}  // namespace

BsfVerdict verifyBsfForm(const ReadBsfForm& form, const pilot::PilotRecord& record) {
    BsfVerdict verdict;
    const std::size_t missions = form.scores.size();
    if (form.error || missions == 0) {
        return verdict;
    }
    verdict.bothKinds = !form.battleLineEnds();
    std::size_t fewest = missions;  // a near place holds at least one of the scores
    for (const BsfPlace& place : placesFor(missions, verdict.bothKinds)) {
        std::vector<BsfScoreDifference> found = differences(form, record, place);
        if (found.empty()) {
            verdict.matches.push_back({place, unfinishedMissions(record, place)});
            continue;
        }
        if (found.size() < fewest) {
            fewest = found.size();
            verdict.nearest.clear();
        }
        if (found.size() == fewest && fewest < missions) {
            verdict.nearest.push_back({place, std::move(found)});
        }
    }
    if (verdict.matches.empty()) {
        verdict.outcome = Outcome::NoMatch;
        return verdict;
    }
    verdict.nearest.clear();
    const bool finished =
        std::any_of(verdict.matches.begin(), verdict.matches.end(),
                    [](const BsfMatch& match) { return match.unfinished.empty(); });
    verdict.outcome = finished ? Outcome::Matches : Outcome::Unfinished;
    return verdict;
}

std::string bsfPlaceText(const BsfPlace& place) {
    const std::string name = place.kind == Kind::Battle
                                 ? battleName(place.index)
                                 : std::string(pilot::kCraftNames.at(place.index));
    return name + ", " + missionRange(place.firstMission, place.missions);
}

std::string bsfVerdictText(const BsfVerdict& verdict) {
    std::string text;
    switch (verdict.outcome) {
        case Outcome::NoScores:
            return "holds no scores, so there is nothing to verify";
        case Outcome::Matches:
        case Outcome::Unfinished:
            text = matchesText(verdict);
            break;
        case Outcome::NoMatch:
            text = noMatchText(verdict);
            break;
    }
    if (verdict.bothKinds) {
        text +=
            " (its lines end at the scores, so battles and combat chamber ranges were searched)";
    }
    return text;
}

}  // namespace reports
