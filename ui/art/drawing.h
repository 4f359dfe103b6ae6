// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing helpers shared by the painters of ui/art: colours, the suit signs, wood, bevels and
// outlined lettering. All coordinates are logical pixels.
#pragma once

#include "game/board.h"
#include "game/card.h"
#include "ui/art/art.h"
#include "ui/art/noise.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QTransform>

#include <cstdint>
#include <span>
#include <string_view>

class QPainter;

namespace art::drawing {

// The green of the card table: the same green as an empty box's back colour, so a card's
// surround and the box around it are one surface.
inline constexpr QColor Felt = bgrColour(game::NormalCellColour);
inline constexpr QColor SuitRed {204, 20, 36};
inline constexpr QColor SuitBlack {22, 22, 28};
inline constexpr QColor Gold {236, 186, 44};
inline constexpr QColor Ink {52, 28, 10}; // the dark brown of outlines on wood

[[nodiscard]] inline QColor suitColour(int suit)
{
    return game::isRed(suit) ? SuitRed : SuitBlack;
}

// The outline of a suit sign (0 Hearts, 1 Spades, 2 Diamonds, 3 Clubs), one unit high,
// centred on the origin, point or stem downwards.
[[nodiscard]] const QPainterPath &suitShape(int suit);

// A suit sign of the given height centred on centre, upside down if asked.
void paintPip(QPainter &painter, int suit, QPointF centre, qreal height, bool upsideDown = false);

// The body of a card, without the surround: the white rounded card, indexes and picture,
// drawn into (0, 0, 47, 63). Used for the image store and for decorations.
void paintCardBody(QPainter &painter, int suit, int rank);
inline constexpr QRectF CardBody {0, 0, 47, 63};

// A court figure's upper half, standing on the origin in a panel of the given width.
void paintCourtHalf(QPainter &painter, int suit, int rank, qreal width);

struct WoodTone
{
    QColor base;
    QColor dark;
    QColor light;
};
inline constexpr WoodTone BoardWood {{128, 82, 44}, {62, 34, 14}, {172, 120, 70}};
inline constexpr WoodTone InlayWood {{232, 206, 160}, {176, 134, 84}, {252, 236, 204}};
inline constexpr WoodTone PlateWood {{172, 118, 62}, {96, 58, 24}, {214, 164, 104}};

// Wood with its grain running left to right, filling area; knots where the area is large.
// The rectangles of hidden are for what will be drawn over the wood and hide it wholly: there
// the grain may be left out.
void paintWood(QPainter &painter, const QRectF &area, std::uint32_t seed, const WoodTone &tone,
               std::span<const QRectF> hidden = {});

// Wood laid on one image in the device's own pixels, with openings cut into it, and drawn onto
// the painter in one piece at the end: quicker than painting each piece of wood by itself.
class WoodSurface
{
public:
    // A surface over area (logical pixels) of the painter's device, to be drawn on that painter.
    // Where the area covers an image that the painter paints on, the wood is laid on it directly.
    WoodSurface(QPainter &painter, const QRectF &area);
    WoodSurface(const WoodSurface &) = delete;
    WoodSurface &operator=(const WoodSurface &) = delete;

    // Wood over the whole surface, as paintWood lays it.
    void layWood(std::uint32_t seed, const WoodTone &tone, std::span<const QRectF> hidden = {});

    // An opening cut into the surface, as paintCutOut cuts it, floored with wood filling its
    // bounding rectangle, as paintWood lays it.
    void cutOpening(const QPainterPath &opening, std::uint32_t seed, const WoodTone &tone,
                    std::span<const QRectF> hidden = {});

    // Draws the surface within its area.
    void paint(QPainter &painter);

private:
    QRectF area_;
    bool upright_ = true;
    QPoint at_;                   // the device pixel of the image's top-left, when upright
    QTransform toImage_;          // logical pixels to the image's pixels
    QImage image_;                // the surface's own image, unless laid on the painter's
    QImage *device_ = nullptr;    // the painter's image, laid on directly
    QPainter *painter_ = nullptr; // the painter active on device_

    [[nodiscard]] QImage &pixels() { return device_ != nullptr ? *device_ : image_; }
};

// A raised edge of the given width inside rect: light along the top and left, dark along the
// bottom and right; sunken reverses them.
void paintBevel(QPainter &painter, const QRectF &rect, qreal width, const QColor &light,
                const QColor &dark, bool sunken);

// A bold face for lettering, sans-serif unless asked for serif, sized in pixels.
[[nodiscard]] QFont letteringFont(qreal pixelSize, bool serif = false);

// Lettering as an outline: the text's path, centred on centre (its cap height centred
// vertically), to be stroked dark and filled.
[[nodiscard]] QPainterPath letteringPath(const QString &text, const QFont &font, QPointF centre);

// Strokes the lettering with the outline colour and fills it with a gold-to-yellow gradient.
void paintLettering(QPainter &painter, const QPainterPath &text, qreal outlineWidth);

// A shape with rectangular corners rounded off: convex corners by convexRadius, concave
// ones by concaveRadius. The input is a union of axis-aligned rectangles.
[[nodiscard]] QPainterPath roundedOutline(const QPainterPath &rectilinear, qreal convexRadius,
                                          qreal concaveRadius);

// An opening cut into the wood: the floor (none: leave what is there) with a sunken bevel and a
// soft shadow falling from its upper and left edges.
void paintCutOut(QPainter &painter, const QPainterPath &opening, const QBrush &floor);

} // namespace art::drawing
