// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a finished game enters the high-score table, and the name that goes with it.
#pragma once

#include "highscores/table.h"

#include <QString>

namespace highscores {

// Where the search for the table's lowest entry starts: an entry of this score or more is never
// the lowest.
inline constexpr std::int16_t LowestSearchStart = 10000;

// The game's total enters the table when it is strictly greater than the lowest entry below
// LowestSearchStart (the first of equal lowest ones): the total replaces that entry's score at
// once, lowestslot names it, and the name stays the old one until one is accepted. Returns
// whether it entered.
bool admitScore(Module1 &module1);

// Stores an accepted name, as typed, in the slot the last qualifying game replaced.
void acceptName(Module1 &module1, const QString &typed);

// What the name box lets through: characters the file can hold and read back unchanged, that
// is Latin-1 without the double quote and line breaks.
[[nodiscard]] QString storableName(const QString &typed);

} // namespace highscores
