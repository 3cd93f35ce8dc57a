#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "BsfReading.h"

namespace pilot {
class PilotRecord;
}

namespace reports {

// Where in the record a form's scores may stand: missions 1 to n of a battle, or n missions
// of a craft's combat chamber from its first one on.
struct BsfPlace {
    enum class Kind : std::uint8_t { Battle, CombatChamber };
    Kind kind = Kind::Battle;
    std::size_t index = 0;         // the battle 0..19, or the craft 0..6
    std::size_t firstMission = 0;  // 0..7; always 0 for a battle
    std::size_t missions = 0;      // n, the form's score lines

    friend bool operator==(const BsfPlace&, const BsfPlace&) = default;
};

// A place that holds the form's scores. A form also claims that the pilot finished its
// missions: the battle up to its last mission, or each combat chamber mission of its range.
struct BsfMatch {
    BsfPlace place;
    // The missions of the place (0-based, as the record counts them) the pilot has not
    // finished: a battle's after its last completed mission, a combat chamber range's not
    // marked completed.
    std::vector<std::size_t> unfinished;
};

struct BsfScoreDifference {
    std::size_t mission = 0;  // 0-based, as the record counts it
    std::int32_t pilot = 0;
    std::int32_t form = 0;
};

struct BsfNearPlace {
    BsfPlace place;
    std::vector<BsfScoreDifference> differences;
};

struct BsfVerdict {
    enum class Outcome : std::uint8_t {
        NoScores,    // the form claims no score: nothing to verify
        Matches,     // a place holds the scores, and the pilot finished its missions
        Unfinished,  // places hold the scores, but the pilot did not finish all their missions
        NoMatch,     // no place holds the scores
    };
    Outcome outcome = Outcome::NoScores;
    // The line ends did not tell the kind: the scores were looked for in battles and in the
    // combat chamber alike.
    bool bothKinds = false;
    std::vector<BsfMatch> matches;  // battles first, then crafts and first missions in order
    // Without a match: the places where the fewest scores differ, if any score is the
    // pilot's there.
    std::vector<BsfNearPlace> nearest;
};

// Looks for the form's scores in the record: a battle form's in the 20 battles, a form whose
// line ends do not tell its kind in the battles and in every range of the seven crafts'
// combat chamber missions. A form that is no form claims nothing.
[[nodiscard]] BsfVerdict verifyBsfForm(const ReadBsfForm& form, const pilot::PilotRecord& record);

// The verdict in words, the places by their numbers as the player counts them:
// "battle 4, missions 1-3 match", "no battle holds these scores; nearest battle 4: mission 2
// is 11000 in the pilot, 12000 in the form", "TIE Bomber, missions 3-5 match, but mission 5
// is not marked completed".
[[nodiscard]] std::string bsfVerdictText(const BsfVerdict& verdict);

// "battle 4, missions 1-3", "TIE Bomber, mission 5".
[[nodiscard]] std::string bsfPlaceText(const BsfPlace& place);

}  // namespace reports
