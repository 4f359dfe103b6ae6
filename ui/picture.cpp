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

// A picture drawn on a worker, made ready to become a pixmap without further work on the
// GUI thread: a picture without a single see-through pixel is marked opaque there and then,
// as a raster pixmap would otherwise do, copying it, when it is handed over.
QImage renderForHandOver(QSize size, qreal devicePixelRatio, const Picture::Painter &painter)
{
    QImage image = art::renderImage(size, devicePixelRatio, painter);
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (std::any_of(line, line + image.width(),
                        [](QRgb pixel) { return qAlpha(pixel) != 255; }))
            return image;
    }
    image.convertTo(QImage::Format_RGB32);
    return image;
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
        pixmap = QPixmap::fromImage(ahead->second.get()); // waits for the worker if need be
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
            return renderForHandOver(size, devicePixelRatio, painter);
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
    // Drawn in the image format a raster pixmap keeps, and handed over whole: no copy, no
    // conversion (an opaque picture is only marked as such).
    return QPixmap::fromImage(art::renderImage(size, devicePixelRatio, painter));
}

} // namespace ui
