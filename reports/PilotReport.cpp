#include "PilotReport.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "FieldTable.h"
#include "PilotRecord.h"

namespace reports {

namespace {

using pilot::Field;

// The lines at the top of the report, in order. An enumerated field writes its label and
// its value's text, or no line at all when the value lies outside its list; every other
// field writes its label and its number.
struct HeaderLine {
    Field field;
    std::string_view label;
};

constexpr std::array<HeaderLine, 13> kHeaderLines = {{
    {Field::PilotStatus, "Status: "},
    {Field::Rank, "Rank: "},
    {Field::Difficulty, "Difficulty: "},
    {Field::TotalScore, "Score: "},
    {Field::Skill, "Skill: "},
    {Field::SecretOrder, "Secret Order: "},
    {Field::Kills, "Kills: "},
    {Field::Captures, "Captures: "},
    {Field::LaserShots, "Lasershots: "},
    {Field::LaserHits, "Laserhits: "},
    {Field::WarheadShots, "Warheadshots: "},
    {Field::WarheadHits, "Warheadhits: "},
    {Field::CraftLost, "Craft lost: "},
}};

// The report names the first circle of the secret order differently from the selector.
constexpr std::uint32_t kFirstCircle = 1;
constexpr std::string_view kFirstCircleText = "First Initiate";

// The report's own spelling of the craft names.
constexpr std::array<std::string_view, pilot::kShownCrafts> kReportCraftNames = {
    "Tie Fighter",     "Tie Interceptor", "Tie Bomber",  "Tie Advanced",
    "Assault Gunboat", "Tie Defender",    "Missile Boat"};

// A training line starts with the craft's name padded to this width, then "Score: ".
constexpr std::size_t kTrainingNameWidth = 17;
static_assert(std::ranges::all_of(kReportCraftNames, [](std::string_view name) {
    return name.size() <= kTrainingNameWidth;
}));

struct MissionPair {
    std::string_view left;
    std::string_view right;
};

// The second column follows the first number directly; it is not aligned.
constexpr std::array<MissionPair, pilot::kMissions / 2> kMissionPairs = {{
    {"Mission 1: ", "   Mission 5: "},
    {"Mission 2: ", "   Mission 6: "},
    {"Mission 3: ", "   Mission 7: "},
    {"Mission 4: ", "   Mission 8: "},
}};

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSpacer = " ";

// Every line after the path fits in this many bytes (the longest, a mission-pair line of
// two 11-character numbers, takes 49), and a report has at most this many of them.
constexpr std::size_t kLineBound = 64;
constexpr std::size_t kMaxLinesAfterPath =
    (kHeaderLines.size() + 1) + (1 + pilot::kShownCrafts + 1) +
    (1 + pilot::kShownCrafts * (1 + kMissionPairs.size()) + 1) +
    pilot::kBattles * (1 + kMissionPairs.size());

class ReportWriter {
public:
    // Room for the longest report is taken at the start, so that no line has to ask for more.
    ReportWriter(const pilot::PilotRecord& record, std::string_view reportPath) : m_record(record) {
        m_text.reserve(reportPath.size() + kLineEnd.size() + kMaxLinesAfterPath * kLineBound);
        line(reportPath);
    }

    [[nodiscard]] std::string take() { return std::move(m_text); }

    void headerLines() {
        for (const HeaderLine& header : kHeaderLines) {
            if (pilot::fieldInfo(header.field).enumeration.empty()) {
                put(header.label);
                number(m_record.value(header.field));
                put(kLineEnd);
            } else if (const auto text = enumeratedText(header.field)) {
                put(header.label);
                line(*text);
            }
        }
        line(kSpacer);
    }

    void trainingLines() {
        line("Training Scores:");
        for (std::size_t craft = 0; craft < pilot::kShownCrafts; ++craft) {
            const std::string_view name = kReportCraftNames[craft];
            put(name);
            blanks(kTrainingNameWidth - name.size());
            put("Score: ");
            number(m_record.i32(Field::TrainingScore, craft));
            put(" Level: ");
            number(m_record.u8(Field::TrainingLevel, craft));
            put(kLineEnd);
        }
        line(kSpacer);
    }

    void combatChamberLines() {
        line("Combat Chamber:");
        for (std::size_t craft = 0; craft < pilot::kShownCrafts; ++craft) {
            line(kReportCraftNames[craft]);
            missionPairs(Field::CombatScore, craft);
        }
        line(kSpacer);
    }

    // Every battle with a status other than 0 exists, whatever the status says.
    void battleLines() {
        for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
            if (m_record.u8(Field::BattleStatus, battle) == 0) {
                continue;
            }
            put("Battle ");
            number(static_cast<std::int64_t>(battle + 1));
            line(":");
            missionPairs(Field::BattleMissionScore, battle);
        }
    }

private:
    [[nodiscard]] std::optional<std::string_view> enumeratedText(Field field) const {
        const std::uint32_t value = m_record.raw(field);
        if (field == Field::SecretOrder && value == kFirstCircle) {
            return kFirstCircleText;
        }
        return pilot::enumerationText(field, value);
    }

    void missionPairs(Field scores, std::size_t row) {
        for (std::size_t pair = 0; pair < kMissionPairs.size(); ++pair) {
            put(kMissionPairs[pair].left);
            number(m_record.i32(scores, row, pair));
            put(kMissionPairs[pair].right);
            number(m_record.i32(scores, row, pair + kMissionPairs.size()));
            put(kLineEnd);
        }
    }

    void line(std::string_view text) {
        put(text);
        put(kLineEnd);
    }

    void put(std::string_view text) { m_text.append(text); }

    void blanks(std::size_t count) { m_text.append(count, ' '); }

    void number(std::int64_t value) {
        // The longest, -9223372036854775808, takes 20 characters.
        std::array<char, std::numeric_limits<std::int64_t>::digits10 + 2> digits{};
        char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        m_text.append(digits.data(), end);
    }

    const pilot::PilotRecord& m_record;
    std::string m_text;
};

}  // namespace

std::string pilotReport(const pilot::PilotRecord& record, std::string_view reportPath) {
    ReportWriter writer(record, reportPath);
    writer.headerLines();
    writer.trainingLines();
    writer.combatChamberLines();
    writer.battleLines();
    return writer.take();
}

}  // namespace reports
