// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Sound cues through Qt Multimedia.
#pragma once

#include "soundplayer.h"

#include <functional>
#include <memory>

class QSoundEffect;

namespace platform {

// Keeps one loaded sound per file and reuses it while the file's size and modification time
// stay the same, so a file added, removed or replaced while the game runs counts from the
// next cue on. A file is read whole at its first cue; Qt then decodes it in the background,
// and a cue whose sound is still loading starts when it is ready, unless a newer cue has come
// first.
class QtSoundPlayer final : public SoundPlayer
{
public:
    // `alert` sounds instead of a missing or unplayable file; the desktop's beep by default.
    explicit QtSoundPlayer(std::function<void()> alert = {});
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer &) = delete;
    QtSoundPlayer &operator=(const QtSoundPlayer &) = delete;

    void play(const char *fileName) override;

    // For tests: how many times a file has been read, and the sound kept for this file in the
    // current directory (nullptr when there is none or the file is no whole wave file).
    [[nodiscard]] int loads() const;
    [[nodiscard]] const QSoundEffect *soundFor(const char *fileName) const;

private:
    struct Cues;
    std::unique_ptr<Cues> cues_;
};

} // namespace platform
