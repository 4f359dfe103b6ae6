// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Wood laid into an image pixel by pixel, and such images drawn in the device's own pixels:
// shared by the wood surface and the openings cut into it. Used within ui/art only.
#pragma once

#include "ui/art/drawing.h"

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QTransform>

#include <cstdint>
#include <span>

class QPainter;

namespace art::drawing {

// An opaque pixel moved towards an opaque colour by amount, 0 to 256; two channels at a time.
inline QRgb mixed(QRgb pixel, QRgb colour, std::uint32_t amount)
{
    const std::uint32_t keep = 256 - amount;
    const std::uint32_t redBlue =
        ((pixel & 0xff00ff) * keep + (colour & 0xff00ff) * amount + 0x800080) >> 8;
    const std::uint32_t green =
        ((pixel & 0x00ff00) * keep + (colour & 0x00ff00) * amount + 0x008000) >> 8;
    return 0xff000000 | (redBlue & 0xff00ff) | (green & 0x00ff00);
}

// Lays wood over area (logical pixels) on image, whose pixels toImage maps it to. If a painter
// is active on the image already, it is given as active; its device transform is toImage.
void layWoodOn(QImage &image, const QTransform &toImage, const QRectF &area, std::uint32_t seed,
               const WoodTone &tone, std::span<const QRectF> hidden, QPainter *active = nullptr);

// Draws an image made pixel for pixel in the device's pixels, its top-left at the given
// device pixel. The image is the caller's own: were it shared, marking its pixel ratio would
// copy it.
void drawDevicePixels(QPainter &painter, QImage &image, QPoint at);

} // namespace art::drawing
