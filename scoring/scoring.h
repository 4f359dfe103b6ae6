// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Turning the full board into ten poker hands and their points, and the count-up that shows
// them. Plain C++: no Qt.
#pragma once

#include "game/board.h"
#include "game/cues.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace scoring {

// table[column][row], both 0..7; only 0..4 are used.
using Table8 = std::array<std::array<std::int16_t, 8>, 8>;
// One value per line, 0..7; only 0..4 are used.
using Line8 = std::array<std::int16_t, 8>;

// Hand points: both the score of a line and its category.
enum HandPoints : std::int16_t {
    Nothing = 0,
    OnePair = 1,
    TwoPair = 3,
    Flush = 5,
    ThreeOfAKind = 6,
    FullHouse = 10,
    Straight = 12,
    FourOfAKind = 16,
    StraightFlush = 30,
};

struct LegendEntry
{
    std::string_view caption;
    std::int16_t points;
};

// The scoring legend beside the board, best hand first.
inline constexpr std::array<LegendEntry, 8> legend = {{
    {"Straight Flush", StraightFlush},
    {"Four of a Kind", FourOfAKind},
    {"Straight", Straight},
    {"Full House", FullHouse},
    {"Three of a Kind", ThreeOfAKind},
    {"Flush", Flush},
    {"Two Pair", TwoPair},
    {"One Pair", OnePair},
}};

// Splits the 25 card ids of a full board into rank numbers (1 Ace .. 13 King) and suit
// blocks (0..3): cardvalues[c][r] and cardsuits[c][r] describe cardgrid[c + 1][r + 1].
void landvalues(const game::CardGrid &cardgrid, Table8 &cardvalues, Table8 &cardsuits);

// Sorts positions 1..5 of a hand ascending (Shell sort, gaps 2 then 1).
void sortHand(std::array<std::int16_t, 8> &hand);

// The points of one line. sortedRanks: positions 1..5 ascending; suits: the line's five suit
// blocks in board order (left to right, or top to bottom).
[[nodiscard]] std::int16_t handPoints(const std::array<std::int16_t, 8> &sortedRanks,
                                      const std::array<std::int16_t, 5> &suits);

// Scores the five rows (top to bottom) and the five columns (left to right).
void checkhands(const Table8 &cardvalues, const Table8 &cardsuits, Line8 &rowscores,
                Line8 &colscores);

// What the count-up shows and plays, step by step.
class TallyDisplay
{
public:
    virtual ~TallyDisplay() = default;
    virtual void showRowPoints(int row, std::int16_t value) = 0;
    virtual void showColumnPoints(int column, std::int16_t value) = 0;
    virtual void showTotal(std::int16_t value) = 0;
    virtual void playCue(game::Cue cue) = 0;
    // Waits ms milliseconds. Returns false when the program is ending: the count-up then stops.
    virtual bool wait(int ms) = 0;
};

inline constexpr int CountStepMs = 30;
inline constexpr int LinePauseMs = 100;

// Counts each row's points up from 0 on its label, then each column's, then the total, with a
// tick per step and a knock after each line. Returns the game total, or nothing when a wait
// reported that the program is ending.
[[nodiscard]] std::optional<std::int16_t> countUp(const Line8 &rowscores, const Line8 &colscores,
                                                  TallyDisplay &display);

} // namespace scoring
