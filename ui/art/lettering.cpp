// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Yellow lettering with a dark outline, for the button faces and the About banner.
#include "ui/art/drawing.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

namespace art::drawing {

QFont letteringFont(qreal pixelSize, bool serif)
{
    // Paths are taken from a large face and scaled, so any fractional size is exact.
    QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setStyleHint(serif ? QFont::Serif : QFont::SansSerif);
    font.setWeight(QFont::Bold);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    return font;
}

QPainterPath letteringPath(const QString &text, const QFont &font, QPointF centre)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const qreal capHeight = QFontMetricsF(font).capHeight();
    const QRectF box = path.boundingRect();
    return path.translated(centre.x() - box.center().x(), centre.y() + capHeight / 2);
}

void paintLettering(QPainter &painter, const QPainterPath &text, qreal outlineWidth)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(QColor(38, 20, 4), outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(text);
    const QRectF box = text.boundingRect();
    QLinearGradient gold(box.topLeft(), box.bottomLeft());
    gold.setColorAt(0, QColor(255, 246, 150));
    gold.setColorAt(0.5, QColor(255, 222, 60));
    gold.setColorAt(1, QColor(240, 170, 20));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gold);
    painter.drawPath(text);
    painter.restore();
}

} // namespace art::drawing
