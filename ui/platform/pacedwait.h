// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting a number of milliseconds while the windows stay responsive.
#pragma once

#include "ui/platform/eventpump.h"
#include "ui/platform/tickcounter.h"

#include <cstdint>

namespace platform {

// Reads the tick counter as t0, then reads it again and dispatches pending events, at least
// once, until (latest - t0) mod 2^32 >= ms. So a wait lasts its full time also when the
// counter wraps during it. Between dispatches it blocks in the event loop; it never spins.
class PacedWait
{
public:
    PacedWait(TickCounter &ticks, EventPump &pump)
        : ticks_(ticks)
        , pump_(pump)
    { }

    // Returns false when the program is ending: the wait then returns at once, and every
    // later wait too, so the caller can stop what it is doing.
    bool wait(std::uint32_t ms);

    // Makes every running and future wait return at once. Used when the program ends.
    void stop() { stopped_ = true; }

private:
    TickCounter &ticks_;
    EventPump &pump_;
    bool stopped_ = false;
};

} // namespace platform
