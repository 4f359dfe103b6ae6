// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a sound cue.
#pragma once

namespace platform {

class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Starts the wave file with this bare name, looked up in the current directory, and
    // returns at once. A cue still playing stops. A missing or unplayable file gives the
    // desktop's alert sound, or silence; nothing is ever reported.
    virtual void play(const char *fileName) = 0;
};

} // namespace platform
