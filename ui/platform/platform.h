// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Everything from outside the program, handed in as one bundle: the real operations in the
// game, fakes in the tests.
#pragma once

#include "ui/platform/eventpump.h"
#include "ui/platform/pacedwait.h"
#include "ui/platform/randomsource.h"
#include "ui/platform/soundplayer.h"
#include "ui/platform/tickcounter.h"
#include "ui/platform/windowsystem.h"

namespace platform {

class Platform
{
public:
    Platform(TickCounter &tickCounter, EventPump &eventPump, RandomSource &randomSource,
             SoundPlayer &soundPlayer, WindowSystem &windowSystem)
        : random(randomSource)
        , sound(soundPlayer)
        , windows(windowSystem)
        , pacer(tickCounter, eventPump)
    { }

    RandomSource &random;
    SoundPlayer &sound;
    WindowSystem &windows;
    PacedWait pacer;
};

} // namespace platform
