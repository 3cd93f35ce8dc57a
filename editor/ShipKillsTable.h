#pragma once

#include <array>
#include <cstddef>

#include <QRect>

#include "FieldTable.h"

// The " Ship Kills " grid as data: one row per kill counter, in the record's order. The
// group builds its 70 edits and labels from this table alone.

namespace editor {

struct ShipKillCounter {
    std::size_t index;  // ShipKills[index], edited by Edit<9 + index>; its label is
                        // pilot::kShipKillLabels[index]
    int column;         // 1..4
    int row;            // 1..18
};

inline constexpr std::array<ShipKillCounter, pilot::kShipKillCounters> kShipKillsTable = {{
    {0, 1, 1},   {1, 1, 2},   {2, 1, 3},   {3, 1, 4},   {4, 1, 5},   {5, 1, 6},   {6, 1, 7},
    {7, 1, 8},   {8, 1, 9},   {9, 1, 10},  {10, 1, 11}, {11, 1, 12}, {12, 1, 13}, {13, 1, 14},
    {14, 1, 15}, {15, 1, 16}, {16, 1, 17}, {17, 1, 18}, {18, 2, 1},  {19, 2, 2},  {20, 2, 3},
    {21, 2, 4},  {22, 2, 5},  {23, 2, 6},  {24, 2, 7},  {25, 2, 8},  {26, 2, 9},  {27, 2, 10},
    {28, 2, 11}, {29, 2, 12}, {30, 2, 13}, {31, 2, 14}, {32, 2, 15}, {33, 2, 16}, {34, 2, 17},
    {35, 2, 18}, {36, 4, 13}, {37, 4, 14}, {38, 3, 1},  {39, 3, 2},  {40, 3, 3},  {41, 3, 4},
    {42, 3, 5},  {43, 3, 6},  {44, 3, 7},  {45, 3, 8},  {46, 3, 9},  {47, 3, 10}, {48, 3, 11},
    {49, 3, 12}, {50, 3, 13}, {51, 3, 14}, {52, 3, 15}, {53, 3, 16}, {54, 3, 17}, {55, 3, 18},
    {56, 4, 15}, {57, 4, 16}, {58, 4, 1},  {59, 4, 2},  {60, 4, 3},  {61, 4, 4},  {62, 4, 5},
    {63, 4, 6},  {64, 4, 7},  {65, 4, 8},  {66, 4, 9},  {67, 4, 10}, {68, 4, 11}, {69, 4, 12},
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
