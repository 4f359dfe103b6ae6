// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/art/render.h"

#include <QPainter>

#include <cmath>

namespace art {

QImage renderImage(QSize size, qreal devicePixelRatio, const std::function<void(QPainter &)> &paint)
{
    QImage image(int(std::ceil(size.width() * devicePixelRatio)),
                 int(std::ceil(size.height() * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                               | QPainter::SmoothPixmapTransform);
        paint(painter);
    }
    return image;
}

} // namespace art
