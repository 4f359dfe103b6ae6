// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of the image store: drawn by code, at whatever device pixel ratio the screen has.
#pragma once

#include <QPixmap>
#include <QRegion>
#include <QSize>
#include <QString>

#include <functional>
#include <future>
#include <memory>
#include <vector>

class QPainter;

namespace ui {

class Picture
{
public:
    // Paints the picture in logical pixels, within (0, 0, size).
    using Painter = std::function<void(QPainter &)>;

    Picture(QString description, QSize size, Painter painter);

    // What the picture shows, in words ("Queen of Spades", "Begin, pressed").
    [[nodiscard]] const QString &description() const { return description_; }
    [[nodiscard]] QSize size() const { return size_; }

    // The picture rendered at this device pixel ratio: drawn on first use, then kept.
    [[nodiscard]] QPixmap pixmap(qreal devicePixelRatio) const;
    // Whether the picture has been rendered at this device pixel ratio already.
    [[nodiscard]] bool isDrawn(qreal devicePixelRatio) const;
    // Starts rendering the picture at this device pixel ratio on a worker thread, so that
    // pixmap() finds it ready or waits only for the rest. A window asks for its pictures while
    // it is still being built; they are drawn meanwhile on the processor's other cores.
    void drawAhead(qreal devicePixelRatio) const;

    // Draws the picture at (x, y), in the painter's device pixel ratio.
    void draw(QPainter &painter, int x, int y) const;
    // Draws the part of the picture, placed at (0, 0), that lies within `region`, a rectangle at a
    // time: given a region of several rectangles at once, the paint engine first copies the
    // whole picture.
    void draw(QPainter &painter, const QRegion &region) const;

private:
    QString description_;
    QSize size_;
    Painter painter_;
    mutable std::vector<std::pair<qreal, QPixmap>> rendered_;
    mutable std::vector<std::pair<qreal, std::future<QImage>>> ahead_;
};

// Boxes share pictures: giving a box the picture another box shows never copies it.
using PictureRef = std::shared_ptr<const Picture>;

// Renders a painter function into a pixmap of a logical size at a device pixel ratio.
[[nodiscard]] QPixmap renderPixmap(QSize size, qreal devicePixelRatio,
                                   const Picture::Painter &painter);

} // namespace ui
