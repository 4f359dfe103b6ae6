// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The three sound cues, by the bare file names looked up in the current directory.
#pragma once

namespace game {

inline constexpr const char *Tick1 = "tick1.wav";           // a shuffle frame, a counting step
inline constexpr const char *Tick2 = "tick2.wav";           // the opening card, a finished line
inline constexpr const char *HighScoreCue = "highscre.wav"; // a score enters the table

} // namespace game
