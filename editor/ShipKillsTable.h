#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include <QRect>

#include "FieldTable.h"

// The " Ship Kills " grid as data: one row per kill counter, in the record's order. The
// group builds its 70 edits and labels from this table alone.

namespace editor {

struct ShipKillCounter {
    std::size_t index;       // ShipKills[index], edited by Edit<9 + index>
    std::string_view label;  // as the form stores it: "&&" shows as one ampersand
    int column;              // 1..4
    int row;                 // 1..18
};

inline constexpr std::array<ShipKillCounter, pilot::kShipKillCounters> kShipKillsTable = {{
    {0, "X-W", 1, 1},    {1, "Y-W", 1, 2},    {2, "A-W", 1, 3},     {3, "B-W", 1, 4},
    {4, "T/F", 1, 5},    {5, "T/I", 1, 6},    {6, "T/B", 1, 7},     {7, "T/A", 1, 8},
    {8, "T/D", 1, 9},    {9, "New1", 1, 10},  {10, "New2", 1, 11},  {11, "MIS", 1, 12},
    {12, "T-W", 1, 13},  {13, "Z-95", 1, 14}, {14, "R-41", 1, 15},  {15, "GUN", 1, 16},
    {16, "SHU", 1, 17},  {17, "E/S", 1, 18},  {18, "SPC", 2, 1},    {19, "SCT", 2, 2},
    {20, "TRN", 2, 3},   {21, "ATR", 2, 4},   {22, "ETR", 2, 5},    {23, "TUG", 2, 6},
    {24, "CUV", 2, 7},   {25, "CN/A", 2, 8},  {26, "CN/B", 2, 9},   {27, "CN/C", 2, 10},
    {28, "CN/D", 2, 11}, {29, "HLF", 2, 12},  {30, "BulkB", 2, 13}, {31, "FRT", 2, 14},
    {32, "CAR", 2, 15},  {33, "CNV", 2, 16},  {34, "CTR", 2, 17},   {35, "New3", 2, 18},
    {36, "MUTR", 4, 13}, {37, "CORT", 4, 14}, {38, "Millen", 3, 1}, {39, "CRV", 3, 2},
    {40, "MCRV", 3, 3},  {41, "FRG", 3, 4},   {42, "MFR", 3, 5},    {43, "LINE", 3, 6},
    {44, "CRK", 3, 7},   {45, "STRK", 3, 8},  {46, "ESC", 3, 9},    {47, "DRE", 3, 10},
    {48, "CRS", 3, 11},  {49, "CRL", 3, 12},  {50, "INT", 3, 13},   {51, "VSD", 3, 14},
    {52, "ISD", 3, 15},  {53, "SSD", 3, 16},  {54, "CN/E", 3, 17},  {55, "CN/F", 3, 18},
    {56, "CN/G", 4, 15}, {57, "CN/H", 4, 16}, {58, "CN/I", 4, 1},   {59, "PLT1", 4, 2},
    {60, "PLT2", 4, 3},  {61, "PLT3", 4, 4},  {62, "PLT4", 4, 5},   {63, "PLT5", 4, 6},
    {64, "PLT6", 4, 7},  {65, "R&&D", 4, 8},  {66, "LASB", 4, 9},   {67, "WLN", 4, 10},
    {68, "FAC1", 4, 11}, {69, "Unkn", 4, 12},
}};

inline constexpr int kFirstCounterEdit = 9;  // Edit9 edits ShipKills[0]
inline constexpr std::array<int, 4> kRowsPerColumn = {18, 18, 18, 16};

// Grid geometry in the group's coordinates.
inline constexpr std::array<int, 4> kEditColumnX = {23, 76, 130, 183};
inline constexpr std::array<int, 4> kLabelColumnX = {2, 52, 106, 158};
inline constexpr int kFirstRowY = 12;
inline constexpr int kRowPitch = 20;
inline constexpr int kEditWidth = 28;
inline constexpr int kEditHeight = 20;

[[nodiscard]] constexpr QRect counterEditRect(const ShipKillCounter& counter) {
    return {kEditColumnX[counter.column - 1], kFirstRowY + kRowPitch * (counter.row - 1),
            kEditWidth, kEditHeight};
}

// The label fills the gap left of its edit, on the same line.
[[nodiscard]] constexpr QRect counterLabelRect(const ShipKillCounter& counter) {
    const int x = kLabelColumnX[counter.column - 1];
    return {x, kFirstRowY + kRowPitch * (counter.row - 1), kEditColumnX[counter.column - 1] - x,
            kEditHeight};
}

// Counter indices in tab order: down column 1, then down columns 2, 3 and 4.
[[nodiscard]] constexpr std::array<std::size_t, pilot::kShipKillCounters> counterTabOrder() {
    std::array<std::size_t, pilot::kShipKillCounters> order{};
    std::size_t next = 0;
    for (int column = 1; column <= 4; ++column) {
        for (int row = 1; row <= kRowsPerColumn[column - 1]; ++row) {
            for (const ShipKillCounter& counter : kShipKillsTable) {
                if (counter.column == column && counter.row == row &&
                    next < pilot::kShipKillCounters) {
                    order[next++] = counter.index;
                }
            }
        }
    }
    return order;
}

namespace detail {
// Every row sits at its own index and every cell of the four columns holds exactly one
// counter.
[[nodiscard]] constexpr bool shipKillsTableIsSound() {
    for (std::size_t i = 0; i < kShipKillsTable.size(); ++i) {
        const ShipKillCounter& counter = kShipKillsTable[i];
        if (counter.index != i || counter.column < 1 || counter.column > 4 || counter.row < 1 ||
            counter.row > kRowsPerColumn[counter.column - 1]) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (kShipKillsTable[j].column == counter.column &&
                kShipKillsTable[j].row == counter.row) {
                return false;
            }
        }
    }
    int cells = 0;
    for (const int rows : kRowsPerColumn) {
        cells += rows;
    }
    return cells == static_cast<int>(kShipKillsTable.size());
}
}  // namespace detail

static_assert(detail::shipKillsTableIsSound());

}  // namespace editor
