#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FieldPath.h"

// What a careful editor says about a record: values the format does not define, and values
// that do not agree with each other. The window marks them where they are shown and lists
// them; the command line's check prints them; both take the same words from here.
namespace pilot {

class PilotRecord;

enum class Severity : std::uint8_t {
    Error,    // a value outside the format's lists or ranges
    Warning,  // values that do not agree, or a value the editor replaces when it shows it
};

// "error", "warning".
[[nodiscard]] std::string_view severityName(Severity severity);

// The one sure remedy of a problem, where it has one.
enum class Fix : std::uint8_t {
    None,
    RecomputeTotalScore,  // TotalScore := the sum of the mission scores, as the editor stores it
    RecomputeKills,       // Kills := the sum of the kill counters, as the editor stores it
};

struct Problem {
    Severity severity = Severity::Error;
    std::vector<ElementPath> elements;  // the elements it concerns, the one to look at first
    std::string message;                // names the value and the limit it breaks
    Fix fix = Fix::None;

    friend bool operator==(const Problem&, const Problem&) = default;
};

// Every problem of the record, in a fixed order: the elements' own values in the field
// table's order, then hits above shots, then the totals. Checked:
// - errors: an enumerated value outside its list, a battle's last completed mission above 8,
//   a combat-chamber completed flag other than 0 and 1;
// - warnings: laser or warhead hits above their shots, TotalScore or Kills differing from
//   what the editor recomputes, and a value that the window shows replaces by its reset
//   value (Skill 65535, a training level 255); the spare craft slots are never shown, so
//   their numbers are not looked at.
[[nodiscard]] std::vector<Problem> checkRecord(const PilotRecord& record);

// "SEVERITY: MESSAGE", as check prints a problem after the pilot's name.
[[nodiscard]] std::string problemLine(const Problem& problem);

// Applies the remedy; Fix::None changes nothing.
void applyFix(PilotRecord& record, Fix fix);

}  // namespace pilot
