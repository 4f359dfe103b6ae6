// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Picture button faces: a wooden plate with a bevelled edge and a yellow word.
#include "ui/art/art.h"
#include "ui/art/drawing.h"

#include <QPainter>

namespace art {

using namespace drawing;

namespace {

// The widest word must fit between the bevels with room to spare. A word wider than that in
// the lettering face is narrowed to fit: the face's own condensed cut would cost a second font
// at start-up for the one word that needs it.
constexpr qreal LetteringWidth = 68;
constexpr qreal LetteringSize = 13;

} // namespace

QPainterPath buttonLettering(std::string_view word)
{
    const QRectF face(QPointF(0, 0), FaceSize);
    const QString text = QString::fromUtf8(word.data(), qsizetype(word.size()));
    QPainterPath path = letteringPath(text, letteringFont(LetteringSize), face.center());
    if (path.boundingRect().width() > LetteringWidth) {
        const qreal squeeze = LetteringWidth / path.boundingRect().width();
        const QPointF c = face.center();
        path = QTransform()
                   .translate(c.x(), c.y())
                   .scale(squeeze, 1)
                   .translate(-c.x(), -c.y())
                   .map(path);
    }
    return path;
}

void paintButtonFace(QPainter &painter, std::string_view word, const QPainterPath &lettering,
                     bool pressed)
{
    const QRectF face(QPointF(0, 0), FaceSize);
    const QRectF plate = face.adjusted(1, 1, -1, -1);

    // The same grain for both states of one button: only the light changes.
    paintWood(painter, plate, seedOf(word), PlateWood);
    if (pressed)
        painter.fillRect(plate, QColor(40, 20, 0, 46));
    paintBevel(painter, plate, 2, QColor(255, 226, 170, 190), QColor(52, 26, 6, 170), pressed);
    // A fine inner line where the bevel meets the plate.
    paintBevel(painter, plate.adjusted(2, 2, -2, -2), 1, QColor(255, 236, 190, 60),
               QColor(60, 30, 8, 60), pressed);

    painter.save();
    painter.setPen(QPen(QColor(36, 18, 4), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(face.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();

    // Copied element by element before anything reads it: the outline may be shared with a
    // face being drawn on another thread, and a path works out its bounds when first asked.
    QPainterPath path;
    path.addPath(lettering);
    if (pressed)
        path.translate(1, 1);
    paintLettering(painter, path, 2.6);
}

void paintButtonFace(QPainter &painter, std::string_view word, bool pressed)
{
    paintButtonFace(painter, word, buttonLettering(word), pressed);
}

} // namespace art
