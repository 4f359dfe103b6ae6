// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The card id shared by the whole program.
#pragma once

#include <cstdint>
#include <string>

namespace game {

// A card is 1..52; 0 means "no card" (an empty cell, an unused list entry).
// Ids 1-13 are Hearts, 14-26 Spades, 27-39 Diamonds, 40-52 Clubs, each block
// running Ace, 2, ..., 10, Jack, Queen, King.
using CardId = std::int16_t;

inline constexpr CardId NoCard = 0;
inline constexpr int DeckSize = 52;
inline constexpr int RanksPerSuit = 13;

[[nodiscard]] constexpr bool isCard(int id)
{
    return id >= 1 && id <= DeckSize;
}

// Suit block 0..3 of a card id 1..52.
[[nodiscard]] constexpr int suitBlock(CardId id)
{
    return (id - 1) / RanksPerSuit;
}

// Rank number 1..13 (1 Ace, 11 Jack, 12 Queen, 13 King) of a card id 1..52.
[[nodiscard]] constexpr int rankNumber(CardId id)
{
    return id - RanksPerSuit * suitBlock(id);
}

[[nodiscard]] constexpr CardId cardId(int suit, int rank)
{
    return static_cast<CardId>(RanksPerSuit * suit + rank);
}

// Index of the card's picture in the image store: id 1 is picture 0, id 52 picture 51.
[[nodiscard]] constexpr int pictureIndex(CardId id)
{
    return id - 1;
}

[[nodiscard]] constexpr bool isRed(int suit)
{
    return suit == 0 || suit == 2;
}

// "Ace", "7", "Queen" and "Hearts", "Spades", ... in English, for captions and screen readers.
[[nodiscard]] std::string rankName(int rank);
[[nodiscard]] std::string suitName(int suit);
// The corner index of a card face: "A", "2", ..., "10", "J", "Q", "K".
[[nodiscard]] std::string rankIndex(int rank);
// "Queen of Spades"; "" for NoCard.
[[nodiscard]] std::string cardName(CardId id);

} // namespace game
