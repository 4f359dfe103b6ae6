// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picture.h"

#include <QPainter>

#include <cmath>

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

void Picture::draw(QPainter &painter, int x, int y) const
{
    painter.drawPixmap(x, y, pixmap(painter.device()->devicePixelRatioF()));
}

QPixmap renderPixmap(QSize size, qreal devicePixelRatio, const Picture::Painter &painter)
{
    const QSize device(int(std::ceil(size.width() * devicePixelRatio)),
                       int(std::ceil(size.height() * devicePixelRatio)));
    QPixmap pixmap(device);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                     | QPainter::SmoothPixmapTransform);
    painter(p);
    return pixmap;
}

} // namespace ui
