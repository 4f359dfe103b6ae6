// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The four suit signs as outlines, so they stay sharp at any size and any pixel ratio.
#include "ui/art/drawing.h"

#include <QPainter>

#include <array>

namespace art::drawing {

namespace {

QPainterPath heart()
{
    QPainterPath p;
    p.moveTo(0, 0.5);
    p.cubicTo(-0.14, 0.32, -0.5, 0.08, -0.5, -0.2);
    p.cubicTo(-0.5, -0.39, -0.37, -0.5, -0.245, -0.5);
    p.cubicTo(-0.12, -0.5, -0.035, -0.42, 0, -0.31);
    p.cubicTo(0.035, -0.42, 0.12, -0.5, 0.245, -0.5);
    p.cubicTo(0.37, -0.5, 0.5, -0.39, 0.5, -0.2);
    p.cubicTo(0.5, 0.08, 0.14, 0.32, 0, 0.5);
    p.closeSubpath();
    return p;
}

QPainterPath spade()
{
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.cubicTo(0.13, -0.3, 0.47, -0.13, 0.47, 0.11);
    p.cubicTo(0.47, 0.27, 0.36, 0.35, 0.245, 0.35);
    p.cubicTo(0.15, 0.35, 0.08, 0.3, 0.045, 0.23);
    p.cubicTo(0.05, 0.37, 0.11, 0.45, 0.22, 0.5);
    p.lineTo(-0.22, 0.5);
    p.cubicTo(-0.11, 0.45, -0.05, 0.37, -0.045, 0.23);
    p.cubicTo(-0.08, 0.3, -0.15, 0.35, -0.245, 0.35);
    p.cubicTo(-0.36, 0.35, -0.47, 0.27, -0.47, 0.11);
    p.cubicTo(-0.47, -0.13, -0.13, -0.3, 0, -0.5);
    p.closeSubpath();
    return p;
}

QPainterPath diamond()
{
    QPainterPath p;
    p.moveTo(0, -0.5);
    p.quadTo(0.17, -0.21, 0.39, 0);
    p.quadTo(0.17, 0.21, 0, 0.5);
    p.quadTo(-0.17, 0.21, -0.39, 0);
    p.quadTo(-0.17, -0.21, 0, -0.5);
    p.closeSubpath();
    return p;
}

QPainterPath club()
{
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    constexpr qreal r = 0.225;
    p.addEllipse(QPointF(0, -0.275), r, r);
    p.addEllipse(QPointF(-0.245, 0.085), r, r);
    p.addEllipse(QPointF(0.245, 0.085), r, r);
    p.addEllipse(QPointF(0, 0.02), 0.12, 0.14);
    QPainterPath stem;
    stem.moveTo(-0.05, 0.0);
    stem.lineTo(0.05, 0.0);
    stem.cubicTo(0.05, 0.3, 0.12, 0.44, 0.22, 0.5);
    stem.lineTo(-0.22, 0.5);
    stem.cubicTo(-0.12, 0.44, -0.05, 0.3, -0.05, 0.0);
    stem.closeSubpath();
    p.addPath(stem);
    return p.simplified();
}

} // namespace

const QPainterPath &suitShape(int suit)
{
    static const std::array<QPainterPath, 4> shapes = {heart(), spade(), diamond(), club()};
    return shapes.at(static_cast<std::size_t>(suit));
}

void paintPip(QPainter &painter, int suit, QPointF centre, qreal height, bool upsideDown)
{
    painter.save();
    painter.translate(centre);
    painter.scale(height, upsideDown ? -height : height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(suitColour(suit));
    painter.drawPath(suitShape(suit));
    painter.restore();
}

} // namespace art::drawing
