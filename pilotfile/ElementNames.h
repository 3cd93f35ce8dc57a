#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "FieldPath.h"
#include "FieldTable.h"

// The record's elements named as a player reads them in the editor window: "Total score",
// "Battle 4, mission 3: score", "Kills of T/F". The comparison, the merge, the checks and
// the command line all name an element this way, beside its record name
// ("BattleMissionScore[3][2]").
namespace pilot {

// The craft label shown beside each kill counter, in the record's order ("T/F" for
// ShipKills[4]).
inline constexpr std::array<std::string_view, kShipKillCounters> kShipKillLabels = {
    "X-W",   "Y-W",  "A-W",  "B-W",  "T/F",  "T/I",  "T/B",  "T/A",  "T/D",    "New1",
    "New2",  "MIS",  "T-W",  "Z-95", "R-41", "GUN",  "SHU",  "E/S",  "SPC",    "SCT",
    "TRN",   "ATR",  "ETR",  "TUG",  "CUV",  "CN/A", "CN/B", "CN/C", "CN/D",   "HLF",
    "BulkB", "FRT",  "CAR",  "CNV",  "CTR",  "New3", "MUTR", "CORT", "Millen", "CRV",
    "MCRV",  "FRG",  "MFR",  "LINE", "CRK",  "STRK", "ESC",  "DRE",  "CRS",    "CRL",
    "INT",   "VSD",  "ISD",  "SSD",  "CN/E", "CN/F", "CN/G", "CN/H", "CN/I",   "PLT1",
    "PLT2",  "PLT3", "PLT4", "PLT5", "PLT6", "R&D",  "LASB", "WLN",  "FAC1",   "Unkn"};

// What a field holds, in a few words, without indices: "Total score", "Laser hits",
// "Mission score", "Reserved bytes 11 to 41".
[[nodiscard]] std::string fieldTitle(Field field);

// One element: "Rank", "Training, TIE Bomber: highest level", "Combat chamber, TIE Bomber,
// mission 3: completed", "Battle 4: status", "Battle 4, mission 3: score", "Kills of T/F";
// a goal byte as a whole is "Battle 4: secondary goals", and an element of a reserved
// stretch is "Reserved byte 12" (its offset in the record).
[[nodiscard]] std::string elementTitle(const ElementPath& path);
// The same title appended to `text`, for messages built after every edit.
void appendElementTitle(std::string& text, const ElementPath& path);

// One bit of a goal byte: bit m of BattleSecondaryGoals[b] is "Battle b+1, mission m+1:
// secondary goal".
[[nodiscard]] std::string goalBitTitle(const ElementPath& path, unsigned bit);

}  // namespace pilot
