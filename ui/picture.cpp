// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picture.h"

#include "ui/art/render.h"

#include <QPainter>

#include <algorithm>

namespace ui {

Picture::Picture(QString description, QSize size, Painter painter)
    : description_(std::move(description))
    , size_(size)
    , painter_(std::move(painter))
{ }

QPixmap Picture::pixmap(qreal devicePixelRatio) const
{
    for (const auto &[ratio, pixmap] : rendered_) {
        if (qFuzzyCompare(ratio, devicePixelRatio))
            return pixmap;
    }
    QPixmap pixmap = renderPixmap(size_, devicePixelRatio, painter_);
    rendered_.emplace_back(devicePixelRatio, pixmap);
    return pixmap;
}

bool Picture::isDrawn(qreal devicePixelRatio) const
{
    return std::any_of(rendered_.begin(), rendered_.end(), [devicePixelRatio](const auto &entry) {
        return qFuzzyCompare(entry.first, devicePixelRatio);
    });
}

void Picture::draw(QPainter &painter, int x, int y) const
{
    painter.drawPixmap(x, y, pixmap(painter.device()->devicePixelRatioF()));
}

QPixmap renderPixmap(QSize size, qreal devicePixelRatio, const Picture::Painter &painter)
{
    // Drawn in the image format a raster pixmap keeps, and handed over whole: no copy, no
    // conversion (an opaque picture is only marked as such).
    return QPixmap::fromImage(art::renderImage(size, devicePixelRatio, painter));
}

} // namespace ui
