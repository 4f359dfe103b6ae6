// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a sound cue.
#pragma once

#include "game/cues.h"

namespace platform {

using game::Cue;

// The wave file that sounds for a cue: a bare name, looked up in the current directory.
[[nodiscard]] constexpr const char *fileNameOf(Cue cue)
{
    switch (cue) {
    case Cue::ShuffleFrame:
    case Cue::CountStep:
        return "tick1.wav";
    case Cue::OpeningCard:
    case Cue::CountDone:
        return "tick2.wav";
    case Cue::HighScore:
        break;
    }
    return "highscre.wav";
}

class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Starts the cue's wave file (fileNameOf) and returns at once. A cue still playing stops.
    // A missing or unplayable file gives the desktop's alert sound, or silence; nothing is
    // ever reported.
    virtual void play(Cue cue) = 0;
};

} // namespace platform
