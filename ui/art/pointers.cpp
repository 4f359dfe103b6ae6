// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The four hand pointers: white hands with a dark outline and a soft shadow, so they read on
// the green cloth and on the wood alike.
#include "ui/art/art.h"
#include "ui/art/drawing.h"

#include <QPainter>
#include <QPainterPathStroker>

namespace art {

using namespace drawing;

namespace {

constexpr QColor HandFill {255, 255, 255};
constexpr QColor HandLine {16, 16, 20};

// A finger: a rounded bar from base to tip.
QPainterPath finger(QPointF base, QPointF tip, qreal width)
{
    QPainterPath line;
    line.moveTo(base);
    line.lineTo(tip);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line);
}

QPainterPath roundedBox(const QRectF &box, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

QPainterPath united(std::initializer_list<QPainterPath> parts)
{
    QPainterPath result;
    for (const QPainterPath &part : parts)
        result = result.united(part);
    return result.simplified();
}

// Fills a hand with its shadow and outline; creases are drawn after.
void paintHand(QPainter &painter, const QPainterPath &hand)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawPath(hand.translated(1.3, 1.3));
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawPath(hand.translated(0.7, 2.0));
    painter.setBrush(HandFill);
    painter.drawPath(hand);
    painter.setPen(QPen(HandLine, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(hand);
}

void crease(QPainter &painter, QPointF from, QPointF to)
{
    painter.setPen(QPen(HandLine, 0.9, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
}

// The wrist's cuff, so that the hand reads as a hand at a glance.
QPainterPath cuff(qreal left, qreal right, qreal top)
{
    return roundedBox(QRectF(left, top, right - left, 31 - top), 1.2);
}

void paintCuff(QPainter &painter, const QPainterPath &shape)
{
    painter.setPen(QPen(HandLine, 1.0));
    painter.setBrush(QColor(70, 110, 200));
    painter.drawPath(shape);
}

void paintOpen(QPainter &painter)
{
    const QPainterPath hand = united({
        roundedBox(QRectF(7.5, 13, 14, 13), 4),
        finger({9.2, 15}, {7.6, 5.6}, 3.6),
        finger({12.6, 14}, {12.5, 4.5}, 3.7),
        finger({16.1, 15}, {16.9, 5.4}, 3.6),
        finger({19.6, 16.5}, {21.6, 8.8}, 3.2),
        finger({9.5, 22}, {3.2, 14.6}, 3.9),
    });
    paintHand(painter, hand);
    paintCuff(painter, cuff(9, 20.5, 25.5));
}

void paintPoint(QPainter &painter)
{
    const QPainterPath hand = united({
        roundedBox(QRectF(8.5, 13.5, 14, 12.5), 4),
        finger({12.5, 16}, {12.5, 4.6}, 3.8),
        finger({16.2, 13.6}, {16.2, 16.5}, 3.6),
        finger({19.5, 14.2}, {19.5, 17}, 3.4),
        finger({22.3, 15.6}, {22.3, 18.4}, 3.0),
        finger({10.5, 22}, {5.4, 17.6}, 3.9),
    });
    paintHand(painter, hand);
    crease(painter, {14.4, 13.6}, {14.4, 17.4});
    crease(painter, {17.9, 13.8}, {17.9, 17.8});
    crease(painter, {21.0, 15.0}, {21.0, 18.6});
    paintCuff(painter, cuff(10, 21.5, 25.5));
}

void paintGrab(QPainter &painter)
{
    const QPainterPath hand = united({
        roundedBox(QRectF(7.5, 11, 15, 14.5), 4),
        finger({9.6, 10.6}, {9.6, 13.5}, 3.6),
        finger({13.0, 9.9}, {13.0, 13.5}, 3.7),
        finger({16.5, 10.2}, {16.5, 13.5}, 3.6),
        finger({19.8, 11.2}, {19.8, 14.5}, 3.3),
        finger({8.4, 21}, {5.6, 15.5}, 3.9),
    });
    paintHand(painter, hand);
    crease(painter, {11.3, 9.6}, {11.3, 13.6});
    crease(painter, {14.8, 9.2}, {14.8, 13.6});
    crease(painter, {18.2, 10.0}, {18.2, 14.0});
    paintCuff(painter, cuff(9, 21, 25));
}

void paintPlace(QPainter &painter)
{
    // The card's top-left corner, just inside its outline, is the pixel that points.
    painter.translate(-1, -1);
    // Fingers behind the card, the card, then the palm and thumb in front.
    const QPainterPath fingers = united({
        finger({20.5, 17}, {22.6, 8.6}, 3.4),
        finger({21.5, 19}, {24.0, 12.6}, 3.2),
    });
    paintHand(painter, fingers);

    const QRectF card(9.5, 3.5, 12, 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(card.translated(1.3, 1.3), 1.5, 1.5);
    painter.setPen(QPen(HandLine, 1.0));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(card, 1.2, 1.2);
    paintPip(painter, 0, card.center() + QPointF(0, -0.5), 7.0);

    const QPainterPath hand = united({
        roundedBox(QRectF(12, 16, 12, 10), 3.5),
        finger({14.0, 23}, {12.4, 15.8}, 3.8),
    });
    paintHand(painter, hand);
    paintCuff(painter, cuff(13.5, 23.5, 25.5));
}

} // namespace

void paintPointer(QPainter &painter, Pointer pointer)
{
    painter.save();
    switch (pointer) {
    case Pointer::Grab:
        paintGrab(painter);
        break;
    case Pointer::Point:
        paintPoint(painter);
        break;
    case Pointer::Place:
        paintPlace(painter);
        break;
    case Pointer::Open:
        paintOpen(painter);
        break;
    }
    painter.restore();
}

QPoint pointerHotSpot(Pointer pointer)
{
    switch (pointer) {
    case Pointer::Grab:
        return {12, 8};
    case Pointer::Place:
        return {9, 3};
    case Pointer::Point:
    case Pointer::Open:
        break;
    }
    return {12, 3};
}

} // namespace art
