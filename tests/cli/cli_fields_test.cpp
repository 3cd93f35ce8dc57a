// brevanta-cli new, set, show and diff, end to end on pilot files made here.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CliRun.h"
#include "FieldTable.h"
#include "PilotRecord.h"
#include "TestFiles.h"

namespace {

using pilot::Field;
using pilot::FieldInfo;
using pilot::FieldType;
using pilot::PilotRecord;
using testing_support::readBytes;
using testing_support::recordOf;
using testing_support::runCli;
using testing_support::TempDir;
using testing_support::writeRecord;

std::string hexOf(const PilotRecord& record, const FieldInfo& info) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t at = info.offset; at < info.offset + info.size(); ++at) {
        text += kDigits[record.bytes()[at] >> 4];
        text += kDigits[record.bytes()[at] & 0xF];
    }
    return text;
}

// A value for element `index` of a field that its rule stores unchanged, different from
// element to element and from field to field; enumerations alternate between the entry's
// text and its number.
struct Sample {
    std::string text;
    std::uint32_t pattern;
};

Sample sampleFor(const FieldInfo& info, std::size_t index) {
    const auto seed =
        static_cast<std::uint32_t>(index + 1 + static_cast<std::size_t>(info.id) * 97);
    if (!info.enumeration.empty()) {
        const auto entry = static_cast<std::uint32_t>((index + 1) % info.enumeration.size());
        return {index % 2 == 1 ? std::string(info.enumeration[entry]) : std::to_string(entry),
                entry};
    }
    switch (info.type) {
        case FieldType::I32: {
            const auto value = -static_cast<std::int32_t>(seed * 7919);
            return {std::to_string(value), static_cast<std::uint32_t>(value)};
        }
        case FieldType::U16:
            return {std::to_string(seed % 65000 + 1), seed % 65000 + 1};
        case FieldType::U8:
            return {std::to_string(seed % 250 + 1), seed % 250 + 1};
    }
    return {};
}

std::string elementName(const FieldInfo& info, std::size_t row, std::size_t column) {
    std::string name(info.name);
    if (info.dimensions >= 1) {
        name += "[" + std::to_string(row) + "]";
    }
    if (info.dimensions == 2) {
        name += "[" + std::to_string(column) + "]";
    }
    return name;
}

const nlohmann::json& jsonElement(const nlohmann::json& object, const FieldInfo& info,
                                  std::size_t row, std::size_t column) {
    const nlohmann::json& field = object.at(std::string(info.name));
    if (info.dimensions == 0) {
        return field;
    }
    return info.dimensions == 1 ? field.at(row) : field.at(row).at(column);
}

TEST(CliNew, WritesTheNewPilotDefaultsAndKeepsAnExistingFile) {
    TempDir dir;
    const auto path = dir / "ace.TFR";
    auto result = runCli({"new", path.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(recordOf(path), PilotRecord::newPilot());

    writeRecord(path, testing_support::patternedRecord(1));
    result = runCli({"new", path.string()});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("exists"), std::string::npos) << result.err;
    EXPECT_EQ(recordOf(path), testing_support::patternedRecord(1));

    result = runCli({"new", "--force", path.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(recordOf(path), PilotRecord::newPilot());
}

// Every element of every field of the table: one set, then show --json gives the values
// back, and the file holds exactly them with every other byte as it was.
TEST(CliSetShow, EveryFieldOfTheTableRoundTrips) {
    TempDir dir;
    const auto path = dir / "pilot.TFR";
    PilotRecord expected = testing_support::patternedRecord(7);
    writeRecord(path, expected);

    std::vector<std::string> arguments{"set", path.string()};
    for (const FieldInfo& info : pilot::kFieldTable) {
        if (info.reserved()) {
            continue;
        }
        for (std::size_t row = 0; row < info.rows; ++row) {
            for (std::size_t column = 0; column < info.columns; ++column) {
                const Sample sample = sampleFor(info, row * info.columns + column);
                arguments.push_back(elementName(info, row, column) + "=" + sample.text);
                expected.setRaw(info.id, sample.pattern, row, column);
            }
        }
    }
    const auto set = runCli(arguments);
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(recordOf(path), expected);

    const auto show = runCli({"show", "--json", path.string()});
    ASSERT_EQ(show.status, 0) << show.err;
    const auto json = nlohmann::json::parse(show.out);
    // Every field, and the kill counters' labels beside them.
    ASSERT_EQ(json.size(), pilot::kFieldTable.size() + 1);
    EXPECT_EQ(json.at("ShipKillLabels").at(12), "T-W");
    for (const FieldInfo& info : pilot::kFieldTable) {
        SCOPED_TRACE(std::string(info.name));
        if (info.reserved()) {
            EXPECT_EQ(json.at(std::string(info.name)), hexOf(expected, info));
            continue;
        }
        for (std::size_t row = 0; row < info.rows; ++row) {
            for (std::size_t column = 0; column < info.columns; ++column) {
                const auto& element = jsonElement(json, info, row, column);
                const std::int64_t value = expected.value(info.id, row, column);
                if (info.enumeration.empty()) {
                    EXPECT_EQ(element, value) << elementName(info, row, column);
                } else {
                    EXPECT_EQ(element.at("value"), value);
                    EXPECT_EQ(element.at("text"),
                              info.enumeration[static_cast<std::size_t>(value)]);
                }
            }
        }
    }
}

TEST(CliShow, JsonMarksEnumeratedValuesOutsideTheirListWithANullText) {
    TempDir dir;
    const auto path = dir / "odd.TFR";
    PilotRecord record = PilotRecord::newPilot();
    record.setU8(Field::Rank, 9);
    record.setU8(Field::BattleStatus, 7, 19);
    writeRecord(path, record);
    const auto show = runCli({"show", "--json", path.string()});
    ASSERT_EQ(show.status, 0) << show.err;
    const auto json = nlohmann::json::parse(show.out);
    EXPECT_EQ(json.at("Rank"), (nlohmann::json{{"value", 9}, {"text", nullptr}}));
    EXPECT_EQ(json.at("BattleStatus").at(19), (nlohmann::json{{"value", 7}, {"text", nullptr}}));
    EXPECT_EQ(json.at("Difficulty"), (nlohmann::json{{"value", 1}, {"text", "Medium"}}));
    EXPECT_EQ(json.at("CombatScore").size(), pilot::kCraftSlots);
    EXPECT_EQ(json.at("CombatScore").at(11).size(), pilot::kMissions);
}

struct ShownLine {
    Field field;
    std::size_t row;
    std::size_t column;
    std::uint32_t pattern;
    std::string line;
};

TEST(CliShow, TextNamesEachElementWithWhatItsIndicesMean) {
    const std::vector<ShownLine> cases = {
        {Field::Rank, 0, 0, 2, "Rank: 2 (Lieutenant)"},
        {Field::Rank, 0, 0, 9, "Rank: 9 (unknown)"},
        {Field::SecretOrder, 0, 0, 1, "SecretOrder: 1 (First Circle)"},
        {Field::TotalScore, 0, 0, static_cast<std::uint32_t>(-42), "TotalScore: -42"},
        {Field::Skill, 0, 0, 65535, "Skill: 65535"},
        {Field::TrainingScore, 6, 0, 12000, "TrainingScore[6] (Missile Boat): 12000"},
        {Field::TrainingLevel, 7, 0, 4, "TrainingLevel[7] (spare slot 8): 4"},
        {Field::CombatCompleted, 6, 7, 1, "CombatCompleted[6][7] (Missile Boat, mission 8): 1"},
        {Field::BattleStatus, 0, 0, 3, "BattleStatus[0] (battle 1): 3 (Completed)"},
        {Field::BattleMissionScore, 3, 2, static_cast<std::uint32_t>(-10),
         "BattleMissionScore[3][2] (battle 4, mission 3): -10"},
        {Field::ShipKills, 69, 0, 3, "ShipKills[69] (Unkn): 3"},
        {Field::ShipKills, 12, 0, 4, "ShipKills[12] (T-W): 4"},
        {Field::Reserved0, 0, 0, 0xAB, "Reserved0: ab"},
        {Field::Reserved1916, 0, 0, 0x04030201, "Reserved1916: 01020304"},
    };
    TempDir dir;
    const auto path = dir / "shown.TFR";
    for (const ShownLine& shown : cases) {
        SCOPED_TRACE(shown.line);
        PilotRecord record;
        record.setRaw(shown.field, shown.pattern, shown.row, shown.column);
        writeRecord(path, record);
        const auto result = runCli({"show", path.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(("\n" + result.out).find("\n" + shown.line + "\n"), std::string::npos);
    }
}

TEST(CliShow, TextHasOneLinePerElementAndOnePerReservedStretch) {
    TempDir dir;
    const auto path = dir / "lines.TFR";
    writeRecord(path, PilotRecord::newPilot());
    std::size_t lines = 0;
    for (const FieldInfo& info : pilot::kFieldTable) {
        lines += info.reserved() ? 1 : info.elementCount();
    }
    const auto result = runCli({"show", path.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(static_cast<std::size_t>(std::count(result.out.begin(), result.out.end(), '\n')),
              lines);
}

struct StoredValue {
    std::string assignment;
    Field field;
    std::size_t row;
    std::size_t column;
    std::uint32_t stored;
};

// The editor's conversion and width rules: what each assignment leaves in its element.
TEST(CliSet, StoresWhatTheEditorsFieldsStore) {
    const std::vector<StoredValue> cases = {
        {"TotalScore=-5", Field::TotalScore, 0, 0, static_cast<std::uint32_t>(-5)},
        {"TotalScore=2147483646", Field::TotalScore, 0, 0, 2147483646},
        {"TotalScore=2147483647", Field::TotalScore, 0, 0, 0},
        {"Captures=70000", Field::Captures, 0, 0, 4464},
        {"CraftLost=-2", Field::CraftLost, 0, 0, 65534},
        {"Skill=65535", Field::Skill, 0, 0, 0},
        {"ShipKills[69]=131071", Field::ShipKills, 69, 0, 0},
        {"TrainingLevel[0]=255", Field::TrainingLevel, 0, 0, 2},
        {"TrainingLevel[11]=256", Field::TrainingLevel, 11, 0, 0},
        {"TrainingLevel[3]=300", Field::TrainingLevel, 3, 0, 44},
        {"LaserShots= 12", Field::LaserShots, 0, 0, 12},
        {"LaserHits=$1F", Field::LaserHits, 0, 0, 31},
        {"BattleMissionScore[19][7]=$FFFFFFFF", Field::BattleMissionScore, 19, 7, 0xFFFFFFFF},
        {"CombatScore[11][7]=007", Field::CombatScore, 11, 7, 7},
        {"Rank=Captain", Field::Rank, 0, 0, 3},
        {"Rank=captain", Field::Rank, 0, 0, 3},
        {"Rank=3", Field::Rank, 0, 0, 3},
        {"SecretOrder=Emperor's Reach", Field::SecretOrder, 0, 0, 9},
        {"BattleStatus[19]=In Progress (Current Battle)", Field::BattleStatus, 19, 0, 1},
        {"BattleSecondaryGoals[0]=129", Field::BattleSecondaryGoals, 0, 0, 129},
        {"BattleBonusGoals[19]=255", Field::BattleBonusGoals, 19, 0, 255},
        {"BattleLastMission[5]=12", Field::BattleLastMission, 5, 0, 12},
        {"CombatCompleted[0][0]=1", Field::CombatCompleted, 0, 0, 1},
    };
    TempDir dir;
    const auto path = dir / "pilot.TFR";
    for (const StoredValue& value : cases) {
        SCOPED_TRACE(value.assignment);
        const PilotRecord before = testing_support::patternedRecord(3);
        writeRecord(path, before);
        const auto result = runCli({"set", path.string(), value.assignment});
        ASSERT_EQ(result.status, 0) << result.err;
        PilotRecord expected = before;
        expected.setRaw(value.field, value.stored, value.row, value.column);
        EXPECT_EQ(recordOf(path), expected);
    }
}

// A value stored otherwise than written, or one check would report, is said on standard
// error; the set goes through with exit status 0, or with --strict is refused (2) and
// nothing is written.
TEST(CliSet, SaysWhatItStoresOtherwiseAndStrictRefusesIt) {
    const struct {
        std::vector<std::string> arguments;
        std::string warning;  // empty: stored as written, nothing to say
    } cases[] = {
        {{"Captures=70000"}, "\"Captures=70000\" stores 4464, the low 16 bits of 70000"},
        {{"CraftLost=-2"}, "\"CraftLost=-2\" stores 65534, the low 16 bits of -2"},
        {{"TrainingLevel[3]=300"}, "\"TrainingLevel[3]=300\" stores 44, the low 8 bits of 300"},
        {{"Skill=65535"}, "\"Skill=65535\" stores 0: 65535 resets Skill, as in the editor"},
        {{"Skill=-1"},
         "\"Skill=-1\" stores 0: 65535 (the low 16 bits of -1) resets Skill, as in the editor"},
        {{"TrainingLevel[0]=255"},
         "\"TrainingLevel[0]=255\" stores 2: 255 resets TrainingLevel[0], as in the editor"},
        {{"TotalScore=2147483647"},
         "\"TotalScore=2147483647\" stores 0: 2147483647 resets TotalScore, as in the editor"},
        {{"BattleLastMission[0]=200"},
         "check will report: error: Battle 1: last completed mission 200 is more than 8"},
        {{"BattleMissionScore[3][2]=12000"},
         "check will report: warning: Total score 0 differs from the sum of the mission scores, "
         "12000"},
        {{"BattleMissionScore[3][2]=12000", "--update-totals"}, ""},
        {{"Rank=3", "Skill=12", "LaserShots=$1F", "BattleMissionScore[19][7]=0"}, ""},
        {{"CombatScore[0][0]=$FFFFFFFF"}, ""},  // a 32-bit pattern, stored as written
    };
    TempDir dir;
    const auto path = dir / "pilot.TFR";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        for (const bool strict : {false, true}) {
            SCOPED_TRACE(strict ? "strict" : "plain");
            writeRecord(path, PilotRecord::newPilot());
            const auto before = readBytes(path);
            std::vector<std::string> arguments{"set", path.string()};
            arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
            if (strict) {
                arguments.push_back("--strict");
            }
            const auto result = runCli(arguments);
            if (c.warning.empty()) {
                EXPECT_EQ(result.status, 0);
                EXPECT_EQ(result.err, "");
                EXPECT_NE(readBytes(path), before);
                continue;
            }
            EXPECT_NE(result.err.find("brevanta-cli: set: " + c.warning + "\n"), std::string::npos)
                << result.err;
            EXPECT_EQ(result.status, strict ? 2 : 0);
            EXPECT_EQ(result.err.find("nothing written") != std::string::npos, strict);
            if (strict) {
                EXPECT_EQ(readBytes(path), before);
            }
        }
    }
}

// A mistyped field or option is refused with the name most likely meant.
TEST(CliSuggestions, AMistypedFieldOrOptionGetsADidYouMean) {
    TempDir dir;
    writeRecord(dir / "P.TFR", PilotRecord::newPilot());
    const auto bytes = readBytes(dir / "P.TFR");
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"set", "P.TFR", "rank=captain"}, "unknown field \"rank\"; did you mean Rank?"},
        {{"set", "P.TFR", "BattleMisionScore[3][2]=5"},
         "unknown field \"BattleMisionScore\"; did you mean BattleMissionScore?"},
        {{"show", "ShipKils[3]"}, ""},  // a file name to show, not a field: no suggestion here
        {{"bsf", "P.TFR", "F.TXT", "--batle", "4"},
         "brevanta-cli: bsf: unknown option --batle; did you mean --battle?\n"},
        {{"show", "--jsn", "P.TFR"},
         "brevanta-cli: show: unknown option --jsn; did you mean --json?\n"},
        {{"report", "--output-dri=out", "P.TFR"},
         "brevanta-cli: report: unknown option --output-dri; did you mean --output-dir?\n"},
        {{"set", "P.TFR", "Rank=1", "--update-total"},
         "brevanta-cli: set: unknown option --update-total; did you mean --update-totals?\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments[1]);
        const auto result = runCli(c.arguments, dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("did you mean") != std::string::npos, !c.message.empty());
        EXPECT_EQ(readBytes(dir / "P.TFR"), bytes);
        EXPECT_FALSE(std::filesystem::exists(dir / "F.TXT"));
    }
}

TEST(CliSet, UpdateTotalsRecomputesScoreAndKillsAsTheEditorDoes) {
    struct Totals {
        std::vector<std::string> assignments;
        std::int32_t totalScore;
        std::uint16_t kills;
    };
    const std::vector<Totals> cases = {
        {{"BattleMissionScore[0][0]=100", "BattleMissionScore[19][7]=-30", "ShipKills[0]=2",
          "ShipKills[69]=3", "TotalScore=1", "Kills=1"},
         70,
         5},
        // Sums equal to the field's sentinel are stored as 0 by the field that shows them.
        {{"BattleMissionScore[0][0]=2147483646", "BattleMissionScore[1][0]=1", "ShipKills[0]=65534",
          "ShipKills[1]=1"},
         0,
         0},
        // The 32-bit sum wraps; the 16-bit sum wraps modulo 65536.
        {{"BattleMissionScore[0][0]=2147483646", "BattleMissionScore[1][0]=3", "ShipKills[0]=65534",
          "ShipKills[1]=3"},
         -2147483647,
         1},
    };
    TempDir dir;
    const auto path = dir / "pilot.TFR";
    for (const Totals& totals : cases) {
        writeRecord(path, PilotRecord::newPilot());
        std::vector<std::string> arguments{"set", "--update-totals", path.string()};
        arguments.insert(arguments.end(), totals.assignments.begin(), totals.assignments.end());
        const auto result = runCli(arguments);
        ASSERT_EQ(result.status, 0) << result.err;
        const PilotRecord record = recordOf(path);
        EXPECT_EQ(record.i32(Field::TotalScore), totals.totalScore) << totals.assignments[0];
        EXPECT_EQ(record.u16(Field::Kills), totals.kills) << totals.assignments[0];
    }
}

struct Refusal {
    std::vector<std::string> assignments;
    std::string reason;  // part of the message
};

TEST(CliSet, RefusesBadAssignmentsAndWritesNothing) {
    const std::vector<Refusal> cases = {
        {{"Callsign=1"}, "unknown field \"Callsign\""},
        {{"Reserved657[3]=1"}, "is reserved"},
        {{"Reserved0=1"}, "is reserved"},
        {{"TrainingScore[12]=1"}, "index 12 of TrainingScore is out of range (0..11)"},
        {{"BattleMissionScore[3][8]=1"}, "index 8 of BattleMissionScore is out of range (0..7)"},
        {{"ShipKills[70]=1"}, "out of range (0..69)"},
        {{"ShipKills[18446744073709551616]=1"}, "out of range"},
        {{"TrainingScore=1"}, "TrainingScore takes 1 index"},
        {{"Rank[0]=1"}, "Rank takes no index"},
        {{"CombatScore[1]=1"}, "CombatScore takes 2 indices"},
        {{"ShipKills[-1]=1"}, "malformed index"},
        {{"ShipKills[1=1"}, "malformed index"},
        {{"Skill=abc"}, "\"abc\" is not a number"},
        {{"Skill=12 "}, "is not a number"},
        {{"Skill="}, "is not a number"},
        {{"TotalScore=2147483648"}, "is not a number"},
        {{"Skill"}, "expected FIELD=VALUE"},
        {{"Rank=6"}, "\"6\" is not a value of Rank"},
        {{"Rank=-1"}, "is not a value of Rank"},
        {{"Rank=Admiral"}, "\"Admiral\" is not a value of Rank"},
        {{"BattleStatus[0]=4"}, "is not a value of BattleStatus"},
        {{"BattleBonusGoals[0]=256"}, "does not fit"},
        {{"BattleLastMission[0]=-1"}, "does not fit"},
        // One bad assignment among good ones: still nothing is written.
        {{"Rank=3", "TotalScore=5", "Difficulty=Brutal"}, "\"Difficulty=Brutal\""},
    };
    TempDir dir;
    const auto path = dir / "pilot.TFR";
    const PilotRecord before = testing_support::patternedRecord(11);
    writeRecord(path, before);
    const auto bytes = readBytes(path);
    for (const Refusal& refusal : cases) {
        SCOPED_TRACE(refusal.assignments.back());
        std::vector<std::string> arguments{"set", "--update-totals", path.string()};
        arguments.insert(arguments.end(), refusal.assignments.begin(), refusal.assignments.end());
        const auto result = runCli(arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find("\"" + refusal.assignments.back() + "\""), std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(refusal.reason), std::string::npos) << result.err;
        EXPECT_EQ(readBytes(path), bytes);
    }
}

TEST(CliDiff, AFileAgainstItselfIsIdentical) {
    TempDir dir;
    const auto path = dir / "a.TFR";
    writeRecord(path, testing_support::patternedRecord(21));
    const auto result = runCli({"diff", path.string(), path.string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
}

struct Difference {
    std::vector<std::string> assignments;
    std::string lines;
};

TEST(CliDiff, ListsEachDifferingElementAfterASet) {
    const std::vector<Difference> cases = {
        {{"Rank=Captain"}, "Rank: 2 (Lieutenant) -> 3 (Captain)\n"},
        {{"BattleMissionScore[3][2]=20"},
         "BattleMissionScore[3][2] (battle 4, mission 3): 10 -> 20\n"},
        {{"Skill=-1"}, "Skill: 65534 -> 0\n"},
        {{"BattleStatus[1]=9"}, ""},  // refused: no file changes, no difference
        {{"TotalScore=-7", "ShipKills[4]=1"}, "TotalScore: 0 -> -7\nShipKills[4] (T/F): 0 -> 1\n"},
    };
    TempDir dir;
    const auto a = dir / "a.TFR";
    const auto b = dir / "b.TFR";
    PilotRecord record = PilotRecord::newPilot();
    record.setU8(Field::Rank, 2);
    record.setI32(Field::BattleMissionScore, 10, 3, 2);
    record.setU16(Field::Skill, 65534);
    writeRecord(a, record);
    for (const Difference& difference : cases) {
        SCOPED_TRACE(difference.assignments.front());
        writeRecord(b, record);
        std::vector<std::string> arguments{"set", b.string()};
        arguments.insert(arguments.end(), difference.assignments.begin(),
                         difference.assignments.end());
        (void)runCli(arguments);
        const auto result = runCli({"diff", a.string(), b.string()});
        EXPECT_EQ(result.status, difference.lines.empty() ? 0 : 1) << result.err;
        EXPECT_EQ(result.out, difference.lines);
    }
}

TEST(CliDiff, ReservedBytesDifferByOffset) {
    TempDir dir;
    const auto a = dir / "a.TFR";
    const auto b = dir / "b.TFR";
    writeRecord(a, PilotRecord());
    PilotRecord changed;
    changed.setRaw(Field::Reserved657, 0x12, 43);
    changed.setRaw(Field::Reserved1924, 0xFF00);
    writeRecord(b, changed);
    const auto result = runCli({"diff", a.string(), b.string()});
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out,
              "offset 700 (Reserved657): 0x00 -> 0x12\n"
              "offset 1925 (Reserved1924): 0x00 -> 0xff\n");
}

}  // namespace
