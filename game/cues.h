// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The moments of the game that a sound marks.
#pragma once

namespace game {

enum class Cue : unsigned char {
    ShuffleFrame, // a picture of the opening shuffle
    OpeningCard,  // the opening card lands in the top left cell
    CountStep,    // a line's or the total's count goes up by one
    CountDone,    // a line's or the total's count has reached its points
    HighScore,    // a total enters the high scores
};

} // namespace game
