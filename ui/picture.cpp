// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/picture.h"

#include "ui/art/render.h"

#include <QPainter>
#include <QThreadPool>

#include <algorithm>

namespace ui {

namespace {

// The entry kept for a device pixel ratio, or the end.
template<typename Entries>
auto findRatio(Entries &entries, qreal devicePixelRatio)
{
    return std::find_if(entries.begin(), entries.end(), [devicePixelRatio](const auto &entry) {
        return qFuzzyCompare(entry.first, devicePixelRatio);
    });
}

// A picture as it is kept. One without a single see-through pixel is kept in three bytes a
// pixel, a quarter less than the four it is drawn in, and with nothing to blend when it is
// shown; a see-through one as it was drawn.
QImage keptImage(QImage drawn)
{
    for (int y = 0; y < drawn.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(drawn.constScanLine(y));
        if (std::any_of(line, line + drawn.width(),
                        [](QRgb pixel) { return qAlpha(pixel) != 255; }))
            return drawn;
    }
    drawn.convertTo(QImage::Format_RGB888);
    return drawn;
}

// The kept image as a pixmap, as it is: a raster pixmap would otherwise turn an opaque picture
// back into four bytes a pixel.
QPixmap keptPixmap(QImage kept)
{
    return QPixmap::fromImage(std::move(kept), Qt::NoFormatConversion);
}

} // namespace

Picture::Picture(QString description, QSize size, Painter painter)
    : description_(std::move(description))
    , size_(size)
    , painter_(std::move(painter))
{ }

QPixmap Picture::pixmap(qreal devicePixelRatio) const
{
    if (const auto found = findRatio(rendered_, devicePixelRatio); found != rendered_.end())
        return found->second;
    QPixmap pixmap;
    if (const auto ahead = findRatio(ahead_, devicePixelRatio); ahead != ahead_.end()) {
        pixmap = keptPixmap(ahead->second.get()); // waits for the worker if need be
        ahead_.erase(ahead);
    } else {
        pixmap = renderPixmap(size_, devicePixelRatio, painter_);
    }
    rendered_.emplace_back(devicePixelRatio, pixmap);
    return pixmap;
}

void Picture::drawAhead(qreal devicePixelRatio) const
{
    if (isDrawn(devicePixelRatio) || findRatio(ahead_, devicePixelRatio) != ahead_.end())
        return;
    // The task holds what it draws by value: it may outlive the picture.
    auto task = std::make_shared<std::packaged_task<QImage()>>(
        [size = size_, devicePixelRatio, painter = painter_] {
            return keptImage(art::renderImage(size, devicePixelRatio, painter));
        });
    ahead_.emplace_back(devicePixelRatio, task->get_future());
    QThreadPool::globalInstance()->start([task] { (*task)(); });
}

bool Picture::isDrawn(qreal devicePixelRatio) const
{
    return findRatio(rendered_, devicePixelRatio) != rendered_.end();
}

void Picture::draw(QPainter &painter, int x, int y) const
{
    painter.drawPixmap(x, y, pixmap(painter.device()->devicePixelRatioF()));
}

void Picture::draw(QPainter &painter, const QRegion &region) const
{
    const QPixmap drawn = pixmap(painter.device()->devicePixelRatioF());
    const qreal ratio = drawn.devicePixelRatio();
    painter.save();
    for (const QRect &part : region) {
        painter.setClipRect(part);
        painter.drawPixmap(part, drawn,
                           QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio));
    }
    painter.restore();
}

QPixmap renderPixmap(QSize size, qreal devicePixelRatio, const Picture::Painter &painter)
{
    return keptPixmap(keptImage(art::renderImage(size, devicePixelRatio, painter)));
}

} // namespace ui
