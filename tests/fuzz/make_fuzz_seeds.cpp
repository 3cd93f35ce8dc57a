// Writes the seed corpora of the fuzz targets, made from our own records and names:
//
//   make-fuzz-seeds FOLDER
//
// creates FOLDER/number_text, FOLDER/reports, FOLDER/field_path, FOLDER/bsf_reading and
// FOLDER/history_names, one file per seed.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BsfText.h"
#include "FieldPath.h"
#include "HistoryNames.h"
#include "PilotRecord.h"

namespace {

namespace fs = std::filesystem;
using pilot::Field;
using pilot::PilotRecord;

bool writeSeeds(const fs::path& folder, const std::vector<std::string>& seeds) {
    fs::create_directories(folder);
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        std::ofstream out(folder / ("seed-" + std::to_string(i)), std::ios::binary);
        out.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write the seeds in %s\n", folder.c_str());
            return false;
        }
    }
    return true;
}

// Each text of a number field at each width (the first byte).
std::vector<std::string> numberSeeds() {
    const std::vector<std::string> texts = {
        "0",     "-1", "2147483647", "-2147483648", "2147483648", "65535",
        "70000", "-2", "255",        "131071",      "  12",       "12 ",
        "+7",    "-0", "$FFFFFFFF",  "$7fffffff",   "$100000000", "$0000000001",
        "$",     "",   "-",          "abc",         "1e3",        " $ff"};
    std::vector<std::string> seeds;
    for (char width = 0; width < 3; ++width) {
        for (const std::string& text : texts) {
            seeds.push_back(width + text);
        }
    }
    return seeds;
}

PilotRecord randomRecord(std::uint32_t seed) {
    std::mt19937 random(seed);
    PilotRecord::Bytes bytes{};
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return PilotRecord(bytes);
}

std::string reportSeed(const std::string& options, const std::string& file,
                       const std::string& texts) {
    const auto length = static_cast<unsigned>(file.size());
    return options + static_cast<char>(length & 0xFF) + static_cast<char>(length >> 8) + file +
           texts;
}

PilotRecord campaignPilot() {
    PilotRecord campaign = PilotRecord::newPilot();
    for (std::size_t battle = 0; battle < pilot::kBattles; ++battle) {
        campaign.setU8(Field::BattleStatus, static_cast<std::uint8_t>(1 + battle % 3), battle);
        campaign.setU8(Field::BattleLastMission, static_cast<std::uint8_t>(battle % 9), battle);
        for (std::size_t mission = 0; mission < pilot::kMissions; ++mission) {
            campaign.setI32(Field::BattleMissionScore,
                            static_cast<std::int32_t>(1000 * battle - 700 * mission), battle,
                            mission);
        }
    }
    return campaign;
}

std::string bytesOf(const PilotRecord& record) {
    return std::string(record.bytes().begin(), record.bytes().end());
}

// New, campaign and random pilots, a short and a long file, with battle and combat chamber
// forms and missing selections.
std::vector<std::string> reportSeeds() {
    const PilotRecord campaign = campaignPilot();
    // The report's path and the form's four texts, each ended by a NUL.
    static constexpr char kTexts[] =
        "/pilots/ACE.TXT\0Lt Ace/Vessk Wing 1\0"
        "17\0Imperial Cross\0ace@x";
    const std::string texts(kTexts, sizeof kTexts - 1);
    const std::string battle{'\1', '\3', '\2', '\5', '\377', '\377', '\377'};
    const std::string combat{'\2', '\377', '\377', '\0', '\6', '\2', '\4'};
    const std::string missing{'\1', '\377', '\377', '\0', '\377', '\377', '\377'};
    return {
        reportSeed(battle, bytesOf(PilotRecord::newPilot()), texts),
        reportSeed(battle, bytesOf(campaign), texts),
        reportSeed(combat, bytesOf(campaign), texts),
        reportSeed(missing, bytesOf(randomRecord(1)), texts),
        reportSeed(combat, bytesOf(randomRecord(2)) + "trailing bytes", std::string("r.TXT")),
        reportSeed(battle, bytesOf(campaign).substr(0, 1000), texts),
    };
}

// The name of the first and last element of every field, some with a value, and names
// that must be refused.
std::vector<std::string> fieldPathSeeds() {
    std::vector<std::string> seeds = {"Nope",
                                      "Rank[0]",
                                      "TrainingScore",
                                      "TrainingScore[007]",
                                      "BattleMissionScore[20][0]",
                                      "ShipKills[70]",
                                      "Rank=Captain",
                                      "Skill=65535",
                                      "TrainingLevel[0]=255",
                                      "BattleLastMission[3]=256",
                                      "Reserved0=1",
                                      "TotalScore=$FFFFFFFF"};
    for (const pilot::FieldInfo& info : pilot::kFieldTable) {
        seeds.push_back(pilot::pathName({info.id, 0, 0}));
        seeds.push_back(pilot::pathName({info.id, info.rows - 1, info.columns - 1}) + "=1");
    }
    return seeds;
}

// Names the history writes, for each origin, and names it must pass over.
std::vector<std::string> historyNameSeeds() {
    const std::string hash = pilot::history::contentHash(randomRecord(3));
    std::vector<std::string> seeds = {"notes.txt", "pilot-path", ".0123456789abcdef.brevanta-tmp",
                                      "20261312T142233.000000001Z-replaced-" + hash + ".TFR"};
    for (const auto origin : {pilot::history::Origin::Opened, pilot::history::Origin::Replaced,
                              pilot::history::Origin::ChangedByOther}) {
        seeds.push_back(pilot::history::entryFileName({1'778'595'753'123'456'789, origin, hash}));
    }
    return seeds;
}

}  // namespace

// Form files as the writer makes them, appended and damaged, then the same forms described by
// options, a record and texts, as the round trip reads its input.
std::vector<std::string> bsfReadingSeeds() {
    const PilotRecord campaign = campaignPilot();
    reports::BsfInput battle;
    battle.idLine = "Lt Ace/Vessk Wing 1";
    battle.battleNumber = "17";
    battle.medal = "Silver Wing";
    battle.mode = reports::BsfInput::Mode::Battle;
    battle.battle = 3;
    battle.lastMission = 2;
    battle.highscore[1] = true;
    reports::BsfInput combat;
    combat.mode = reports::BsfInput::Mode::CombatChamber;
    combat.craft = 2;
    combat.fromMission = 2;
    combat.toMission = 4;
    const std::string separator = std::string(reports::kBsfSeparatorLine) + "\r\n";
    const std::string battleForm = reports::bsfFormText(battle, campaign);
    const std::string combatForm = reports::bsfFormText(combat, campaign);
    static constexpr char kTexts[] =
        "Lt Ace\0"
        "17\0Silver Wing\0ace@x\0\0 \0\0";
    const std::string texts(kTexts, sizeof kTexts - 1);
    return {
        battleForm,
        battleForm + separator + combatForm + separator + reports::bsfFormText({}, campaign),
        separator + combatForm,
        battleForm.substr(0, battleForm.size() - 2) + separator + combatForm,
        battleForm + "Mission 4: 99999999999 \r\nMission 5: x\r\n",
        std::string("\0\1\1\3\2\2\377\377\377\2\377\377\0\2\2\4", 16) + bytesOf(campaign) + texts,
    };
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-fuzz-seeds FOLDER\n");
        return 2;
    }
    const fs::path folder = argv[1];
    const bool written = writeSeeds(folder / "number_text", numberSeeds()) &&
                         writeSeeds(folder / "reports", reportSeeds()) &&
                         writeSeeds(folder / "field_path", fieldPathSeeds()) &&
                         writeSeeds(folder / "bsf_reading", bsfReadingSeeds()) &&
                         writeSeeds(folder / "history_names", historyNameSeeds());
    return written ? 0 : 1;
}
