// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Openings cut into the wood: their floors, their lit and shaded walls and the shadow the walls
// cast, found from how much of each pixel the opening covers.
#include "ui/art/drawing.h"
#include "ui/art/woodimage.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace art::drawing {

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
    QImage &image = pixels();
    const QRect frame =
        toImage_.mapRect(bounds).toAlignedRect().adjusted(-1, -1, 1, 1) & image.rect();
    if (frame.isEmpty())
        return;
    const Coverage coverage(opening, toImage_, frame, wallReach(toImage_) + 2);

    // The floor: wood filling the opening's bounds, laid in where the opening covers the surface.
    QImage floor(frame.size(), QImage::Format_RGB32);
    layWoodOn(floor, toImage_ * QTransform::fromTranslate(-frame.left(), -frame.top()), bounds,
              seed, tone, hidden);
    auto *const bits = reinterpret_cast<QRgb *>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
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
