// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the cards of one game without repetition, and the opening shuffle's pictures.
#pragma once

#include "game/board.h"
#include "game/card.h"

#include <array>
#include <cstdint>
#include <functional>

namespace game {

// Draws a value u with 0 <= u < 1 from the program's random source.
using UniformDraw = std::function<double()>;

inline constexpr int CardsPerGame = CellCount; // one for each cell
inline constexpr int ShuffleFrames = 26;
inline constexpr int ShuffleFrameMs = 30;

// The cards dealt in the current game.
struct Dealing
{
    std::array<CardId, 61> dealtcards {}; // dealing order at 0..dealtcount-1, the rest 0
    std::int16_t dealtcount = 0;          // 0..25
    CardId offeredcard = NoCard; // the card drawn last: shown beside the board, placed next
    bool alreadydealt = false;   // scratch flag of the draw

    // Back to no card dealt.
    void clear();
};

// Card id 1..52 for a draw u in [0, 1), each with equal chance.
[[nodiscard]] constexpr CardId cardForDraw(double u)
{
    return static_cast<CardId>(int(u * DeckSize) + 1);
}

// Picture index 0..50 shown by one frame of the opening shuffle. The last picture (King of
// Clubs) never appears in the shuffle, although that card is dealt like any other.
[[nodiscard]] constexpr int shufflePictureForDraw(double u)
{
    return int(u * (DeckSize - 1));
}

// Draws until a card comes up that this game has not dealt yet, records it and makes it the
// offered card. Precondition: fewer than 25 cards dealt, so a new card always exists.
void deal(Dealing &dealing, const UniformDraw &draw);

} // namespace game
