// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The 52 card faces: a white card on the green of the table, corner indexes, pips or a court.
#include "ui/art/art.h"
#include "ui/art/drawing.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <array>
#include <cmath>
#include <span>

namespace art {

using namespace drawing;

namespace {

// Body coordinates: the card is 47 x 63 with pixel centres on half units, so its own centre,
// (23.5, 31.5), is the centre of a pixel and turning the card round maps pixels onto pixels.
constexpr qreal CentreX = 23.5;
constexpr qreal CentreY = 31.5;

// Pip positions: a column of -1, 0 or 1 and a height from 0 (top row) to 1 (bottom row).
struct Spot
{
    int column;
    qreal row;
};

constexpr std::array<Spot, 2> two {{{0, 0}, {0, 1}}};
constexpr std::array<Spot, 3> three {{{0, 0}, {0, 0.5}, {0, 1}}};
constexpr std::array<Spot, 4> four {{{-1, 0}, {1, 0}, {-1, 1}, {1, 1}}};
constexpr std::array<Spot, 5> five {{{-1, 0}, {1, 0}, {0, 0.5}, {-1, 1}, {1, 1}}};
constexpr std::array<Spot, 6> six {{{-1, 0}, {1, 0}, {-1, 0.5}, {1, 0.5}, {-1, 1}, {1, 1}}};
constexpr std::array<Spot, 7> seven {
    {{-1, 0}, {1, 0}, {0, 0.25}, {-1, 0.5}, {1, 0.5}, {-1, 1}, {1, 1}}};
constexpr std::array<Spot, 8> eight {
    {{-1, 0}, {1, 0}, {0, 0.25}, {-1, 0.5}, {1, 0.5}, {0, 0.75}, {-1, 1}, {1, 1}}};
constexpr std::array<Spot, 9> nine {{{-1, 0},
                                     {1, 0},
                                     {-1, 1.0 / 3},
                                     {1, 1.0 / 3},
                                     {0, 0.5},
                                     {-1, 2.0 / 3},
                                     {1, 2.0 / 3},
                                     {-1, 1},
                                     {1, 1}}};
constexpr std::array<Spot, 10> ten {{{-1, 0},
                                     {1, 0},
                                     {0, 1.0 / 6},
                                     {-1, 1.0 / 3},
                                     {1, 1.0 / 3},
                                     {-1, 2.0 / 3},
                                     {1, 2.0 / 3},
                                     {0, 5.0 / 6},
                                     {-1, 1},
                                     {1, 1}}};

std::span<const Spot> spots(int rank)
{
    switch (rank) {
    case 2:
        return two;
    case 3:
        return three;
    case 4:
        return four;
    case 5:
        return five;
    case 6:
        return six;
    case 7:
        return seven;
    case 8:
        return eight;
    case 9:
        return nine;
    case 10:
        return ten;
    default:
        return {};
    }
}

QString rankText(int rank)
{
    return QString::fromStdString(game::rankIndex(rank));
}

QFont indexFont(int rank)
{
    // Pixel-sized and fully hinted, so the glyphs sit on whole pixels at the card's size.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStretch(QFont::Condensed);
    if (rank == 10) // two figures in the width of one column
        font.setLetterSpacing(QFont::AbsoluteSpacing, -1.5);
    return font;
}

// The rank above a small suit sign, in the top-left corner.
void paintIndex(QPainter &painter, int suit, int rank)
{
    constexpr qreal column = 6.5; // centre of the index column
    const QFont font = indexFont(rank);
    painter.setFont(font);
    painter.setPen(suitColour(suit));
    const QFontMetricsF metrics(font);
    const QString text = rankText(rank);
    // The ink is centred on the column; a ten keeps to the left edge to stay clear of the pips.
    const QRectF ink = metrics.tightBoundingRect(text);
    const qreal left = rank == 10 ? 1 - ink.left() : column - ink.center().x();
    painter.drawText(QPointF(qRound(left), 11), text);
    paintPip(painter, suit, QPointF(column, 16.5), 7.0);
}

// The corner that holds an index, in body coordinates.
constexpr QRectF IndexBox {0, 0, 13, 21};

bool onWholePixels(const QRectF &rect)
{
    const auto whole = [](qreal v) { return std::abs(v - std::round(v)) < 1e-3; };
    return whole(rect.left()) && whole(rect.top()) && whole(rect.right()) && whole(rect.bottom());
}

// Both corner indexes. Text drawn turned round loses its hinting, so where the card lies square
// on the device's pixels the index is drawn once at the device's resolution and the lower
// corner shows the same pixels turned round: both corners are equally sharp. A card drawn
// turned or at an odd scale gets its indexes as text both times.
void paintIndexes(QPainter &painter, int suit, int rank)
{
    const QTransform device = painter.deviceTransform();
    const QRectF upper = device.mapRect(IndexBox);
    const QRectF lower = device.mapRect(IndexBox.translated(CardBody.width() - IndexBox.width(),
                                                            CardBody.height() - IndexBox.height()));
    const bool square = device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() > 0
        && onWholePixels(upper) && onWholePixels(lower);
    if (!square) {
        paintIndex(painter, suit, rank);
        painter.save();
        painter.translate(CardBody.width(), CardBody.height());
        painter.rotate(180);
        paintIndex(painter, suit, rank);
        painter.restore();
        return;
    }
    QImage index(upper.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    index.fill(Qt::transparent);
    {
        QPainter drawn(&index);
        drawn.setRenderHints(painter.renderHints());
        drawn.scale(device.m11(), device.m22());
        paintIndex(drawn, suit, rank);
    }
    const qreal ratio = painter.device()->devicePixelRatioF();
    index.setDevicePixelRatio(ratio);
    QImage turned = index.mirrored(true, true);
    turned.setDevicePixelRatio(ratio);
    painter.save();
    painter.resetTransform();
    painter.drawImage(upper.topLeft() / ratio, index);
    painter.drawImage(lower.topLeft() / ratio, turned);
    painter.restore();
}

void paintPips(QPainter &painter, int suit, int rank)
{
    constexpr qreal columnGap = 7.5;
    constexpr qreal top = 12, bottom = 51;
    constexpr qreal height = 8;
    for (const Spot &spot : spots(rank)) {
        const QPointF centre(CentreX + spot.column * columnGap, top + (bottom - top) * spot.row);
        // A diamond is narrow: a little taller, it weighs the same as the other signs.
        paintPip(painter, suit, centre, suit == 2 ? height * 1.12 : height, spot.row > 0.5);
    }
}

void paintAce(QPainter &painter, int suit)
{
    const qreal height = suit == 2 ? 26 : 23;
    paintPip(painter, suit, QPointF(CentreX, CentreY), height);
}

void paintCourt(QPainter &painter, int suit, int rank)
{
    // The panel's frame lines lie on pixel centres; it is symmetric about the card's centre.
    const QRectF panel(11.5, 3.5, 24, 56);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 250, 236));
    painter.drawRect(panel);

    for (int half = 0; half < 2; ++half) {
        painter.save();
        painter.translate(CentreX, CentreY);
        if (half == 1)
            painter.rotate(180);
        painter.setClipRect(QRectF(-11.5, -27.5, 23, 27.5));
        paintCourtHalf(painter, suit, rank, 23);
        painter.restore();
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(suitColour(suit), 1));
    painter.drawRect(panel);
    painter.setPen(QPen(Gold.darker(130), 1));
    painter.drawLine(QPointF(12, CentreY), QPointF(35, CentreY));
}

} // namespace

namespace drawing {

void paintCardBody(QPainter &painter, int suit, int rank)
{
    painter.save();
    painter.setPen(QPen(QColor(96, 104, 96), 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 46, 62), 3.5, 3.5);

    if (rank == 1)
        paintAce(painter, suit);
    else if (rank <= 10)
        paintPips(painter, suit, rank);
    else
        paintCourt(painter, suit, rank);

    paintIndexes(painter, suit, rank);
    painter.restore();
}

} // namespace drawing

void paintCard(QPainter &painter, game::CardId id)
{
    painter.fillRect(QRect(QPoint(0, 0), CardSize), Felt);
    painter.save();
    painter.translate(1, 1);
    paintCardBody(painter, game::suitBlock(id), game::rankNumber(id));
    painter.restore();
}

} // namespace art
