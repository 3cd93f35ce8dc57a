// brevanta-cli table: a roster as one row per pilot, CSV by RFC 4180 or tab-separated, the
// columns chosen by the names show uses, in flat memory however long the roster.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CliRun.h"
#include "PilotRecord.h"
#include "TestFiles.h"

namespace {

using namespace std::string_literals;
using pilot::Field;
using pilot::PilotRecord;
using testing_support::runCli;
using testing_support::TempDir;
using testing_support::writeRecord;

struct Pilot {
    std::string name;
    PilotRecord record;
    std::string row;  // the default columns but the file's name, as CSV
};

PilotRecord withBattles(PilotRecord record, std::size_t completed) {
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        record.setU8(Field::BattleStatus, battle < completed ? 3 : 1, battle);
    }
    return record;
}

std::vector<Pilot> roster() {
    PilotRecord captain = withBattles(PilotRecord::newPilot(), 3);
    captain.setU8(Field::Rank, 3);
    captain.setU8(Field::PilotStatus, 2);
    captain.setI32(Field::TotalScore, -5);
    captain.setU16(Field::Kills, 65535);
    captain.setI32(Field::LaserShots, 8);
    captain.setI32(Field::LaserHits, 3);
    captain.setU16(Field::WarheadShots, 3);
    captain.setU16(Field::WarheadHits, 2);
    PilotRecord odd = withBattles(PilotRecord::newPilot(), 20);
    odd.setU8(Field::Rank, 9);
    odd.setU8(Field::PilotStatus, 7);
    odd.setI32(Field::TotalScore, 2147483647);
    odd.setI32(Field::LaserShots, 2);
    odd.setI32(Field::LaserHits, 5);
    odd.setU16(Field::WarheadShots, 2000);
    odd.setU16(Field::WarheadHits, 1);
    PilotRecord negative = PilotRecord::newPilot();
    negative.setI32(Field::LaserShots, 5);
    negative.setI32(Field::LaserHits, -1);
    negative.setU16(Field::WarheadShots, 3);
    negative.setU16(Field::WarheadHits, 3);
    PilotRecord noShots = PilotRecord::newPilot();
    noShots.setI32(Field::LaserShots, -3);
    noShots.setI32(Field::LaserHits, 1);
    return {
        {"new.TFR", PilotRecord::newPilot(), "Flight Cadet,Alive,0,0,0,,"},
        {"captain.TFR", captain, "Captain,Killed,-5,65535,3,37.5,66.7"},
        {"odd.TFR", odd, "9 (unknown),7 (unknown),2147483647,0,20,250.0,0.1"},
        {"negative.TFR", negative, "Flight Cadet,Alive,0,0,0,,100.0"},
        {"noshots.TFR", noShots, "Flight Cadet,Alive,0,0,0,,"},
    };
}

TEST(CliTable, TheDefaultColumnsGiveEachPilotARow) {
    TempDir dir;
    std::vector<std::string> arguments = {"table"};
    std::string expected =
        "File,Rank,PilotStatus,TotalScore,Kills,BattlesFinished,LaserAccuracy,WarheadAccuracy\r\n";
    for (const Pilot& pilot : roster()) {
        writeRecord(dir / pilot.name, pilot.record);
        arguments.push_back(pilot.name);
        expected += pilot.name + "," + pilot.row + "\r\n";
    }
    auto result = runCli(arguments, dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, expected);

    // A file that cannot be read is left out after its message; the others are tabulated.
    arguments.insert(arguments.begin() + 2, "gone.TFR");
    arguments.push_back("-");
    result = runCli(arguments, dir.path(), testing_support::textOf(roster()[1].record));
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, expected + "-," + roster()[1].row + "\r\n");
    EXPECT_EQ(result.err,
              "brevanta-cli: gone.TFR: error 2: Datei nicht gefunden. (the file does not exist)\n");
}

// File names with the separators, quotes and line breaks in them stay one cell.
TEST(CliTable, FileNamesAreQuotedOrEscaped) {
    const struct {
        std::string name;
        std::string csv;
        std::string tsv;
    } names[] = {
        {"plain.TFR", "plain.TFR", "plain.TFR"},
        {"a,b.TFR", "\"a,b.TFR\"", "a,b.TFR"},
        {"say \"hi\".TFR", "\"say \"\"hi\"\".TFR\"", "say \"hi\".TFR"},
        {"two\nlines.TFR", "\"two\nlines.TFR\"", "two\\nlines.TFR"},
        {"carriage\rreturn.TFR", "\"carriage\rreturn.TFR\"", "carriage\\rreturn.TFR"},
        {"tab\there.TFR", "tab\there.TFR", "tab\\there.TFR"},
        {"back\\slash.TFR", "back\\slash.TFR", "back\\\\slash.TFR"},
        {"caf\xE9 'x'.TFR", "caf\xE9 'x'.TFR", "caf\xE9 'x'.TFR"},
    };
    TempDir dir;
    std::vector<std::string> csvArguments = {"table", "--fields", "File,Rank"};
    std::vector<std::string> tsvArguments = {"table", "--tsv", "--fields=Rank,File"};
    std::string csv = "File,Rank\r\n";
    std::string tsv = "Rank\tFile\n";
    for (const auto& name : names) {
        writeRecord(dir / name.name, PilotRecord::newPilot());
        csvArguments.push_back(name.name);
        tsvArguments.push_back(name.name);
        csv += name.csv + ",Flight Cadet\r\n";
        tsv += "Flight Cadet\t" + name.tsv + "\n";
    }
    auto result = runCli(csvArguments, dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, csv);
    result = runCli(tsvArguments, dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, tsv);
}

std::string numbered(const std::string& name, std::size_t count, const std::string& value) {
    std::string header;
    std::string row;
    for (std::size_t i = 0; i < count; ++i) {
        header += (i == 0 ? "" : ",") + name + "[" + std::to_string(i) + "]";
        row += (i == 0 ? "" : ",") + value;
    }
    return header + "\n" + row;
}

// Each field list gives its header and row ("HEADER\nROW"), or is refused whole.
TEST(CliTable, FieldsChooseTheColumns) {
    PilotRecord record = withBattles(PilotRecord::newPilot(), 2);
    record.setU8(Field::Rank, 4);
    record.setU16(Field::ShipKills, 7, 3);
    record.setI32(Field::BattleMissionScore, -12, 3, 5);
    record.setU8(Field::Reserved0, 0xAB);
    record.setU8(Field::Reserved11, 200, 2);
    record.setU8(Field::SecretOrder, 7);
    TempDir dir;
    writeRecord(dir / "P.TFR", record);
    const struct {
        std::string fields;
        std::string expected;
    } choices[] = {
        {"Rank,TotalScore", "Rank,TotalScore\nCommander,0"},
        {"SecretOrder,Difficulty", "SecretOrder,Difficulty\nEmperor's Eyes,Medium"},
        {"ShipKills[3],BattleStatus[1],BattleStatus[2]",
         "ShipKills[3],BattleStatus[1],BattleStatus[2]\n7,Completed,In Progress (Current Battle)"},
        {"BattleMissionScore[3][5],LaserAccuracy,File",
         "BattleMissionScore[3][5],LaserAccuracy,File\n-12,,P.TFR"},
        {"BattleMissionScore[3]",
         "BattleMissionScore[3][0],BattleMissionScore[3][1],BattleMissionScore[3][2],"
         "BattleMissionScore[3][3],BattleMissionScore[3][4],BattleMissionScore[3][5],"
         "BattleMissionScore[3][6],BattleMissionScore[3][7]\n0,0,0,0,0,-12,0,0"},
        {"TrainingLevel", numbered("TrainingLevel", 12, "2")},
        {"Reserved0,Reserved11[2],Reserved1916",
         "Reserved0,Reserved11[2],Reserved1916\nab,200,00000000"},
        {"BattlesFinished,Kills,Kills", "BattlesFinished,Kills,Kills\n2,0,0"},
    };
    for (const auto& choice : choices) {
        SCOPED_TRACE(choice.fields);
        const auto result = runCli({"table", "--fields", choice.fields, "P.TFR"}, dir.path());
        EXPECT_EQ(result.status, 0) << result.err;
        std::string expected;
        for (const char c : choice.expected + "\n") {
            expected += c == '\n' ? "\r\n" : std::string(1, c);
        }
        EXPECT_EQ(result.out, expected);
    }
    const auto whole =
        runCli({"table", "--fields=File,ShipKills,CombatScore", "P.TFR"}, dir.path());
    EXPECT_EQ(std::count(whole.out.begin(), whole.out.end(), ','), 2 * (70 + 96));

    const struct {
        std::string fields;
        std::string message;
    } refused[] = {
        {"Nope", "unknown field \"Nope\""},
        {"", "unknown field \"\""},
        {"Rank,ShipKills[70]", "index 70 of ShipKills is out of range (0..69)"},
        {"BattleMissionScore[20]", "index 20 of BattleMissionScore is out of range (0..19)"},
        {"Rank[0]", "Rank takes no index"},
        {"ShipKills[1][2]", "ShipKills takes 1 index"},
        {"CombatScore[1][x]", "malformed index in \"CombatScore[1][x]\""},
        {"file", "unknown field \"file\""},
    };
    for (const auto& refusal : refused) {
        SCOPED_TRACE(refusal.fields);
        const auto result = runCli({"table", "--fields=" + refusal.fields, "P.TFR"}, dir.path());
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "brevanta-cli: table: " + refusal.message + "\n");
    }
}

// Each row is written as its file is read: a roster a hundred times as long takes no more
// memory, though its rows of 300 columns would fill megabytes.
TEST(CliTable, AnyRosterTakesFlatMemory) {
    TempDir dir;
    std::filesystem::create_directory(dir / "p");
    std::vector<std::string> shortRoster = {"table",
                                            "--fields=File,ShipKills,CombatScore,TrainingScore"};
    std::vector<std::string> longRoster = shortRoster;
    for (std::uint32_t i = 0; i < 3000; ++i) {
        const std::string name = "p/" + std::to_string(i);
        writeRecord(dir / name, testing_support::patternedRecord(i));
        if (i < 30) {
            shortRoster.push_back(name);
        }
        longRoster.push_back(name);
    }
    const auto few = runCli(shortRoster, dir.path());
    const auto many = runCli(longRoster, dir.path());
    ASSERT_EQ(few.status, 0) << few.err;
    ASSERT_EQ(many.status, 0) << many.err;
    EXPECT_GT(many.out.size(), 4'000'000u);
    EXPECT_LT(many.peakMemoryKb, few.peakMemoryKb + 2048)
        << "a short roster took " << few.peakMemoryKb << " KB";
}

}  // namespace
