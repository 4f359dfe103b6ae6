// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/art/grain.h"

#include "ui/art/noise.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art::drawing {

namespace {

constexpr double Tau = 2.0 * std::numbers::pi;

Rgb rgbOf(const QColor &colour)
{
    return {float(colour.redF() * 255), float(colour.greenF() * 255), float(colour.blueF() * 255)};
}

} // namespace

QColor shade(const QColor &colour, double factor)
{
    return QColor::fromRgbF(std::clamp(float(colour.redF() * factor), 0.0f, 1.0f),
                            std::clamp(float(colour.greenF() * factor), 0.0f, 1.0f),
                            std::clamp(float(colour.blueF() * factor), 0.0f, 1.0f));
}

Grain grainOf(const QRectF &area, std::uint32_t seed, const WoodTone &tone)
{
    Noise noise(seed);
    Grain grain;

    // Broad bands of lighter and darker growth across the board.
    const int stops = std::max(3, int(area.height() / 14));
    for (int i = 0; i <= stops; ++i)
        grain.bands.push_back(rgbOf(shade(tone.base, noise.uniform(0.9, 1.1))));

    // A board gets a knot or two; a small plate stays clear.
    const double surface = area.width() * area.height();
    const int knotCount = surface > 60000 ? 2 : surface > 20000 ? 1 : 0;
    for (int i = 0; i < knotCount; ++i) {
        grain.knots.push_back({area.left() + area.width() * noise.uniform(0.15, 0.85),
                               area.top() + area.height() * noise.uniform(0.15, 0.85),
                               noise.uniform(4.5, 7.0)});
    }

    // One slow wave shared by all lines, so that neighbouring lines run together.
    grain.sharedAmplitude = noise.uniform(1.5, 3.5);
    grain.sharedFrequency = Tau / noise.uniform(180, 320);
    grain.sharedPhase = noise.uniform(0, Tau);

    const double spacing = 2.1;
    const int lines = int(area.height() / spacing) + 8;
    grain.lines.reserve(std::size_t(lines));
    for (int i = 0; i < lines; ++i) {
        GrainLine line {};
        line.y0 = area.top() - 8 + i * spacing + noise.uniform(-0.7, 0.7);
        line.a1 = noise.uniform(0.2, 1.2);
        line.f1 = Tau / noise.uniform(60, 160);
        line.p1 = noise.uniform(0, Tau);
        line.a2 = noise.uniform(0.0, 0.35);
        line.f2 = Tau / noise.uniform(14, 30);
        line.p2 = noise.uniform(0, Tau);
        const bool light = noise.uniform() < 0.22;
        line.colour = (light ? tone.light : tone.dark).rgb();
        line.alpha = float(light ? int(noise.uniform(30, 80)) : int(noise.uniform(22, 105))) / 255;
        line.width = noise.uniform(0.45, 1.25);
        grain.lines.push_back(line);
    }

    // Pores: short dark flecks along the grain.
    const int pores = int(surface / 70);
    grain.pores.reserve(std::size_t(pores)); // one allocation, not a doubling series of them
    for (int i = 0; i < pores; ++i) {
        Pore pore {};
        pore.x = noise.uniform(area.left(), area.right());
        pore.y = noise.uniform(area.top(), area.bottom());
        pore.slope = grain.sharedAmplitude * grain.sharedFrequency
            * std::cos(grain.sharedFrequency * pore.x + grain.sharedPhase + pore.y * GrainDrift);
        pore.length = noise.uniform(1.5, 5.0);
        // The width before the alpha: each seed keeps the flecks it has always had.
        pore.width = noise.uniform(0.5, 0.9);
        pore.alpha = float(int(noise.uniform(25, 70))) / 255;
        grain.pores.push_back(pore);
    }
    return grain;
}

double knotPushAlong(const Knot &knot, double x)
{
    const double along = (x - knot.x) / (knot.radius * KnotReach);
    return std::exp(-along * along);
}

double knotPushAcross(const Knot &knot, double y0)
{
    const double d = y0 - knot.y;
    const double push = knot.radius * 1.5 * std::exp(-std::abs(d) / (knot.radius * 1.8));
    return d >= 0 ? push : -push;
}

} // namespace art::drawing
