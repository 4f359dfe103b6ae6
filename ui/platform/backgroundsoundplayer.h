// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Sound cues started on a thread of their own.
#pragma once

#include "ui/platform/soundplayer.h"

#include <functional>
#include <memory>

class QObject;
class QThread;

namespace platform {

// Hands every cue to a player that lives on a thread of its own, so that talking to the sound
// server (a round trip of about a millisecond a cue, far longer when the server is busy or
// stuck) never holds up the windows: starting a cue costs the caller a queued message. The
// cues keep their order, and a new cue still stops the one before. The thread and the player
// are made at the first cue, so a game starts without building any of the sound system.
class BackgroundSoundPlayer final : public SoundPlayer
{
public:
    // Makes the player on the sound thread; by default the sound module's player (loaded
    // there), whose alert for a missing file is sent back to the user-interface thread.
    using Factory = std::function<std::unique_ptr<SoundPlayer>()>;
    explicit BackgroundSoundPlayer(Factory factory = {});
    // Lets the sound thread finish its cues and stop; waits for it only a short while, so that
    // a stuck sound server cannot keep the program from ending.
    ~BackgroundSoundPlayer() override;
    BackgroundSoundPlayer(const BackgroundSoundPlayer &) = delete;
    BackgroundSoundPlayer &operator=(const BackgroundSoundPlayer &) = delete;

    void play(Cue cue) override;

private:
    void start();

    struct Worker;
    Factory factory_;
    QThread *thread_ = nullptr; // nullptr until the first cue
    Worker *worker_ = nullptr;  // lives on the sound thread and is deleted there
};

} // namespace platform
