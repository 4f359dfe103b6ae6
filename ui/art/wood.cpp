// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Wood laid into an image in the device's own pixels: bands of growth, grain lines, pores and
// knots, and the wood surface that openings are cut into.
#include "ui/art/grain.h"
#include "ui/art/woodimage.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

namespace art::drawing {

namespace {

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// The grain lines are sampled this far apart and run straight between samples.
constexpr double GrainStep = 3.0;

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
            steepest += std::abs(across) * KnotBendSteepest / (grain.knots[n].radius * KnotReach);
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

        const double drift = grain.sharedPhase + line.y0 * GrainDrift;
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

// Whether the painter maps logical pixels to device pixels by scaling and moving alone.
bool isUpright(const QTransform &device)
{
    return device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() > 0;
}

} // namespace

void layWoodOn(QImage &image, const QTransform &toImage, const QRectF &area, std::uint32_t seed,
               const WoodTone &tone, std::span<const QRectF> hidden, QPainter *active)
{
    const Grain grain = grainOf(area, seed, tone);
    const Raster raster = rasterOf(image, toImage);
    Canvas canvas(image, raster);
    const std::vector<QRect> hiddenPixels = hiddenPixelsOf(raster, hidden);
    paintBands(canvas, area, grain.bands);
    paintLines(canvas, area, grain, hiddenPixels);
    paintPores(canvas, grain.pores, tone, hiddenPixels);
    if (grain.knots.empty())
        return;
    if (active != nullptr) {
        active->save();
        active->setRenderHint(QPainter::Antialiasing);
        active->setClipRect(area);
        paintKnots(*active, grain.knots, tone);
        active->restore();
    } else {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(toImage);
        painter.setClipRect(area);
        paintKnots(painter, grain.knots, tone);
    }
}

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

namespace {

// The image the painter paints on, when wood can be laid straight into it: the area covers it
// exactly, pixel for pixel, and whatever the wood's pixels would be drawn over it with is
// replaced by them as they are (opaque wood drawn over anything, unclipped).
QImage *wholeDeviceImage(QPainter &painter, const QRectF &area)
{
    QPaintDevice *device = painter.device();
    if (device == nullptr || device->devType() != QInternal::Image || painter.hasClipping()
        || painter.opacity() != 1.0
        || painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    auto *image = static_cast<QImage *>(device);
    if (image->format() != QImage::Format_ARGB32_Premultiplied
        && image->format() != QImage::Format_RGB32)
        return nullptr;
    const QRectF pixels = painter.deviceTransform().mapRect(area);
    return pixels == QRectF(image->rect()) ? image : nullptr;
}

} // namespace

WoodSurface::WoodSurface(QPainter &painter, const QRectF &area)
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
        // Laid on the painter's own image where the wood covers it all: one image, not two.
        device_ = wholeDeviceImage(painter, area);
        if (device_ != nullptr)
            painter_ = &painter;
        else
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
    if (!pixels().isNull())
        layWoodOn(pixels(), toImage_, area_, seed, tone, hidden, painter_);
}

void WoodSurface::paint(QPainter &painter)
{
    // Wood laid on the painter's own image is there already.
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

} // namespace art::drawing
