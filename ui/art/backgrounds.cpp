// Window backgrounds: a wooden board with an opening wherever the layout puts a control.
#include "art.h"
#include "drawing.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
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

// An opening floored with pale wood, its grain running with the board's.
void paintInlay(QPainter &painter, const QPainterPath &opening)
{
    const QRectF bounds = opening.boundingRect();
    painter.save();
    painter.setClipPath(opening, Qt::IntersectClip);
    paintWood(painter, bounds,
              seedOf("inlay") ^ std::uint32_t(int(bounds.top()) * 977 + int(bounds.left())),
              InlayWood);
    painter.restore();
    paintCutOut(painter, opening, Qt::NoBrush);
}

void paintBoard(QPainter &painter, const QRectF &board, std::string_view name)
{
    paintWood(painter, board, seedOf(name), BoardWood);
    // The board's own edge: raised, with a dark rim.
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
    for (const QPainterPath &opening :
         openingsAround({banner.adjusted(Reach, Reach, -Reach, -Reach)}))
        paintCutOut(painter, opening, cloth(banner));
    const QRectF cloth = banner.adjusted(5.5, 5.5, -5.5, -5.5);
    painter.save();
    painter.setPen(QPen(Gold, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(cloth, 2, 2);
    painter.setPen(QPen(QColor(Gold.red(), Gold.green(), Gold.blue(), 110), 1));
    painter.drawRoundedRect(cloth.adjusted(2, 2, -2, -2), 1.5, 1.5);

    const QPainterPath title = letteringPath(QStringLiteral("Quintagrid"),
                                             letteringFont(30, false, true), banner.center());
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
    for (const QPainterPath &opening :
         openingsAround({area.adjusted(Reach, Reach, -Reach, -Reach)}))
        paintCutOut(painter, opening, cloth(area));

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
        letteringPath(QStringLiteral("Straight Flush"), letteringFont(21, false, true), captionAt);
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
    paintBoard(painter, board, window.name);

    for (const QPainterPath &opening : openingsAround(panels(window)))
        paintInlay(painter, opening);

    if (window.name == ui::layout::frmAbout.name) {
        paintBanner(painter, ui::layout::AboutBanner);
        paintFan(painter, ui::layout::AboutFan);
    }
}

} // namespace art
