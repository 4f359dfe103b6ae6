// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Wood, bevels and the openings cut into the wood.
#include "drawing.h"

#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace art::drawing {

std::uint32_t Noise::next()
{
    // xorshift32: portable, and good enough for grain.
    std::uint32_t x = state_;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state_ = x;
    return x;
}

double Noise::uniform(double low, double high)
{
    return low + (high - low) * (double(next() >> 8) / double(1u << 24));
}

std::uint32_t seedOf(std::string_view word)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (char c : word)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

namespace {

constexpr double Tau = 2.0 * std::numbers::pi;

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QColor shade(const QColor &colour, double factor)
{
    return QColor::fromRgbF(std::clamp(float(colour.redF() * factor), 0.0f, 1.0f),
                            std::clamp(float(colour.greenF() * factor), 0.0f, 1.0f),
                            std::clamp(float(colour.blueF() * factor), 0.0f, 1.0f));
}

// A colour as floating-point channels, 0 to 255.
struct Rgb
{
    float r, g, b;
};

Rgb rgbOf(const QColor &colour)
{
    return {float(colour.redF() * 255), float(colour.greenF() * 255), float(colour.blueF() * 255)};
}

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

// The grain lines are sampled this far apart and run straight between samples.
constexpr double GrainStep = 3.0;

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
    for (int i = 0; i < pores; ++i) {
        Pore pore {};
        pore.x = noise.uniform(area.left(), area.right());
        pore.y = noise.uniform(area.top(), area.bottom());
        pore.slope = grain.sharedAmplitude * grain.sharedFrequency
            * std::cos(grain.sharedFrequency * pore.x + grain.sharedPhase + pore.y * 0.012);
        pore.length = noise.uniform(1.5, 5.0);
        // The width before the alpha: each seed keeps the flecks it has always had.
        pore.width = noise.uniform(0.5, 0.9);
        pore.alpha = float(int(noise.uniform(25, 70))) / 255;
        grain.pores.push_back(pore);
    }
    return grain;
}

// A knot bends the grain lines that pass near it away from itself: a line starting at height y0
// moves at x by knotPushAcross (how near it passes, and which way) times knotPushAlong (how near
// x is to the knot).
double knotPushAlong(const Knot &knot, double x)
{
    const double along = (x - knot.x) / (knot.radius * 2.4);
    return std::exp(-along * along);
}

double knotPushAcross(const Knot &knot, double y0)
{
    const double d = y0 - knot.y;
    const double push = knot.radius * 1.5 * std::exp(-std::abs(d) / (knot.radius * 1.8));
    return d >= 0 ? push : -push;
}

// sin(phase + k * step) for k = 0, 1, 2, ...: found directly at any k, then by turning a unit
// vector one step at a time.
class Wave
{
public:
    Wave(double phase, double step)
        : phase_(phase)
        , step_(step)
        , stepSin_(std::sin(step))
        , stepCos_(std::cos(step))
    { }
    void seek(int k)
    {
        sin_ = std::sin(phase_ + k * step_);
        cos_ = std::cos(phase_ + k * step_);
    }
    [[nodiscard]] double value() const { return sin_; }
    void advance()
    {
        const double s = sin_ * stepCos_ + cos_ * stepSin_;
        cos_ = cos_ * stepCos_ - sin_ * stepSin_;
        sin_ = s;
    }

private:
    double phase_, step_, stepSin_, stepCos_;
    double sin_ = 0, cos_ = 1;
};

// The whole number at or below value, which lies well within int's range; without a call, as
// std::floor needs on processors before SSE4.1.
int floorOf(double value)
{
    const int truncated = int(value);
    return truncated - (value < truncated ? 1 : 0);
}

// An opaque pixel moved towards an opaque colour by amount, 0 to 256; two channels at a time.
QRgb mixed(QRgb pixel, QRgb colour, std::uint32_t amount)
{
    const std::uint32_t keep = 256 - amount;
    const std::uint32_t redBlue =
        ((pixel & 0xff00ff) * keep + (colour & 0xff00ff) * amount + 0x800080) >> 8;
    const std::uint32_t green =
        ((pixel & 0x00ff00) * keep + (colour & 0x00ff00) * amount + 0x008000) >> 8;
    return 0xff000000 | (redBlue & 0xff00ff) | (green & 0x00ff00);
}

// Where the raster's pixels lie: pixel (column, row) is the square from (column, row) to
// (column + 1, row + 1) of x * sx + dx, y * sy + dy, where x and y are logical pixels.
struct Raster
{
    int width, height;
    double sx, sy, dx, dy;
};

Raster rasterOf(const QImage &image, const QTransform &toImage)
{
    return {image.width(), image.height(), toImage.m11(),
            toImage.m22(), toImage.dx(),   toImage.dy()};
}

// Wood drawn straight into an image (32 bits a pixel, opaque), each stroke blended in as it is
// laid.
class Canvas
{
public:
    Canvas(QImage &image, const Raster &raster)
        : raster_(raster)
        , pixels_(reinterpret_cast<QRgb *>(image.bits()))
        , stride_(image.bytesPerLine() / qsizetype(sizeof(QRgb)))
    { }

    [[nodiscard]] const Raster &raster() const { return raster_; }

    void fillRow(int row, QRgb colour)
    {
        // One pixel, then copies of what is filled so far: far quicker than pixel by pixel.
        QRgb *pixels = pixels_ + row * stride_;
        pixels[0] = colour;
        for (int done = 1; done < raster_.width;) {
            const int more = std::min(done, raster_.width - done);
            std::memcpy(pixels + done, pixels, std::size_t(more) * sizeof(QRgb));
            done += more;
        }
    }

    // Lays a stroke of the given thickness (device pixels), centred at height centre, over
    // one column: each row gets the share of its height that the stroke covers, as an
    // antialiasing rasteriser gives it, times strength (0 to 1).
    void stroke(int column, double centre, double thickness, QRgb colour, float strength)
    {
        const double top = std::max(centre - thickness / 2, 0.0);
        const double bottom = std::min(centre + thickness / 2, double(raster_.height));
        if (bottom <= top)
            return;
        // Both are at least 0, so truncation rounds them down.
        const int first = int(top), last = int(bottom);
        QRgb *pixel = pixels_ + first * stride_ + column;
        if (first == last) {
            blend(*pixel, colour, strength * float(bottom - top));
            return;
        }
        blend(*pixel, colour, strength * float(first + 1 - top));
        for (int row = first + 1; row < last; ++row) {
            pixel += stride_;
            blend(*pixel, colour, strength);
        }
        if (last < raster_.height)
            blend(pixel[stride_], colour, strength * float(bottom - last));
    }

private:
    // Moves pixel towards colour by amount (0 to 1).
    static void blend(QRgb &pixel, QRgb colour, float amount)
    {
        const auto a = std::uint32_t(amount * 256 + 0.5f);
        if (a != 0)
            pixel = mixed(pixel, colour, a);
    }

    Raster raster_;
    QRgb *pixels_;
    qsizetype stride_;
};

void paintBands(Canvas &canvas, const QRectF &area, const std::vector<Rgb> &bands)
{
    const Raster &r = canvas.raster();
    const double last = double(bands.size() - 1);
    for (int row = 0; row < r.height; ++row) {
        const double y = (row + 0.5 - r.dy) / r.sy;
        const double t = std::clamp((y - area.top()) / area.height(), 0.0, 1.0) * last;
        const std::size_t i = std::min(std::size_t(t), bands.size() - 2);
        const float f = float(t - double(i));
        const Rgb &a = bands[i], &b = bands[i + 1];
        canvas.fillRow(row,
                       qRgb(int(a.r + (b.r - a.r) * f + 0.5f), int(a.g + (b.g - a.g) * f + 0.5f),
                            int(a.b + (b.b - a.b) * f + 0.5f)));
    }
}

// The pixels of the raster that hidden (logical pixels) covers wholly.
std::vector<QRect> hiddenPixelsOf(const Raster &r, std::span<const QRectF> hidden)
{
    std::vector<QRect> pixels;
    for (const QRectF &rect : hidden) {
        const QPoint topLeft(int(std::ceil(rect.left() * r.sx + r.dx)),
                             int(std::ceil(rect.top() * r.sy + r.dy)));
        const QPoint bottomRight(int(std::floor(rect.right() * r.sx + r.dx)) - 1,
                                 int(std::floor(rect.bottom() * r.sy + r.dy)) - 1);
        const QRect inside = QRect(topLeft, bottomRight) & QRect(0, 0, r.width, r.height);
        if (!inside.isEmpty())
            pixels.push_back(inside);
    }
    // Rectangles side by side or one above the other make one: a line that runs from one box
    // into the next is hidden all the same (a grid of cells is one rectangle).
    const auto joinable = [](const QRect &a, const QRect &b) {
        return (a.top() == b.top() && a.bottom() == b.bottom() && a.left() <= b.right() + 1
                && b.left() <= a.right() + 1)
            || (a.left() == b.left() && a.right() == b.right() && a.top() <= b.bottom() + 1
                && b.top() <= a.bottom() + 1);
    };
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t i = 0; i < pixels.size() && !joined; ++i) {
            for (std::size_t j = i + 1; j < pixels.size() && !joined; ++j) {
                if (joinable(pixels[i], pixels[j])) {
                    pixels[i] = pixels[i].united(pixels[j]);
                    pixels.erase(pixels.begin() + std::ptrdiff_t(j));
                    joined = true;
                }
            }
        }
    }
    return pixels;
}

void paintLines(Canvas &canvas, const QRectF &area, const Grain &grain,
                const std::vector<QRect> &hidden)
{
    const Raster &r = canvas.raster();
    // The samples run from one step left of the area to one step right of it.
    const double first = area.left() - GrainStep;
    const int samples = int(std::floor((area.width() + 2 * GrainStep) / GrainStep)) + 1;

    // Where each column's centre lies along the samples (in steps), the stretch between two
    // samples that each column belongs to, and each stretch's first column; columns beyond the
    // ends belong to the end stretches.
    const auto along = [&](int column) {
        return ((column + 0.5 - r.dx) / r.sx - first) / GrainStep;
    };
    std::vector<int> stretchOf(std::size_t(r.width));
    std::vector<int> stretchStart(std::size_t(samples), r.width);
    for (int column = r.width - 1; column >= 0; --column) {
        const int k = std::clamp(floorOf(along(column)), 0, samples - 2);
        stretchOf[std::size_t(column)] = k;
        stretchStart[std::size_t(k)] = column;
    }
    for (int k = samples - 2; k >= 0; --k)
        stretchStart[std::size_t(k)] =
            std::min(stretchStart[std::size_t(k)], stretchStart[std::size_t(k) + 1]);
    std::vector<double> stretchAlong(std::size_t(samples) - 1); // at each stretch's first column
    for (int k = 0; k + 1 < samples; ++k)
        stretchAlong[std::size_t(k)] = along(stretchStart[std::size_t(k)]) - k;
    const double alongPerColumn = 1 / (r.sx * GrainStep);

    // The parts of each sample's height that do not depend on the line.
    const auto count = std::size_t(samples);
    std::vector<double> sharedSin(count), sharedCos(count);
    std::vector<std::vector<double>> knotAlong(grain.knots.size(), std::vector<double>(count));
    for (int k = 0; k < samples; ++k) {
        const double x = first + k * GrainStep;
        sharedSin[std::size_t(k)] = std::sin(grain.sharedFrequency * x);
        sharedCos[std::size_t(k)] = std::cos(grain.sharedFrequency * x);
        for (std::size_t n = 0; n < grain.knots.size(); ++n)
            knotAlong[n][std::size_t(k)] = knotPushAlong(grain.knots[n], x);
    }

    struct Push
    {
        std::size_t knot;
        double across;
    };
    std::vector<Push> pushes;
    std::vector<std::pair<int, int>> covered, runs; // columns, from and past the end
    std::vector<QRect> crossed;
    std::vector<double> height(count); // device pixels
    std::vector<double> thickness(count - 1);
    for (const GrainLine &line : grain.lines) {
        // The knots that move this line by a visible fraction of a pixel, and how far and how
        // steeply the line can stray from its height at the left: the bounds of its waves.
        pushes.clear();
        double stray = grain.sharedAmplitude + line.a1 + line.a2;
        double steepest =
            grain.sharedAmplitude * grain.sharedFrequency + line.a1 * line.f1 + line.a2 * line.f2;
        for (std::size_t n = 0; n < grain.knots.size(); ++n) {
            const double across = knotPushAcross(grain.knots[n], line.y0);
            if (std::abs(across) < 1.0 / 256)
                continue;
            pushes.push_back({n, across});
            stray += std::abs(across);
            steepest += std::abs(across) * 0.86 / (grain.knots[n].radius * 2.4);
        }
        steepest *= r.sy / r.sx;
        const double middle = line.y0 * r.sy + r.dy;
        const double reach =
            stray * r.sy + line.width * r.sy * std::sqrt(1 + steepest * steepest) / 2 + 1;
        const int top = floorOf(middle - reach), bottom = floorOf(middle + reach);
        if (bottom < 0 || top >= r.height)
            continue;

        // The runs of columns where the line is not wholly hidden, and the hidden rectangles
        // it may pass through in part.
        covered.clear();
        crossed.clear();
        for (const QRect &rect : hidden) {
            if (rect.top() <= top && rect.bottom() >= bottom)
                covered.emplace_back(rect.left(), rect.right() + 1);
            else if (rect.top() <= bottom && rect.bottom() >= top)
                crossed.push_back(rect);
        }
        std::sort(covered.begin(), covered.end());
        runs.clear();
        int from = 0;
        for (const auto &[left, right] : covered) {
            if (left > from)
                runs.emplace_back(from, left);
            from = std::max(from, right);
        }
        if (from < r.width)
            runs.emplace_back(from, r.width);

        const double drift = grain.sharedPhase + line.y0 * 0.012;
        const double sharedSinDrift = grain.sharedAmplitude * std::cos(drift);
        const double sharedCosDrift = grain.sharedAmplitude * std::sin(drift);
        Wave wave1(line.f1 * first + line.p1, line.f1 * GrainStep);
        Wave wave2(line.f2 * first + line.p2, line.f2 * GrainStep);
        for (const auto &[runFrom, runTo] : runs) {
            const int firstStretch = stretchOf[std::size_t(runFrom)];
            const int lastStretch = stretchOf[std::size_t(runTo) - 1];
            wave1.seek(firstStretch);
            wave2.seek(firstStretch);
            for (int k = firstStretch; k <= lastStretch + 1; ++k) {
                const std::size_t i = std::size_t(k);
                double y = line.y0 + sharedSin[i] * sharedSinDrift + sharedCos[i] * sharedCosDrift
                    + line.a1 * wave1.value() + line.a2 * wave2.value();
                for (const Push &push : pushes)
                    y += knotAlong[push.knot][i] * push.across;
                height[i] = y * r.sy + r.dy;
                wave1.advance();
                wave2.advance();
            }
            // Between two samples the line runs straight: its centre moves by a fixed amount
            // from one column to the next. A sloping stroke is cut by a column over a greater
            // height than a level one.
            for (int k = firstStretch; k <= lastStretch; ++k) {
                const std::size_t i = std::size_t(k);
                const int columnFrom = std::max(stretchStart[i], runFrom);
                const int columnTo = std::min(stretchStart[i + 1], runTo);
                const double rise = height[i + 1] - height[i];
                const double slope = rise / (GrainStep * r.sx);
                const double thick = line.width * r.sy * std::sqrt(1 + slope * slope);
                // A stretch wholly inside a box it passes through is left out too.
                const int stretchTop = floorOf(std::min(height[i], height[i + 1]) - thick);
                const int stretchBottom = floorOf(std::max(height[i], height[i + 1]) + thick);
                if (std::any_of(crossed.begin(), crossed.end(), [&](const QRect &rect) {
                        return rect.left() <= columnFrom && rect.right() >= columnTo - 1
                            && rect.top() <= stretchTop && rect.bottom() >= stretchBottom;
                    }))
                    continue;
                const double perColumn = rise * alongPerColumn;
                double centre = height[i]
                    + rise * (stretchAlong[i] + (columnFrom - stretchStart[i]) * alongPerColumn);
                for (int column = columnFrom; column < columnTo; ++column, centre += perColumn)
                    canvas.stroke(column, centre, thick, line.colour, line.alpha);
            }
        }
    }
}

void paintPores(Canvas &canvas, const std::vector<Pore> &pores, const WoodTone &tone,
                const std::vector<QRect> &hidden)
{
    const Raster &r = canvas.raster();
    const QRgb dark = tone.dark.rgb();
    for (const Pore &pore : pores) {
        const double x0 = pore.x * r.sx + r.dx, x1 = (pore.x + pore.length) * r.sx + r.dx;
        const double y0 = pore.y * r.sy + r.dy;
        const double slope = pore.slope * r.sy / r.sx;
        const double thickness = pore.width * r.sy * std::sqrt(1 + slope * slope);
        // A round cap, as a square one of the same area.
        const double cap = pore.width * r.sx / 2 * (std::numbers::pi / 4);
        const double left = x0 - cap, right = x1 + cap;
        const int firstColumn = std::max(0, floorOf(left));
        const int lastColumn = std::min(r.width - 1, floorOf(right));
        const double reach = thickness / 2 + std::abs(slope) * (x1 - x0);
        const int top = floorOf(y0 - reach), bottom = floorOf(y0 + reach);
        if (std::any_of(hidden.begin(), hidden.end(), [&](const QRect &rect) {
                return rect.left() <= firstColumn && rect.right() >= lastColumn && rect.top() <= top
                    && rect.bottom() >= bottom;
            }))
            continue;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const double share = std::min(right, column + 1.0) - std::max(left, double(column));
            if (share <= 0)
                continue;
            const double x = std::clamp(column + 0.5, x0, x1);
            canvas.stroke(column, y0 + slope * (x - x0), thickness, dark,
                          pore.alpha * float(share));
        }
    }
}

void paintKnots(QPainter &painter, const std::vector<Knot> &knots, const WoodTone &tone)
{
    for (const Knot &knot : knots) {
        QRadialGradient heart(QPointF(knot.x, knot.y), knot.radius);
        heart.setColorAt(0, withAlpha(shade(tone.dark, 0.8), 230));
        heart.setColorAt(0.55, withAlpha(tone.dark, 150));
        heart.setColorAt(1, withAlpha(tone.dark, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(heart);
        painter.save();
        painter.translate(knot.x, knot.y);
        painter.scale(1.0, 0.55);
        painter.translate(-knot.x, -knot.y);
        painter.drawEllipse(QPointF(knot.x, knot.y), knot.radius * 1.1, knot.radius * 1.1);
        painter.setBrush(Qt::NoBrush);
        for (int ring = 1; ring <= 3; ++ring) {
            painter.setPen(QPen(withAlpha(tone.dark, 120 - ring * 25), 0.8));
            const double r = knot.radius * (0.35 + 0.3 * ring);
            painter.drawEllipse(QPointF(knot.x, knot.y), r * 1.15, r);
        }
        painter.restore();
    }
}

// Lays wood over area (logical pixels) on image, whose pixels toImage maps it to.
void layWoodOn(QImage &image, const QTransform &toImage, const QRectF &area, std::uint32_t seed,
               const WoodTone &tone, std::span<const QRectF> hidden)
{
    const Grain grain = grainOf(area, seed, tone);
    const Raster raster = rasterOf(image, toImage);
    Canvas canvas(image, raster);
    const std::vector<QRect> hiddenPixels = hiddenPixelsOf(raster, hidden);
    paintBands(canvas, area, grain.bands);
    paintLines(canvas, area, grain, hiddenPixels);
    paintPores(canvas, grain.pores, tone, hiddenPixels);
    if (!grain.knots.empty()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(toImage);
        painter.setClipRect(area);
        paintKnots(painter, grain.knots, tone);
    }
}

// Whether the painter maps logical pixels to device pixels by scaling and moving alone.
bool isUpright(const QTransform &device)
{
    return device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() > 0;
}

// Draws an image made pixel for pixel in the device's pixels, its top-left at the given
// device pixel. The image is the caller's own: were it shared, marking its pixel ratio would
// copy it.
void drawDevicePixels(QPainter &painter, QImage &image, QPoint at)
{
    painter.save();
    painter.resetTransform();
    // What remains is the device's own scale, its pixel ratio.
    const QTransform device = painter.deviceTransform();
    image.setDevicePixelRatio(device.m11());
    painter.drawImage(device.inverted().map(QPointF(at)), image);
    image.setDevicePixelRatio(1);
    painter.restore();
}

} // namespace

WoodSurface::WoodSurface(const QPainter &painter, const QRectF &area)
    : area_(area)
{
    if (area.isEmpty())
        return;
    const QTransform device = painter.deviceTransform();
    upright_ = isUpright(device);
    if (upright_) {
        // In the device's own pixels, so the wood is as crisp at any pixel ratio.
        const QRect pixels = device.mapRect(area).toAlignedRect();
        at_ = pixels.topLeft();
        toImage_ = QTransform(device.m11(), 0, 0, device.m22(), device.dx() - pixels.left(),
                              device.dy() - pixels.top());
        image_ = QImage(pixels.size(), QImage::Format_RGB32);
    } else {
        // Turned: upright at about the device's resolution, and turned by the painter.
        const double scale = std::max(1.0, std::sqrt(std::abs(device.determinant())));
        const QSize size = (area.size() * scale).toSize().expandedTo(QSize(1, 1));
        const double sx = size.width() / area.width(), sy = size.height() / area.height();
        toImage_ = QTransform(sx, 0, 0, sy, -area.left() * sx, -area.top() * sy);
        image_ = QImage(size, QImage::Format_RGB32);
    }
}

void WoodSurface::layWood(std::uint32_t seed, const WoodTone &tone, std::span<const QRectF> hidden)
{
    if (!image_.isNull())
        layWoodOn(image_, toImage_, area_, seed, tone, hidden);
}

void WoodSurface::paint(QPainter &painter)
{
    if (image_.isNull())
        return;
    painter.save();
    painter.setClipRect(area_, Qt::IntersectClip);
    if (upright_)
        drawDevicePixels(painter, image_, at_);
    else
        painter.drawImage(area_, image_);
    painter.restore();
}

void paintWood(QPainter &painter, const QRectF &area, std::uint32_t seed, const WoodTone &tone,
               std::span<const QRectF> hidden)
{
    if (area.isEmpty())
        return;
    WoodSurface surface(painter, area);
    surface.layWood(seed, tone, hidden);
    surface.paint(painter);
}

void paintBevel(QPainter &painter, const QRectF &rect, qreal width, const QColor &light,
                const QColor &dark, bool sunken)
{
    const QColor &upper = sunken ? dark : light;
    const QColor &lower = sunken ? light : dark;
    const qreal l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom(), w = width;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(upper);
    painter.drawPolygon(QPolygonF({{l, t}, {r, t}, {r - w, t + w}, {l + w, t + w}}));
    painter.drawPolygon(QPolygonF({{l, t}, {l + w, t + w}, {l + w, b - w}, {l, b}}));
    painter.setBrush(lower);
    painter.drawPolygon(QPolygonF({{l, b}, {l + w, b - w}, {r - w, b - w}, {r, b}}));
    painter.drawPolygon(QPolygonF({{r, t}, {r, b}, {r - w, b - w}, {r - w, t + w}}));
    painter.restore();
}

QPainterPath roundedOutline(const QPainterPath &rectilinear, qreal convexRadius,
                            qreal concaveRadius)
{
    constexpr qreal Kappa = 0.5523; // control distance of a quarter circle drawn as one cubic
    QPainterPath result;
    for (QPolygonF polygon : rectilinear.simplified().toSubpathPolygons()) {
        if (polygon.size() > 1 && polygon.first() == polygon.last())
            polygon.removeLast();
        // Drop points that do not turn the outline.
        std::vector<QPointF> corners;
        const qsizetype n = polygon.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF prev = polygon[(i + n - 1) % n], here = polygon[i],
                          next = polygon[(i + 1) % n];
            const QPointF in = here - prev, out = next - here;
            if (std::abs(in.x() * out.y() - in.y() * out.x()) > 1e-9)
                corners.push_back(here);
        }
        const std::size_t m = corners.size();
        if (m < 3)
            continue;
        double area = 0;
        for (std::size_t i = 0; i < m; ++i) {
            const QPointF &a = corners[i], &b = corners[(i + 1) % m];
            area += a.x() * b.y() - b.x() * a.y();
        }
        for (std::size_t i = 0; i < m; ++i) {
            const QPointF prev = corners[(i + m - 1) % m], here = corners[i],
                          next = corners[(i + 1) % m];
            const QPointF in = here - prev, out = next - here;
            const qreal inLength = std::hypot(in.x(), in.y()),
                        outLength = std::hypot(out.x(), out.y());
            const bool convex = (in.x() * out.y() - in.y() * out.x()) * area > 0;
            const qreal radius =
                std::min({convex ? convexRadius : concaveRadius, inLength / 2, outLength / 2});
            const QPointF a = here - in / inLength * radius;
            const QPointF b = here + out / outLength * radius;
            if (i == 0)
                result.moveTo(a);
            else
                result.lineTo(a);
            result.cubicTo(a + (here - a) * Kappa, b + (here - b) * Kappa, b);
        }
        result.closeSubpath();
    }
    return result;
}

namespace {

// A band along an opening's edge: the opening less itself moved by offset (logical pixels).
struct Wall
{
    QPointF offset;
    QColor colour;
};

constexpr std::array<Wall, 6> Walls {{
    // The shadow of the upper and left walls, softening away from them.
    {{2, 2}, {60, 30, 0, 24}},
    {{3, 3}, {60, 30, 0, 24}},
    {{4, 4}, {60, 30, 0, 24}},
    // The walls: lit along the bottom and right, in shade along the top and left.
    {{-2, -2}, {255, 240, 205, 200}},
    {{2, 2}, {58, 32, 12, 225}},
    {{1, 1}, {30, 15, 4, 120}},
}};

// How far a wall's offset reaches in the pixels that toPixels maps logical pixels to.
int wallReach(const QTransform &toPixels)
{
    double reach = 0;
    for (const Wall &wall : Walls) {
        const QPointF offset = toPixels.map(wall.offset) - toPixels.map(QPointF(0, 0));
        reach = std::max({reach, std::abs(offset.x()), std::abs(offset.y())});
    }
    return int(std::ceil(reach));
}

// How much of each pixel of a frame a shape covers, 0 to 255, with a clear margin around the
// frame so that reading a little way outside it needs no test.
class Coverage
{
public:
    // toPixels maps logical pixels to the pixels of which frame is a part.
    Coverage(const QPainterPath &shape, const QTransform &toPixels, const QRect &frame, int margin)
        : frame_(frame)
        , margin_(margin)
        , mask_(frame.size() + QSize(2 * margin, 2 * margin), QImage::Format_Alpha8)
    {
        mask_.fill(0);
        QPainter painter(&mask_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(
            toPixels * QTransform::fromTranslate(margin - frame.left(), margin - frame.top()));
        painter.fillPath(shape, Qt::black);
    }

    [[nodiscard]] const QRect &frame() const { return frame_; }
    // Row y of the frame (0 at its top), from its first pixel; the margin lies either side.
    [[nodiscard]] const uchar *row(int y) const
    {
        return mask_.constScanLine(y + margin_) + margin_;
    }
    [[nodiscard]] qsizetype stride() const { return mask_.bytesPerLine(); }

private:
    QRect frame_;
    int margin_;
    QImage mask_;
};

// Eight bytes of a mask at once.
std::uint64_t eightBytes(const uchar *at)
{
    std::uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
}

// A premultiplied colour, channels 0 to 1.
struct Premultiplied
{
    float r, g, b, a;
};

// The walls of the opening whose coverage is given: calls lay(x, y, colour) for each pixel of
// the frame (x and y from its top-left) that a wall falls on, with the walls' colour there,
// each wall laid over those before it. A pixel's share of a wall is its share of the opening
// less that of the pixel the wall's offset away. The coverage's margin must be wallReach + 2.
template<typename Lay>
void layWalls(const Coverage &coverage, const QTransform &toPixels, Lay &&lay)
{
    struct Layer
    {
        qsizetype from; // where the pixel the offset away lies in the mask, from the pixel
        bool between;   // whether it lies between pixels,
        float tx, ty;   // and how far
        float r, g, b, alpha;
    };
    const qsizetype stride = coverage.stride();
    std::array<Layer, Walls.size()> layers {};
    for (std::size_t i = 0; i < Walls.size(); ++i) {
        const QPointF offset = toPixels.map(Walls[i].offset) - toPixels.map(QPointF(0, 0));
        const double x = std::floor(-offset.x()), y = std::floor(-offset.y());
        const QColor &c = Walls[i].colour;
        layers[i] = {qsizetype(y) * stride + qsizetype(x),
                     -offset.x() != x || -offset.y() != y,
                     float(-offset.x() - x),
                     float(-offset.y() - y),
                     float(c.redF()),
                     float(c.greenF()),
                     float(c.blueF()),
                     float(c.alphaF())};
    }
    // Every mask byte a pixel's walls read, relative to the pixel.
    std::vector<qsizetype> reads {0};
    for (const Layer &layer : layers) {
        reads.push_back(layer.from);
        if (layer.between)
            reads.insert(reads.end(),
                         {layer.from + 1, layer.from + stride, layer.from + stride + 1});
    }

    const int width = coverage.frame().width(), height = coverage.frame().height();
    for (int y = 0; y < height; ++y) {
        const uchar *mask = coverage.row(y);
        for (int x = 0; x < width; ++x) {
            // Most pixels lie well outside or well inside the opening: pass them eight at a time.
            if (x % 8 == 0 && x + 8 <= width) {
                if (eightBytes(mask + x) == 0) {
                    x += 7;
                    continue;
                }
                std::uint64_t all = ~std::uint64_t(0);
                for (qsizetype read : reads)
                    all &= eightBytes(mask + x + read);
                if (all == ~std::uint64_t(0)) {
                    x += 7;
                    continue;
                }
            }
            if (mask[x] == 0)
                continue;
            const float inside = float(mask[x]) * (1.0f / 255);
            Premultiplied colour {0, 0, 0, 0};
            for (const Layer &layer : layers) {
                const uchar *there = mask + x + layer.from;
                float covered = there[0];
                if (layer.between) {
                    covered =
                        (covered * (1 - layer.tx) + float(there[1]) * layer.tx) * (1 - layer.ty)
                        + (float(there[stride]) * (1 - layer.tx)
                           + float(there[stride + 1]) * layer.tx)
                            * layer.ty;
                } else if (there[0] == 255) {
                    continue;
                }
                const float share = inside * (1 - covered * (1.0f / 255));
                if (share <= 0)
                    continue;
                const float alpha = layer.alpha * share;
                colour.r = layer.r * alpha + colour.r * (1 - alpha);
                colour.g = layer.g * alpha + colour.g * (1 - alpha);
                colour.b = layer.b * alpha + colour.b * (1 - alpha);
                colour.a = alpha + colour.a * (1 - alpha);
            }
            if (colour.a > 0)
                lay(x, y, colour);
        }
    }
}

int channel(float value)
{
    return int(value * 255 + 0.5f);
}

} // namespace

void paintCutOut(QPainter &painter, const QPainterPath &opening, const QBrush &floor)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.fillPath(opening, floor);
    painter.restore();

    const QTransform device = painter.deviceTransform();
    const QRect frame =
        device.mapRect(opening.boundingRect()).toAlignedRect().adjusted(-1, -1, 1, 1);
    if (frame.isEmpty())
        return;
    const Coverage coverage(opening, device, frame, wallReach(device) + 2);
    QImage walls(frame.size(), QImage::Format_ARGB32_Premultiplied);
    walls.fill(0);
    auto *const bits = reinterpret_cast<QRgb *>(walls.bits());
    const qsizetype stride = walls.bytesPerLine() / qsizetype(sizeof(QRgb));
    layWalls(coverage, device, [&](int x, int y, const Premultiplied &colour) {
        bits[y * stride + x] =
            qRgba(channel(colour.r), channel(colour.g), channel(colour.b), channel(colour.a));
    });
    drawDevicePixels(painter, walls, frame.topLeft());
}

void WoodSurface::cutOpening(const QPainterPath &opening, std::uint32_t seed, const WoodTone &tone,
                             std::span<const QRectF> hidden)
{
    const QRectF bounds = opening.boundingRect();
    const QRect frame =
        toImage_.mapRect(bounds).toAlignedRect().adjusted(-1, -1, 1, 1) & image_.rect();
    if (frame.isEmpty())
        return;
    const Coverage coverage(opening, toImage_, frame, wallReach(toImage_) + 2);

    // The floor: wood filling the opening's bounds, laid in where the opening covers the surface.
    QImage floor(frame.size(), QImage::Format_RGB32);
    layWoodOn(floor, toImage_ * QTransform::fromTranslate(-frame.left(), -frame.top()), bounds,
              seed, tone, hidden);
    auto *const bits = reinterpret_cast<QRgb *>(image_.bits());
    const qsizetype stride = image_.bytesPerLine() / qsizetype(sizeof(QRgb));
    QRgb *const origin = bits + frame.top() * stride + frame.left();
    for (int y = 0; y < frame.height(); ++y) {
        const uchar *mask = coverage.row(y);
        const auto *from = reinterpret_cast<const QRgb *>(floor.constScanLine(y));
        QRgb *to = origin + y * stride;
        for (int x = 0; x < frame.width(); ++x) {
            // Eight at a time where the opening covers all or none of them.
            if (x % 8 == 0 && x + 8 <= frame.width()) {
                const std::uint64_t eight = eightBytes(mask + x);
                if (eight == 0 || eight == ~std::uint64_t(0)) {
                    if (eight != 0)
                        std::copy_n(from + x, 8, to + x);
                    x += 7;
                    continue;
                }
            }
            if (mask[x] != 0) // 0 to 255 made 0 to 256
                to[x] = mixed(to[x], from[x], mask[x] + (mask[x] >> 7));
        }
    }

    layWalls(coverage, toImage_, [&](int x, int y, const Premultiplied &colour) {
        QRgb &pixel = origin[y * stride + x];
        const float keep = 1 - colour.a;
        pixel = qRgb(channel(colour.r + float(qRed(pixel)) / 255 * keep),
                     channel(colour.g + float(qGreen(pixel)) / 255 * keep),
                     channel(colour.b + float(qBlue(pixel)) / 255 * keep));
    });
}

} // namespace art::drawing
