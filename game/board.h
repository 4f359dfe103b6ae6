// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The 5 x 5 board and the rule that decides where the offered card may go.
#pragma once

#include "game/card.h"

#include <array>
#include <cstdint>

namespace game {

inline constexpr int BoardSide = 5;
inline constexpr int CellCount = BoardSide * BoardSide;

// cardgrid[column][row], both 0..7. The playing cells are columns and rows 1..5; every other
// entry stays 0, an empty frame that lets the neighbour test of an edge cell read "empty".
using CardGrid = std::array<std::array<CardId, 8>, 8>;

// Cell colours as 0x00BBGGRR values.
inline constexpr std::uint32_t NormalCellColour = 0x00008000; // dark green
inline constexpr std::uint32_t AcceptCellColour = 0x0000FF00; // bright green
inline constexpr std::uint32_t RefuseCellColour = 0x00000080; // dark red

// Row 0..4 of cell index 0..24, counted from the top.
[[nodiscard]] constexpr int cellRow(int cell)
{
    if (cell <= 4)
        return 0;
    if (cell <= 9)
        return 1;
    if (cell <= 14)
        return 2;
    if (cell <= 19)
        return 3;
    return 4;
}

// Column 0..4 of cell index 0..24, counted from the left.
[[nodiscard]] constexpr int cellColumn(int cell)
{
    return cell - BoardSide * cellRow(cell);
}

// Cell index 0..24 of row and column 0..4: the cells run row by row from the top left.
[[nodiscard]] constexpr int cellIndex(int row, int column)
{
    return row * BoardSide + column;
}

// Whether row and column both lie on the board.
[[nodiscard]] constexpr bool onBoard(int row, int column)
{
    return row >= 0 && row < BoardSide && column >= 0 && column < BoardSide;
}

class Board
{
public:
    CardGrid cardgrid {};

    [[nodiscard]] CardId card(int cell) const
    {
        return cardgrid[cellColumn(cell) + 1][cellRow(cell) + 1];
    }
    void put(int cell, CardId id) { cardgrid[cellColumn(cell) + 1][cellRow(cell) + 1] = id; }

    [[nodiscard]] bool occupied(int cell) const { return card(cell) != NoCard; }

    // True when the cell is empty and at least one of its eight neighbours holds a card.
    [[nodiscard]] bool accepts(int cell) const;

    // The colour a cell takes while the pointer is over it.
    [[nodiscard]] std::uint32_t hoverColour(int cell) const;

    // Empties every entry whose two indexes lie in 0..5.
    void clear();
};

} // namespace game
