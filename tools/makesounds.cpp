// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the game's three cue sounds into a directory: tick1.wav (a short click), tick2.wav (a
// lower wooden knock) and highscre.wav (a rising major arpeggio). Every sample comes from the
// code below with a fixed noise seed, so two runs write the same bytes.
//
// Usage: quintagrid_makesounds <directory>
#include "ui/platform/soundplayer.h"

#include <QByteArray>
#include <QDir>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int Rate = 44100;     // samples per second, mono
constexpr double PeakDb = -3.5; // loudest sample, in dB of full scale
constexpr double TwoPi = 2.0 * std::numbers::pi;

using Samples = std::vector<double>;

[[nodiscard]] Samples silence(double seconds)
{
    return Samples(static_cast<std::size_t>(std::lround(seconds * Rate)), 0.0);
}

[[nodiscard]] double timeOf(std::size_t i)
{
    return static_cast<double>(i) / Rate;
}

// White noise in [-1, 1) from a 32-bit xorshift generator: the same on every platform.
class Noise
{
public:
    explicit Noise(std::uint32_t seed)
        : state_(seed)
    { }
    double next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state_;
};

// A two-pole band-pass filter with unit gain at its centre frequency.
class BandPass
{
public:
    BandPass(double centreHz, double q)
    {
        const double w = TwoPi * centreHz / Rate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0_ = alpha / a0;
        a1_ = -2.0 * std::cos(w) / a0;
        a2_ = (1.0 - alpha) / a0;
    }
    double operator()(double x)
    {
        const double y = b0_ * (x - x2_) - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Adds a sine that starts at `start` seconds and dies away with time constant `decay` seconds.
void addDampedSine(Samples &out, double start, double hz, double amplitude, double decay)
{
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i) - start;
        if (t >= 0)
            out[i] += amplitude * std::exp(-t / decay) * std::sin(TwoPi * hz * t);
    }
}

// Half a cosine from 0 to 1 over `seconds` at the start and from 1 to 0 at the end, so the
// sound starts and stops at zero with no step the ear hears as a click.
void fade(Samples &out, double inSeconds, double outSeconds)
{
    const auto ramp = [](double x) { return 0.5 - 0.5 * std::cos(std::numbers::pi * x); };
    const std::size_t n = out.size();
    const auto fadeIn = static_cast<std::size_t>(inSeconds * Rate);
    const auto fadeOut = static_cast<std::size_t>(outSeconds * Rate);
    for (std::size_t i = 0; i < fadeIn && i < n; ++i)
        out[i] *= ramp(static_cast<double>(i) / static_cast<double>(fadeIn));
    for (std::size_t i = 0; i < fadeOut && i < n; ++i)
        out[n - 1 - i] *= ramp(static_cast<double>(i) / static_cast<double>(fadeOut));
}

// Scales the loudest sample to PeakDb.
void normalise(Samples &out)
{
    double peak = 0;
    for (const double s : out)
        peak = std::max(peak, std::abs(s));
    if (peak == 0)
        return;
    const double gain = std::pow(10.0, PeakDb / 20.0) / peak;
    for (double &s : out)
        s *= gain;
}

// 15 ms: a burst of noise rung through a bright band-pass, like a card snapping down.
[[nodiscard]] Samples tick1()
{
    Samples out = silence(0.015);
    Noise noise(0x5eed0001u);
    BandPass body(3200.0, 3.0);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = body(noise.next() * std::exp(-timeOf(i) / 0.0012));
    addDampedSine(out, 0.0, 2300.0, 0.15, 0.003);
    fade(out, 0.0004, 0.004);
    normalise(out);
    return out;
}

// 75 ms: three inharmonic modes of a small block of hard wood with a soft thump of noise.
[[nodiscard]] Samples tick2()
{
    Samples out = silence(0.075);
    addDampedSine(out, 0.0, 430.0, 1.0, 0.016);
    addDampedSine(out, 0.0, 1110.0, 0.45, 0.008);
    addDampedSine(out, 0.0, 1890.0, 0.2, 0.004);
    Noise noise(0x5eed0002u);
    BandPass thump(900.0, 1.5);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] += 0.6 * thump(noise.next() * std::exp(-timeOf(i) / 0.0015));
    fade(out, 0.001, 0.015);
    normalise(out);
    return out;
}

// 0.9 s: C, E and G rising, each a soft bell-like tone whose upper partials die first.
[[nodiscard]] Samples highScore()
{
    struct Note
    {
        double start, hz;
    };
    constexpr Note notes[] = {{0.0, 523.25}, {0.14, 659.26}, {0.28, 783.99}};
    constexpr double attack = 0.018;
    Samples out = silence(0.9);
    for (const Note &note : notes) {
        for (std::size_t i = 0; i < out.size(); ++i) {
            const double t = timeOf(i) - note.start;
            if (t < 0)
                continue;
            const double rise = t < attack ? std::sin(0.5 * std::numbers::pi * t / attack) : 1.0;
            const double tone = std::exp(-t / 0.28) * std::sin(TwoPi * note.hz * t)
                + 0.25 * std::exp(-t / 0.12) * std::sin(TwoPi * 2 * note.hz * t)
                + 0.08 * std::exp(-t / 0.06) * std::sin(TwoPi * 3 * note.hz * t);
            out[i] += rise * tone;
        }
    }
    fade(out, 0.002, 0.12);
    normalise(out);
    return out;
}

void putLittleEndian(QByteArray &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A RIFF wave file: one "fmt " chunk for 16-bit mono PCM, one "data" chunk.
[[nodiscard]] QByteArray waveFile(const Samples &samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray out;
    out.append("RIFF");
    putLittleEndian(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    putLittleEndian(out, 16, 4);       // size of the format chunk
    putLittleEndian(out, 1, 2);        // PCM
    putLittleEndian(out, 1, 2);        // channels
    putLittleEndian(out, Rate, 4);     // frames per second
    putLittleEndian(out, Rate * 2, 4); // bytes per second
    putLittleEndian(out, 2, 2);        // bytes per frame
    putLittleEndian(out, 16, 2);       // bits per sample
    out.append("data");
    putLittleEndian(out, dataBytes, 4);
    for (const double s : samples) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767));
        putLittleEndian(out, static_cast<std::uint16_t>(value), 2);
    }
    return out;
}

// Replaces the file whole, so a game running in that directory never reads half of it.
[[nodiscard]] bool write(const QDir &dir, const char *name, const Samples &samples)
{
    QSaveFile file(dir.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(waveFile(samples));
    return file.commit();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "%s: cannot create %s\n", argv[0], argv[1]);
        return 1;
    }
    using platform::fileNameOf;
    const bool written = write(dir, fileNameOf(game::Cue::ShuffleFrame), tick1())
        && write(dir, fileNameOf(game::Cue::OpeningCard), tick2())
        && write(dir, fileNameOf(game::Cue::HighScore), highScore());
    if (!written) {
        std::fprintf(stderr, "%s: cannot write the sounds into %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
