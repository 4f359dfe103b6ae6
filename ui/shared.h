// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows share: the operations from outside and the high-score state.
#pragma once

#include "highscores/table.h"

namespace platform {
class Platform;
}

namespace ui {

// Owned by whoever runs the program (the application, or a test), and handed to Forms and to
// every window; none of them owns it.
struct Shared
{
    explicit Shared(platform::Platform &platformOps)
        : platform(platformOps)
    { }

    platform::Platform &platform;
    highscores::Module1 module1;
};

} // namespace ui
