// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/wavedecoder.h"

#include <QtEndian>

namespace platform {

namespace {

// Wave format tags.
constexpr int IntegerPcm = 1;
constexpr int FloatPcm = 3;
constexpr int Extensible = 0xfffe;

// The layout of one sample in the file and in the stream; nothing for an encoding not taken.
[[nodiscard]] std::optional<WaveFormat::Sample> sampleOf(int tag, int bits)
{
    if (tag == IntegerPcm && bits == 8)
        return WaveFormat::Sample::UInt8;
    if (tag == IntegerPcm && bits == 16)
        return WaveFormat::Sample::Int16;
    if (tag == IntegerPcm && (bits == 24 || bits == 32))
        return WaveFormat::Sample::Int32;
    if (tag == FloatPcm && bits == 32)
        return WaveFormat::Sample::Float;
    return {};
}

[[nodiscard]] std::optional<WaveSamples> samplesOf(int tag, int channels, quint32 rate, int bits,
                                                   int blockAlign, QByteArrayView data)
{
    // The encoding is checked before the frame size taken from the file is used: a format
    // chunk may say anything, zero bytes a frame too.
    const std::optional<WaveFormat::Sample> sample = sampleOf(tag, bits);
    if (!sample || channels < 1 || channels > 8 || rate < 1000 || rate > 384000
        || blockAlign != channels * (bits / 8))
        return {};
    WaveSamples wave;
    wave.format = {*sample, channels, int(rate)};
    data = data.first(data.size() - data.size() % blockAlign);
    if (bits == 24) {
        // Each sample goes to the top three bytes of a 32-bit one.
        wave.samples.resize(data.size() / 3 * 4);
        char *out = wave.samples.data();
        for (qsizetype at = 0; at < data.size(); at += 3, out += 4) {
            const quint32 value = quint32(quint8(data[at])) << 8
                | quint32(quint8(data[at + 1])) << 16 | quint32(quint8(data[at + 2])) << 24;
            qToLittleEndian(value, out);
        }
        return wave;
    }
    wave.samples = data.toByteArray();
    return wave;
}

} // namespace

std::optional<WaveSamples> decodeWave(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    int tag = 0;
    int channels = 0;
    quint32 rate = 0;
    int blockAlign = 0;
    int bits = 0;
    bool format = false;
    for (qint64 at = 12; at + 8 <= bytes.size();) {
        const char *chunk = bytes.constData() + at;
        const qint64 size = qFromLittleEndian<quint32>(chunk + 4);
        if (at + 8 + size > bytes.size())
            return {};
        const QByteArrayView id(chunk, 4);
        if (id == "data") {
            if (!format)
                return {};
            return samplesOf(tag, channels, rate, bits, blockAlign, {chunk + 8, size});
        }
        if (id == "fmt " && size >= 16) {
            tag = qFromLittleEndian<quint16>(chunk + 8);
            channels = qFromLittleEndian<quint16>(chunk + 10);
            rate = qFromLittleEndian<quint32>(chunk + 12);
            blockAlign = qFromLittleEndian<quint16>(chunk + 20);
            bits = qFromLittleEndian<quint16>(chunk + 22);
            if (tag == Extensible && size >= 40)
                tag = qFromLittleEndian<quint16>(chunk + 8 + 24); // the sub-format's tag
            format = true;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

} // namespace platform
