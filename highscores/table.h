// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The ten best totals and their players' names, as the whole program shares them.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace highscores {

inline constexpr int Slots = 10;         // the list is slots 1..10
inline constexpr int MaxNameLength = 10; // what the name box takes
inline const QString DefaultName = QStringLiteral("Mossgrovity");

// Two parallel arrays, slots 1..10 used; slot k of both is entry k. Slots 0, 11 and 12 exist
// but nothing reads or writes them. A name and its score always move together.
struct HighScoreTable
{
    std::array<QString, 13> hsnames {};
    std::array<std::int16_t, 13> hsscores {};

    friend bool operator==(const HighScoreTable &, const HighScoreTable &) = default;
};

// Program-wide state shared by the windows.
struct Module1
{
    HighScoreTable table;
    std::int16_t gamescore = -1; // the finished game's total, -1 when none is pending
    std::int16_t lowestslot = 0; // the slot a qualifying total replaces, 0 when none
    QString enteredname;         // the name last accepted
};

// Every slot gets the default name and the score 0. The file is not touched.
void resethighscores(HighScoreTable &table);

// Sorts slots 1..10 by descending score, in place: Shell sort with gaps 5, 2, 1. The exact
// procedure matters: it fixes the order in which equal scores come out.
void sortHighScores(HighScoreTable &table);

} // namespace highscores
