// Plain first drawings, enough to play with.
#include "art.h"

#include <QFont>
#include <QPainter>

namespace art {

void paintCard(QPainter &painter, game::CardId id)
{
    painter.fillRect(QRect(QPoint(0, 0), CardSize), QColor(0, 80, 0));
    painter.setPen(Qt::gray);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 47, 63), 4, 4);
    const int suit = game::suitBlock(id);
    painter.setPen(game::isRed(suit) ? QColor(200, 0, 0) : Qt::black);
    QFont font("DejaVu Sans");
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    static constexpr const char *suits[] = {"\u2665", "\u2660", "\u2666", "\u2663"};
    painter.drawText(QRect(0, 0, 48, 64), Qt::AlignCenter,
                     QString::fromStdString(game::rankIndex(game::rankNumber(id))) + "\n"
                         + QString::fromUtf8(suits[suit]));
}

void paintButtonFace(QPainter &painter, std::string_view word, bool pressed)
{
    const QRect r(QPoint(0, 0), FaceSize);
    painter.fillRect(r, QColor(150, 100, 50));
    painter.setPen(pressed ? QColor(60, 30, 10) : QColor(230, 190, 130));
    painter.drawLine(0, 0, 80, 0);
    painter.drawLine(0, 0, 0, 24);
    painter.setPen(pressed ? QColor(230, 190, 130) : QColor(60, 30, 10));
    painter.drawLine(0, 24, 80, 24);
    painter.drawLine(80, 0, 80, 24);
    painter.setPen(Qt::yellow);
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(r.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter,
                     QString::fromUtf8(word.data(), qsizetype(word.size())));
}

void paintBackground(QPainter &painter, const ui::layout::WindowLayout &window)
{
    painter.fillRect(QRect(QPoint(0, 0), window.size()), QColor(120, 80, 40));
    for (const auto &control : window.controls)
        painter.fillRect(control.rect().adjusted(-2, -2, 2, 2), QColor(200, 170, 120));
}

void paintPointer(QPainter &painter, Pointer)
{
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(8, 0, 10, 10));
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

void paintIcon(QPainter &painter, int side)
{
    painter.fillRect(QRect(0, 0, side, side), QColor(0, 128, 0));
}

} // namespace art
