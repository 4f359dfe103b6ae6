// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/board.h"

namespace game {

bool Board::accepts(int cell) const
{
    const int x = cellColumn(cell) + 1;
    const int y = cellRow(cell) + 1;
    if (cardgrid[x][y] != NoCard)
        return false;
    return cardgrid[x + 1][y] != NoCard || cardgrid[x - 1][y] != NoCard
        || cardgrid[x][y - 1] != NoCard || cardgrid[x][y + 1] != NoCard
        || cardgrid[x + 1][y + 1] != NoCard || cardgrid[x - 1][y - 1] != NoCard
        || cardgrid[x + 1][y - 1] != NoCard || cardgrid[x - 1][y + 1] != NoCard;
}

std::uint32_t Board::hoverColour(int cell) const
{
    if (occupied(cell))
        return RefuseCellColour;
    return accepts(cell) ? AcceptCellColour : RefuseCellColour;
}

void Board::clear()
{
    for (int x = 0; x <= BoardSide; ++x) {
        for (int y = 0; y <= BoardSide; ++y)
            cardgrid[x][y] = NoCard;
    }
}

} // namespace game
