// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Window backgrounds: a wooden board with an opening wherever the layout puts a control.
#include "ui/art/art.h"
#include "ui/art/drawing.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace art {

using namespace drawing;

namespace {

// How far an opening reaches beyond its controls. Openings closer together than twice this
// run into one.
constexpr qreal Reach = 4;

// The openings for a set of rectangles: their union, widened by Reach, with rounded corners,
// one path for each separate opening.
std::vector<QPainterPath> openingsAround(const std::vector<QRectF> &rects)
{
    QPainterPath all;
    all.setFillRule(Qt::WindingFill);
    for (const QRectF &rect : rects)
        all.addRect(rect.adjusted(-Reach, -Reach, Reach, Reach));
    std::vector<QPainterPath> openings;
    for (const QPolygonF &outline : all.simplified().toSubpathPolygons()) {
        QPainterPath piece;
        piece.addPolygon(outline);
        openings.push_back(roundedOutline(piece, Reach, 3));
    }
    return openings;
}

// The opening around one area: its rectangle with rounded corners.
QPainterPath openingOver(const QRectF &area)
{
    return openingsAround({area.adjusted(Reach, Reach, -Reach, -Reach)}).front();
}

// The boxes that the window's own controls paint whole, back colour first (cells, pictures,
// buttons, labels): the wood under them is never seen. Text boxes are left out, as their look
// is the style's.
std::vector<QRectF> controlBoxes(const ui::layout::WindowLayout &window)
{
    std::vector<QRectF> boxes;
    for (const ui::layout::Control &control : window.controls) {
        if (control.kind != ui::layout::Kind::TextBox && control.kind != ui::layout::Kind::TextArea)
            boxes.emplace_back(control.rect());
    }
    return boxes;
}

// A rectangle inside the opening around a panel or an area: the opening's rounded corners cut
// less than 2 pixels into the square corners they round.
QRectF insideOpening(const QRectF &panel, qreal reach)
{
    const qreal d = reach - 2;
    return panel.adjusted(-d, -d, d, d);
}

// What the wood is cut away for: each control, except that the elements of a control array
// share one panel spanning them all (the grid's cells, a column of labels).
std::vector<QRectF> panels(const ui::layout::WindowLayout &window)
{
    std::vector<std::pair<std::string_view, QRectF>> arrays;
    std::vector<QRectF> result;
    for (const ui::layout::Control &control : window.controls) {
        if (control.index < 0) {
            result.emplace_back(control.rect());
            continue;
        }
        auto found = std::find_if(arrays.begin(), arrays.end(),
                                  [&](const auto &entry) { return entry.first == control.name; });
        if (found == arrays.end())
            arrays.emplace_back(control.name, QRectF(control.rect()));
        else
            found->second = found->second.united(QRectF(control.rect()));
    }
    for (const auto &entry : arrays)
        result.push_back(entry.second);
    return result;
}

// The board's own edge: raised, with a dark rim. It stays clear of every opening.
void paintEdge(QPainter &painter, const QRectF &board)
{
    paintBevel(painter, board.adjusted(1, 1, -1, -1), 3, QColor(255, 222, 170, 120),
               QColor(40, 20, 4, 150), false);
    painter.save();
    painter.setPen(QPen(QColor(30, 14, 2), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(board.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

QBrush cloth(const QRectF &area);

// The About window's title banner: green cloth with a gold rule and the game's name.
void paintBanner(QPainter &painter, const QRectF &banner)
{
    paintCutOut(painter, openingOver(banner), cloth(banner));
    const QRectF cloth = banner.adjusted(5.5, 5.5, -5.5, -5.5);
    painter.save();
    painter.setPen(QPen(Gold, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(cloth, 2, 2);
    painter.setPen(QPen(QColor(Gold.red(), Gold.green(), Gold.blue(), 110), 1));
    painter.drawRoundedRect(cloth.adjusted(2, 2, -2, -2), 1.5, 1.5);

    const QPainterPath title =
        letteringPath(QStringLiteral("Quintagrid"), letteringFont(30, true), banner.center());
    painter.fillPath(title.translated(1.5, 1.5), QColor(0, 40, 0, 110));
    paintLettering(painter, title, 3.0);

    const qreal y = banner.center().y();
    const qreal titleHalf = title.boundingRect().width() / 2;
    for (int side = -1; side <= 1; side += 2) {
        for (int suit = 0; suit < 4; ++suit) {
            const qreal x = banner.center().x() + side * (titleHalf + 22 + 17 * suit);
            const int shown = side < 0 ? 3 - suit : suit;
            const QPointF at(x, y);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 255, 255, 235));
            painter.drawEllipse(at, 7.2, 7.2);
            paintPip(painter, shown, at, 9.5);
        }
    }
    painter.restore();
}

// Green cloth, a little lighter where the light falls in the middle.
QBrush cloth(const QRectF &area)
{
    QRadialGradient light(area.center(), std::max(area.width(), area.height()) * 0.7);
    light.setColorAt(0, Felt.lighter(112));
    light.setColorAt(1, Felt.darker(118));
    return light;
}

// The About window's fan of cards: the best hand of the game, held in one hand, named below.
void paintFan(QPainter &painter, const QRectF &area)
{
    paintCutOut(painter, openingOver(area), cloth(area));

    constexpr std::array<int, 5> ranks = {10, 11, 12, 13, 1};
    constexpr qreal scale = 2.2;
    constexpr qreal radius = 95;
    constexpr qreal spread = 16; // degrees between neighbouring cards
    const QPointF pivot(area.center().x(), area.top() + 194);
    painter.save();
    for (std::size_t i = 0; i < ranks.size(); ++i) {
        const qreal angle = (qreal(i) - 2) * spread;
        painter.save();
        painter.translate(pivot);
        painter.rotate(angle);
        painter.translate(0, -radius);
        painter.scale(scale, scale);
        painter.translate(-CardBody.center());
        // A soft shadow on the cloth and on the card beneath.
        painter.setPen(Qt::NoPen);
        for (int k = 3; k >= 1; --k) {
            const qreal grow = k * 0.45;
            painter.setBrush(QColor(0, 0, 0, 28));
            painter.drawRoundedRect(
                CardBody.translated(0.7, 0.9).adjusted(-grow, -grow, grow, grow), 3.5 + grow,
                3.5 + grow);
        }
        paintCardBody(painter, 0, ranks[i]);
        painter.restore();
    }

    const QPointF captionAt(area.center().x(), area.bottom() - 54);
    const QPainterPath name =
        letteringPath(QStringLiteral("Straight Flush"), letteringFont(21, true), captionAt);
    painter.fillPath(name.translated(1.2, 1.2), QColor(0, 40, 0, 110));
    paintLettering(painter, name, 2.6);
    QFont small = letteringFont(13);
    small.setWeight(QFont::DemiBold);
    const QPainterPath points =
        letteringPath(QStringLiteral("30 points"), small, captionAt + QPointF(0, 22));
    painter.fillPath(points, QColor(255, 255, 255, 230));
    painter.restore();
}

} // namespace

void paintBackground(QPainter &painter, const ui::layout::WindowLayout &window)
{
    const QRectF board(QPointF(0, 0), window.size());
    const bool about = window.name == ui::layout::frmAbout.name;
    const std::vector<QRectF> panelRects = panels(window);
    const std::vector<QPainterPath> openings = openingsAround(panelRects);

    // The board's grain is left out where the openings' floors will cover it.
    std::vector<QRectF> floors;
    for (const QRectF &panel : panelRects)
        floors.push_back(insideOpening(panel, Reach));
    if (about) {
        floors.push_back(insideOpening(ui::layout::AboutBanner, 0));
        floors.push_back(insideOpening(ui::layout::AboutFan, 0));
    }
    WoodSurface surface(painter, board);
    surface.layWood(seedOf(window.name), BoardWood, floors);
    // Each opening floored with pale wood, its grain running with the board's, and left out
    // under the controls' boxes.
    const std::vector<QRectF> boxes = controlBoxes(window);
    for (const QPainterPath &opening : openings) {
        const QRectF bounds = opening.boundingRect();
        surface.cutOpening(
            opening, seedOf("inlay") ^ std::uint32_t(int(bounds.top()) * 977 + int(bounds.left())),
            InlayWood, boxes);
    }
    surface.paint(painter);
    paintEdge(painter, board);

    if (about) {
        paintBanner(painter, ui::layout::AboutBanner);
        paintFan(painter, ui::layout::AboutFan);
    }
}

} // namespace art
