// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The program icon: a board of cards on green cloth in a wooden frame. Small sizes show fewer,
// plainer cards so that the grid still reads at 16 pixels.
#include "ui/art/art.h"
#include "ui/art/drawing.h"

#include <QLinearGradient>
#include <QPainter>

#include <array>
#include <cmath>

namespace art {

using namespace drawing;

namespace {

// The cards on the icon's board, row by row: suit block and rank.
struct Shown
{
    int suit, rank;
};
constexpr std::array<Shown, 25> board {{
    {1, 1}, {0, 13}, {1, 12}, {0, 11}, {1, 10}, {0, 9}, {3, 1},  {2, 13}, {3, 12},
    {2, 5}, {3, 7},  {2, 4},  {0, 1},  {1, 2},  {0, 8}, {2, 12}, {3, 6},  {1, 9},
    {2, 1}, {3, 3},  {1, 7},  {0, 5},  {3, 11}, {2, 9}, {1, 13},
}};

// The card on offer beside the board.
constexpr Shown Offered {2, 11};

// Which of the board's cards a small grid of n x n shows.
Shown shownAt(int n, int row, int column)
{
    const int offset = (5 - n) / 2;
    return board.at(std::size_t((row + offset) * 5 + column + offset));
}

} // namespace

void paintIcon(QPainter &painter, int side)
{
    const qreal s = side;
    const QRectF square(0, 0, s, s);
    const int n = side < 48 ? 3 : 5;
    const qreal frame = side < 24 ? 1 : side < 48 ? 2 : std::round(s * 0.06);
    const qreal corner = std::max<qreal>(1.5, s * 0.12);

    painter.save();
    painter.setPen(Qt::NoPen);
    // The frame: wood where there is room for grain, a plain brown rim where there is not.
    QPainterPath outer;
    outer.addRoundedRect(square, corner, corner);
    if (side >= 48) {
        painter.setClipPath(outer);
        paintWood(painter, square, seedOf("icon"), BoardWood);
        painter.setClipping(false);
    } else {
        painter.setBrush(QColor(110, 66, 30));
        painter.drawPath(outer);
    }

    const QRectF cloth = square.adjusted(frame, frame, -frame, -frame);
    QLinearGradient green(cloth.topLeft(), cloth.bottomRight());
    green.setColorAt(0, Felt.lighter(118));
    green.setColorAt(1, Felt.darker(118));
    painter.setBrush(green);
    const qreal clothCorner = std::max<qreal>(1, corner - frame);
    painter.drawRoundedRect(cloth, clothCorner, clothCorner);

    // Cards keep about a 3:4 shape, on whole pixels; the grid is centred on the cloth. The
    // smallest icon's cards fill the cloth's height.
    const qreal gap = side < 48 ? 1 : std::max<qreal>(1, std::round(s / 64));
    const qreal cardHeight = side < 24 ? std::floor((cloth.height() - gap * (n - 1)) / n)
                                       : std::floor((cloth.height() - gap * (n + 1)) / n);
    const qreal cardWidth = std::round(cardHeight * 0.75);
    // From 48 pixels on, the card on offer stands beside the grid, as in the game.
    const bool offer = side >= 48;
    const qreal offerGap = 3 * gap;
    const qreal gridWidth = n * cardWidth + (n - 1) * gap;
    const qreal gridHeight = n * cardHeight + (n - 1) * gap;
    const qreal spanWidth = gridWidth + (offer ? offerGap + cardWidth : 0);
    const qreal left = std::round(cloth.center().x() - spanWidth / 2);
    const qreal top = std::round(cloth.center().y() - gridHeight / 2);

    const auto paintCardAt = [&](const QRectF &box, Shown card) {
        if (side >= 128) {
            painter.save();
            painter.translate(box.topLeft());
            painter.scale(box.width() / CardBody.width(), box.height() / CardBody.height());
            paintCardBody(painter, card.suit, card.rank);
            painter.restore();
            return;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        const qreal r = side < 48 ? 0.6 : cardWidth * 0.12;
        painter.drawRoundedRect(box, r, r);
        if (side < 24) // a pip would be a blur: a mark of the suit's colour instead
            painter.fillRect(QRectF(box.center().x() - 0.5, box.top() + 1, 1, box.height() - 2),
                             suitColour(card.suit));
        else
            paintPip(painter, card.suit, box.center(), cardHeight * 0.55);
    };

    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            paintCardAt(QRectF(left + column * (cardWidth + gap), top + row * (cardHeight + gap),
                               cardWidth, cardHeight),
                        shownAt(n, row, column));
        }
    }
    if (offer)
        paintCardAt(QRectF(left + gridWidth + offerGap, top, cardWidth, cardHeight), Offered);
    painter.restore();
}

} // namespace art
