// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the wave decoder of the sound cues, as a player's tick1.wav may
// hold them. Whatever the input, the decoder returns nothing or samples an audio stream takes:
// a format the stream knows and whole frames, no more than the file could have held.
#include "ui/platform/wavedecoder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

int bytesPerSample(platform::WaveFormat::Sample sample)
{
    return sample == platform::WaveFormat::Sample::UInt8 ? 1
        : sample == platform::WaveFormat::Sample::Int16  ? 2
                                                         : 4;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<platform::WaveSamples> wave = platform::decodeWave(bytes);
    if (!wave)
        return 0;
    check(wave->format.channels >= 1 && wave->format.channels <= 8, "one to eight channels");
    check(wave->format.rate >= 1000 && wave->format.rate <= 384000, "a rate a stream takes");
    const qsizetype frame = wave->format.channels * bytesPerSample(wave->format.sample);
    check(wave->samples.size() % frame == 0, "whole frames only");
    // 24-bit samples grow by a third on their way to 32 bits; nothing else grows.
    check(wave->samples.size() <= bytes.size() / 3 * 4, "no more samples than the file held");
    return 0;
}
