// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Bevels and outlines: the geometry of raised edges and of openings with rounded corners.
#include "ui/art/drawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace art::drawing {

void paintBevel(QPainter &painter, const QRectF &rect, qreal width, const QColor &light,
                const QColor &dark, bool sunken)
{
    const QColor &upper = sunken ? dark : light;
    const QColor &lower = sunken ? light : dark;
    const qreal l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom(), w = width;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(upper);
    painter.drawPolygon(QPolygonF({{l, t}, {r, t}, {r - w, t + w}, {l + w, t + w}}));
    painter.drawPolygon(QPolygonF({{l, t}, {l + w, t + w}, {l + w, b - w}, {l, b}}));
    painter.setBrush(lower);
    painter.drawPolygon(QPolygonF({{l, b}, {l + w, b - w}, {r - w, b - w}, {r, b}}));
    painter.drawPolygon(QPolygonF({{r, t}, {r, b}, {r - w, b - w}, {r - w, t + w}}));
    painter.restore();
}

QPainterPath roundedOutline(const QPainterPath &rectilinear, qreal convexRadius,
                            qreal concaveRadius)
{
    constexpr qreal Kappa = 0.5523; // control distance of a quarter circle drawn as one cubic
    QPainterPath result;
    for (QPolygonF polygon : rectilinear.simplified().toSubpathPolygons()) {
        if (polygon.size() > 1 && polygon.first() == polygon.last())
            polygon.removeLast();
        // Drop points that do not turn the outline.
        std::vector<QPointF> corners;
        const qsizetype n = polygon.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF prev = polygon[(i + n - 1) % n], here = polygon[i],
                          next = polygon[(i + 1) % n];
            const QPointF in = here - prev, out = next - here;
            if (std::abs(in.x() * out.y() - in.y() * out.x()) > 1e-9)
                corners.push_back(here);
        }
        const std::size_t m = corners.size();
        if (m < 3)
            continue;
        double area = 0;
        for (std::size_t i = 0; i < m; ++i) {
            const QPointF &a = corners[i], &b = corners[(i + 1) % m];
            area += a.x() * b.y() - b.x() * a.y();
        }
        for (std::size_t i = 0; i < m; ++i) {
            const QPointF prev = corners[(i + m - 1) % m], here = corners[i],
                          next = corners[(i + 1) % m];
            const QPointF in = here - prev, out = next - here;
            const qreal inLength = std::hypot(in.x(), in.y()),
                        outLength = std::hypot(out.x(), out.y());
            const bool convex = (in.x() * out.y() - in.y() * out.x()) * area > 0;
            const qreal radius =
                std::min({convex ? convexRadius : concaveRadius, inLength / 2, outLength / 2});
            const QPointF a = here - in / inLength * radius;
            const QPointF b = here + out / outLength * radius;
            if (i == 0)
                result.moveTo(a);
            else
                result.lineTo(a);
            result.cubicTo(a + (here - a) * Kappa, b + (here - b) * Kappa, b);
        }
        result.closeSubpath();
    }
    return result;
}

} // namespace art::drawing
