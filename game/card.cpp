// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/card.h"

#include <array>

namespace game {

std::string rankName(int rank)
{
    static constexpr std::array<const char *, 14> names = {
        "", "Ace", "2", "3", "4", "5", "6", "7", "8", "9", "10", "Jack", "Queen", "King"};
    return rank >= 1 && rank <= RanksPerSuit ? names[rank] : std::string();
}

std::string suitName(int suit)
{
    static constexpr std::array<const char *, 4> names = {"Hearts", "Spades", "Diamonds", "Clubs"};
    return suit >= 0 && suit <= 3 ? names[suit] : std::string();
}

std::string rankIndex(int rank)
{
    static constexpr std::array<const char *, 14> indices = {"",  "A", "2", "3",  "4", "5", "6",
                                                             "7", "8", "9", "10", "J", "Q", "K"};
    return rank >= 1 && rank <= RanksPerSuit ? indices[rank] : std::string();
}

std::string cardName(CardId id)
{
    if (!isCard(id))
        return {};
    return rankName(rankNumber(id)) + " of " + suitName(suitBlock(id));
}

} // namespace game
