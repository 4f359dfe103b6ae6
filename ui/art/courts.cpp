// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The court figures: a crowned king, a queen in a coif, a jack in a feathered cap, each a
// half-figure that the card shows twice, turned about its centre.
#include "ui/art/drawing.h"

#include <QLinearGradient>
#include <QPainter>

namespace art::drawing {

namespace {

constexpr QColor Skin {250, 216, 178};
constexpr QColor SkinLine {150, 90, 60};
constexpr QColor Blue {44, 78, 168};
constexpr QColor Linen {250, 246, 232};

struct Palette
{
    QColor robe;
    QColor trim;
    QColor hair;
};

Palette paletteFor(int suit, int rank)
{
    const bool red = suit == 0 || suit == 2;
    const QColor robe = red ? SuitRed : QColor(30, 34, 52);
    const QColor trim = red ? Blue : SuitRed;
    const QColor hair = rank == 13 ? QColor(150, 110, 70)
        : rank == 12               ? QColor(214, 160, 52)
                                   : QColor(120, 70, 30);
    return {robe, trim, hair};
}

QPen outline(qreal width = 0.6)
{
    return QPen(Ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void paintRobe(QPainter &painter, const Palette &palette, qreal w)
{
    const qreal x = w / 2;
    QPainterPath robe;
    robe.moveTo(-x, 1);
    robe.lineTo(-x, -4.5);
    robe.cubicTo(-x, -8.6, -9.4, -10.7, -6.0, -11.5);
    robe.lineTo(6.0, -11.5);
    robe.cubicTo(9.4, -10.7, x, -8.6, x, -4.5);
    robe.lineTo(x, 1);
    robe.closeSubpath();
    QLinearGradient cloth(0, -11.5, 0, 0);
    cloth.setColorAt(0, palette.robe.lighter(125));
    cloth.setColorAt(1, palette.robe);
    painter.setPen(outline());
    painter.setBrush(cloth);
    painter.drawPath(robe);

    // A pattern of small gold lozenges on the robe.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(Gold.red(), Gold.green(), Gold.blue(), 210));
    for (QPointF at :
         {QPointF(-7.2, -2.4), QPointF(7.2, -2.4), QPointF(-5.6, -6.6), QPointF(5.6, -6.6)}) {
        painter.drawPolygon(QPolygonF({at + QPointF(0, -1.1), at + QPointF(0.8, 0),
                                       at + QPointF(0, 1.1), at + QPointF(-0.8, 0)}));
    }

    // The front of the gown, edged with gold, with gold buttons.
    painter.setPen(outline(0.5));
    painter.setBrush(palette.trim);
    painter.drawRect(QRectF(-2.4, -11.3, 4.8, 12.3));
    painter.setPen(QPen(Gold, 0.8));
    painter.drawLine(QPointF(-2.4, -11), QPointF(-2.4, 1));
    painter.drawLine(QPointF(2.4, -11), QPointF(2.4, 1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    for (qreal y = -8.0; y < 0; y += 3.2)
        painter.drawEllipse(QPointF(0, y), 0.75, 0.75);
}

// An arm in a sleeve of the trim colour, from the shoulder to a hand.
void paintArm(QPainter &painter, const Palette &palette, const QPainterPath &sleeve, QPointF hand)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Ink, 3.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(sleeve);
    painter.setPen(QPen(palette.trim, 2.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(sleeve);
    painter.setPen(outline(0.45));
    painter.setBrush(Skin);
    painter.drawEllipse(hand, 1.6, 1.4);
}

// The arm across the chest, and the arm that holds the court's sign at the right.
void paintArms(QPainter &painter, const Palette &palette)
{
    QPainterPath across;
    across.moveTo(-8.4, -10.0);
    across.cubicTo(-10.2, -7.6, -9.6, -4.4, -5.0, -4.0);
    paintArm(painter, palette, across, QPointF(-3.6, -4.0));
    QPainterPath holding;
    holding.moveTo(8.4, -10.0);
    holding.cubicTo(9.9, -8.6, 9.6, -6.4, 8.4, -5.6);
    paintArm(painter, palette, holding, QPointF(7.6, -5.0));
}

void paintCollar(QPainter &painter, const QColor &colour)
{
    QPainterPath collar;
    collar.moveTo(-5.2, -12.2);
    collar.quadTo(0, -7.6, 5.2, -12.2);
    collar.quadTo(0, -9.8, -5.2, -12.2);
    collar.closeSubpath();
    painter.setPen(outline(0.5));
    painter.setBrush(colour);
    painter.drawPath(collar);
}

void paintFace(QPainter &painter, QPointF centre)
{
    painter.setPen(outline(0.5));
    painter.setBrush(Skin);
    painter.drawEllipse(centre, 3.4, 4.2);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 30, 30));
    painter.drawEllipse(centre + QPointF(-1.35, -0.6), 0.5, 0.55);
    painter.drawEllipse(centre + QPointF(1.35, -0.6), 0.5, 0.55);
    painter.setPen(QPen(QColor(200, 60, 60), 0.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(-0.8, 2.2), centre + QPointF(0.8, 2.2));
    painter.setPen(QPen(SkinLine, 0.45, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(0, -0.2), centre + QPointF(0.35, 1.1));
}

// The rod of what a court holds in its right hand, from below the hand up to top.
void paintStaff(QPainter &painter, const QColor &colour, qreal top)
{
    painter.setPen(QPen(Ink, 1.7, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7.6, -1.5), QPointF(7.6, top));
    painter.setPen(QPen(colour, 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7.6, -1.5), QPointF(7.6, top));
}

void paintKing(QPainter &painter, const Palette &palette, int suit, qreal w)
{
    const QPointF face(0, -16.4);
    // Hair falling to the collar.
    painter.setPen(outline(0.5));
    painter.setBrush(palette.hair);
    painter.drawRoundedRect(QRectF(-4.4, -20.6, 8.8, 9), 2.5, 2.5);
    paintRobe(painter, palette, w);
    // Ermine over the shoulders.
    QPainterPath ermine;
    ermine.moveTo(-8.5, -11.6);
    ermine.lineTo(8.5, -11.6);
    ermine.cubicTo(8, -9, 5, -8.2, 0, -8.2);
    ermine.cubicTo(-5, -8.2, -8, -9, -8.5, -11.6);
    painter.setPen(outline(0.5));
    painter.setBrush(Linen);
    painter.drawPath(ermine);
    painter.setPen(Qt::NoPen);
    painter.setBrush(SuitBlack);
    for (qreal x : {-6.0, -3.0, 3.0, 6.0})
        painter.drawEllipse(QPointF(x, -10.1), 0.45, 0.6);
    paintFace(painter, face);
    // Beard.
    QPainterPath beard;
    beard.moveTo(-3.4, -16.0);
    beard.cubicTo(-3.4, -12.0, -1.6, -10.2, 0, -9.8);
    beard.cubicTo(1.6, -10.2, 3.4, -12.0, 3.4, -16.0);
    beard.cubicTo(2.6, -13.6, 1.4, -13.3, 0, -13.3);
    beard.cubicTo(-1.4, -13.3, -2.6, -13.6, -3.4, -16.0);
    painter.setPen(outline(0.45));
    painter.setBrush(palette.hair);
    painter.drawPath(beard);
    // Crown.
    QPainterPath crown;
    crown.moveTo(-4.4, -20.0);
    crown.lineTo(-4.8, -25.6);
    crown.lineTo(-2.3, -22.9);
    crown.lineTo(0, -26.6);
    crown.lineTo(2.3, -22.9);
    crown.lineTo(4.8, -25.6);
    crown.lineTo(4.4, -20.0);
    crown.closeSubpath();
    QLinearGradient gold(0, -26.6, 0, -20);
    gold.setColorAt(0, Gold.lighter(125));
    gold.setColorAt(1, Gold.darker(115));
    painter.setPen(outline(0.55));
    painter.setBrush(gold);
    painter.drawPath(crown);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette.trim);
    painter.drawEllipse(QPointF(0, -21.4), 0.85, 0.85);
    painter.setBrush(Gold.lighter(130));
    for (QPointF tip : {QPointF(-4.8, -25.8), QPointF(0, -26.8), QPointF(4.8, -25.8)})
        painter.drawEllipse(tip, 0.7, 0.7);
    // Sceptre.
    paintStaff(painter, Gold, -19.0);
    paintPip(painter, suit, QPointF(7.6, -21.2), 3.8);
    paintArms(painter, palette);
}

void paintQueen(QPainter &painter, const Palette &palette, int suit, qreal w)
{
    const QPointF face(0, -16.0);
    // Hair to the shoulders, under the coif.
    painter.setPen(outline(0.5));
    painter.setBrush(palette.hair);
    painter.drawRoundedRect(QRectF(-4.9, -20.0, 9.8, 9.4), 2.5, 2.5);
    paintRobe(painter, palette, w);
    paintCollar(painter, Linen);
    // The coif: a close hood that frames the face.
    QPainterPath coif;
    coif.moveTo(-5.6, -12.2);
    coif.cubicTo(-6.6, -17.0, -6.0, -24.4, 0, -24.4);
    coif.cubicTo(6.0, -24.4, 6.6, -17.0, 5.6, -12.2);
    coif.lineTo(4.3, -12.6);
    coif.cubicTo(4.8, -17.0, 4.2, -21.2, 0, -21.2);
    coif.cubicTo(-4.2, -21.2, -4.8, -17.0, -4.3, -12.6);
    coif.closeSubpath();
    painter.setPen(outline(0.5));
    painter.setBrush(palette.trim);
    painter.drawPath(coif);
    painter.setPen(QPen(Gold, 0.7));
    painter.setBrush(Qt::NoBrush);
    QPainterPath edge;
    edge.moveTo(-4.9, -12.4);
    edge.cubicTo(-5.6, -17.0, -5.0, -22.7, 0, -22.7);
    edge.cubicTo(5.0, -22.7, 5.6, -17.0, 4.9, -12.4);
    painter.drawPath(edge);
    paintFace(painter, face);
    // A small circlet on the coif.
    painter.setPen(outline(0.45));
    painter.setBrush(Gold);
    QPainterPath circlet;
    circlet.moveTo(-3.2, -23.6);
    circlet.lineTo(-3.4, -26.0);
    circlet.lineTo(-1.6, -24.7);
    circlet.lineTo(0, -26.6);
    circlet.lineTo(1.6, -24.7);
    circlet.lineTo(3.4, -26.0);
    circlet.lineTo(3.2, -23.6);
    circlet.closeSubpath();
    painter.drawPath(circlet);
    // A flower held up beside the face: the suit's sign on a green stem.
    paintStaff(painter, QColor(60, 140, 50), -17.0);
    painter.setPen(QPen(QColor(60, 140, 50), 0.7));
    painter.setBrush(QColor(90, 170, 70));
    painter.drawEllipse(QPointF(9.2, -12.5), 1.3, 0.7);
    paintPip(painter, suit, QPointF(7.6, -19.4), 3.8);
    paintArms(painter, palette);
}

void paintJack(QPainter &painter, const Palette &palette, int suit, qreal w)
{
    const QPointF face(0, -15.8);
    painter.setPen(outline(0.5));
    painter.setBrush(palette.hair);
    painter.drawRoundedRect(QRectF(-4.2, -20.0, 8.4, 7.4), 2.2, 2.2);
    paintRobe(painter, palette, w);
    paintCollar(painter, Gold);
    paintFace(painter, face);
    // The cap: a soft crown over a gold band, a feather sweeping up behind.
    QPainterPath feather;
    feather.moveTo(-2.4, -21.0);
    feather.cubicTo(-5.0, -23.0, -7.2, -25.5, -9.6, -26.8);
    feather.cubicTo(-8.6, -24.0, -6.4, -21.4, -3.6, -19.8);
    feather.closeSubpath();
    painter.setPen(outline(0.45));
    painter.setBrush(Linen);
    painter.drawPath(feather);
    QPainterPath cap;
    cap.moveTo(-4.8, -19.6);
    cap.cubicTo(-5.6, -23.8, -1.5, -25.4, 1.5, -24.8);
    cap.cubicTo(4.4, -24.2, 5.6, -22.0, 4.8, -19.6);
    cap.closeSubpath();
    painter.setPen(outline(0.5));
    painter.setBrush(palette.robe);
    painter.drawPath(cap);
    painter.setBrush(Gold);
    painter.drawRoundedRect(QRectF(-4.9, -20.6, 9.8, 1.8), 0.8, 0.8);
    // A wooden staff with the suit's sign.
    paintStaff(painter, QColor(176, 124, 70), -20.0);
    paintPip(painter, suit, QPointF(7.6, -22.2), 3.8);
    paintArms(painter, palette);
}

} // namespace

void paintCourtHalf(QPainter &painter, int suit, int rank, qreal width)
{
    const Palette palette = paletteFor(suit, rank);
    painter.save();
    switch (rank) {
    case 11:
        paintJack(painter, palette, suit, width);
        break;
    case 12:
        paintQueen(painter, palette, suit, width);
        break;
    default:
        paintKing(painter, palette, suit, width);
        break;
    }
    painter.restore();
}

} // namespace art::drawing
