// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The wave files of the sound cues, read into samples an audio stream takes as they are. The
// files are the player's own: any bytes at all may stand in them.
#pragma once

#include <QByteArray>

#include <optional>

namespace platform {

// How the samples of a wave lie: little-endian, channels interleaved.
struct WaveFormat
{
    enum class Sample { UInt8, Int16, Int32, Float };
    Sample sample = Sample::Int16;
    int channels = 0;
    int rate = 0; // frames a second
    bool operator==(const WaveFormat &) const = default;
};

// The samples of a wave file, in a format an audio stream takes as it is.
struct WaveSamples
{
    WaveFormat format;
    QByteArray samples; // whole frames only
};

// Reads a RIFF wave of integer PCM (8, 16, 24 or 32 bits; 24 bits come out as 32) or 32-bit
// float, of one to eight channels at 1000 to 384000 frames a second. Nothing for any other
// encoding, and for a file cut short before the end of its samples. Any bytes at all are
// answered with samples or nothing: no value read from the file is trusted before it is checked.
[[nodiscard]] std::optional<WaveSamples> decodeWave(const QByteArray &bytes);

} // namespace platform
