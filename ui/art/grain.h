// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What a piece of wood's seed decides about its grain, in logical pixels, and the numbers that
// the grain and the wood laid from it must agree on. Used within ui/art only.
#pragma once

#include "ui/art/drawing.h"

#include <QColor>
#include <QRectF>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace art::drawing {

// How far the slow wave that all lines share moves out of step for each logical pixel down the
// wood, in radians: each line runs a little behind the one above it, and a pore slopes as the
// lines at its height do.
inline constexpr double GrainDrift = 0.012;

// How far along the grain a knot bends the lines, in knot radii: the bend at a distance d along
// falls off as exp(-u * u), where u is d over KnotReach radii.
inline constexpr double KnotReach = 2.4;

// The steepest slope of exp(-u * u), sqrt(2 / e) = 0.858 rounded up: times the bend, over
// KnotReach radii, it bounds how steeply a knot tilts a line.
inline constexpr double KnotBendSteepest = 0.86;

// The colour with each channel scaled by factor, kept within range.
[[nodiscard]] QColor shade(const QColor &colour, double factor);

// A colour as floating-point channels, 0 to 255.
struct Rgb
{
    float r, g, b;
};

// A knot: its centre and its radius.
struct Knot
{
    double x, y, radius;
};

// One line of grain: its height at the left, its own two waves and its stroke.
struct GrainLine
{
    double y0;
    double a1, f1, p1, a2, f2, p2;
    QRgb colour;
    float alpha; // 0 to 1
    double width;
};

// A pore: a short fleck from (x, y) along the grain's slope.
struct Pore
{
    double x, y, slope, length, width;
    float alpha;
};

// Everything the seed decides about a piece of wood, in logical pixels.
struct Grain
{
    std::vector<Rgb> bands; // evenly spaced from the top edge to the bottom edge
    std::vector<Knot> knots;
    double sharedAmplitude, sharedFrequency, sharedPhase;
    std::vector<GrainLine> lines;
    std::vector<Pore> pores;
};

[[nodiscard]] Grain grainOf(const QRectF &area, std::uint32_t seed, const WoodTone &tone);

// A knot bends the grain lines that pass near it away from itself: a line starting at height y0
// moves at x by knotPushAcross (how near it passes, and which way) times knotPushAlong (how near
// x is to the knot).
[[nodiscard]] double knotPushAlong(const Knot &knot, double x);
[[nodiscard]] double knotPushAcross(const Knot &knot, double y0);

} // namespace art::drawing
