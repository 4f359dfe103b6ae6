// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Sound cues through one PulseAudio stream, by the simple client library.
#pragma once

#include "ui/platform/soundplayer.h"
#include "ui/platform/wavedecoder.h"

#include <QString>

#include <pulse/sample.h>

#include <functional>
#include <memory>

namespace platform {

// What the sound server is told the samples are.
[[nodiscard]] pa_sample_spec serverFormatOf(const WaveFormat &format);

// Whether a sound server takes a playback stream, asked without a player: what the tests and
// the cue bench may expect of one depends on it.
[[nodiscard]] bool soundServerTakesAStream();

// Plays every cue through one audio stream, which opens at a cue, stays open while cues follow
// each other, and closes once it has been silent for `idleMs`, so that an idle game gives the
// sound server and itself nothing to do. A cue of another format than the one before reopens
// the stream, and so does the next cue after the server dropped it. Each file is read and
// decoded at its first cue and kept while its size and modification time stay the same, so a
// file added, removed or replaced while the game runs counts from the next cue on. With no
// sound server, or one that refuses the stream, the cues are silent; a cue a second later asks
// again.
//
// `play()` is called on one thread; it opens the stream and hands the cue over, and a writer
// thread of the player's own feeds the stream while it is open. The observers may be called
// from any thread.
class PulseSoundPlayer final : public SoundPlayer
{
public:
    // `alert` sounds instead of a missing or unplayable file; the desktop's beep by default.
    explicit PulseSoundPlayer(std::function<void()> alert = {}, int idleMs = 1000);
    // Stops the writer at once: a write still waiting for room in the server's buffer is let
    // through by emptying the stream.
    ~PulseSoundPlayer() override;
    PulseSoundPlayer(const PulseSoundPlayer &) = delete;
    PulseSoundPlayer &operator=(const PulseSoundPlayer &) = delete;

    void play(Cue cue) override;

    // What the tests and the cue bench observe: how many times a file has been read; the absolute
    // path of the file whose samples the stream still has to take or play (empty when silent);
    // how many times the stream has been opened, and whether it is open.
    [[nodiscard]] int loads() const;
    [[nodiscard]] QString playing() const;
    [[nodiscard]] int streamOpenings() const;
    [[nodiscard]] bool streamOpen() const;

private:
    struct Cues;
    std::unique_ptr<Cues> cues_;
};

} // namespace platform
