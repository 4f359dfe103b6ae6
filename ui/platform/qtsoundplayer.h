// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Sound cues through one Qt Multimedia audio stream.
#pragma once

#include "ui/platform/soundplayer.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace platform {

// The samples of a wave file, in a format an audio stream takes as it is.
struct WaveSamples
{
    QAudioFormat format;
    QByteArray samples; // whole frames only
};

// Reads a RIFF wave of integer PCM (8, 16, 24 or 32 bits; 24 bits come out as 32) or 32-bit
// float, of one to eight channels at any rate. Nothing for any other encoding, and for a file
// cut short before the end of its samples.
[[nodiscard]] std::optional<WaveSamples> decodeWave(const QByteArray &bytes);

// Plays every cue through one audio stream, which opens at a cue, stays open while cues follow
// each other, and closes once it has been silent for `idleMs`, so that an idle game gives the
// sound server and itself nothing to do. A cue of another format than the one before reopens
// the stream. Each file is read and decoded at its first cue and kept while its size and
// modification time stay the same, so a file added, removed or replaced while the game runs
// counts from the next cue on. With no sound output the cues are silent.
class QtSoundPlayer final : public SoundPlayer
{
public:
    // `alert` sounds instead of a missing or unplayable file; the desktop's beep by default.
    explicit QtSoundPlayer(std::function<void()> alert = {}, int idleMs = 1000);
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer &) = delete;
    QtSoundPlayer &operator=(const QtSoundPlayer &) = delete;

    void play(Cue cue) override;

    // What the tests and the cue bench observe: how many times a file has been read; the absolute
    // path of the file whose samples the stream still has to play (empty when silent); how many
    // times the stream has been opened, and whether it is open.
    [[nodiscard]] int loads() const;
    [[nodiscard]] QString playing() const;
    [[nodiscard]] int streamOpenings() const;
    [[nodiscard]] bool streamOpen() const;

private:
    struct Cues;
    std::unique_ptr<Cues> cues_;
};

} // namespace platform
