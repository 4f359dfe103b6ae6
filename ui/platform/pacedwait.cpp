// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/pacedwait.h"

namespace platform {

bool PacedWait::wait(std::uint32_t ms)
{
    const std::uint32_t t0 = ticks_.now();
    std::uint32_t elapsed = 0;
    do {
        if (stopped_)
            return false;
        pump_.dispatch(ms - elapsed);
        elapsed = ticks_.now() - t0; // unsigned arithmetic: the difference modulo 2^32
    } while (elapsed < ms);
    return !stopped_;
}

} // namespace platform
