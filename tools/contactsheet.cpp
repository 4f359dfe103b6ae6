// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes contact sheets of the artwork: every card, every button face released and pressed,
// the four pointers and the program icon, at device pixel ratios 1 and 2.
//
// Usage: quintagrid_contactsheet <out-dir>
#include "ui/art/art.h"
#include "ui/frmcards.h"
#include "ui/look.h"
#include "ui/picture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <array>

namespace {

constexpr int Margin = 16;
constexpr int Gap = 6;
constexpr QColor Sheet {58, 58, 62};
constexpr QColor Caption {220, 220, 220};
constexpr std::array<int, 7> IconSides = {16, 24, 32, 48, 64, 128, 256};

void caption(QPainter &painter, int x, int y, const QString &text)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Caption);
    painter.drawText(x, y, text);
}

// A tile of each surface a pointer is shown over, with the pointer on it; the last tile marks
// the hot spot with red ticks around (not over) its pixel.
void pointerTiles(QPainter &painter, int x, int y, art::Pointer pointer, qreal ratio)
{
    const ui::PictureRef picture = std::make_shared<ui::Picture>(
        QString(), art::PointerSize, [pointer](QPainter &p) { art::paintPointer(p, pointer); });
    const QPixmap hand = picture->pixmap(ratio);
    const std::array<QColor, 3> surfaces = {ui::bgrColour(ui::ControlBackColour),
                                            QColor(128, 82, 44), Qt::white};
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        const QRect tile(x + int(i) * 40, y, 36, 36);
        painter.fillRect(tile, surfaces[i]);
        painter.drawPixmap(tile.topLeft() + QPoint(2, 2), hand);
        if (i == surfaces.size() - 1) {
            const QPoint hot = tile.topLeft() + QPoint(2, 2) + art::pointerHotSpot(pointer);
            painter.fillRect(QRectF(hot.x() - 3, hot.y(), 2, 1), Qt::red);
            painter.fillRect(QRectF(hot.x(), hot.y() - 3, 1, 2), Qt::red);
        }
    }
}

QImage sheet(const ui::frmCards &store, qreal ratio)
{
    const QSize size(13 * (48 + Gap) + 2 * Margin, 900);
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Sheet);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    int y = Margin + 12;
    caption(painter, Margin, y, QStringLiteral("Cards at %1x").arg(ratio));
    y += 8;
    for (int index = 0; index < game::DeckSize; ++index) {
        const QPoint at(Margin + (index % 13) * (48 + Gap), y + (index / 13) * (64 + Gap));
        painter.drawPixmap(at, store.picCard(index)->pixmap(ratio));
    }
    y += 4 * (64 + Gap) + 22;

    caption(painter, Margin, y, QStringLiteral("Button faces, released and pressed"));
    y += 8;
    for (std::size_t column = 0; column < ui::ButtonFaces.size(); ++column) {
        for (int row = 0; row < 2; ++row) {
            const ui::Face face =
                row == 0 ? ui::ButtonFaces[column].released : ui::ButtonFaces[column].pressed;
            const QPoint at(Margin + int(column) * (81 + Gap + 6), y + row * (25 + Gap + 6));
            painter.fillRect(QRect(at - QPoint(3, 3), QSize(87, 31)), QColor(232, 204, 156));
            painter.drawPixmap(at, store.picture(face)->pixmap(ratio));
        }
    }
    y += 2 * (25 + Gap + 6) + 20;

    caption(painter, Margin, y,
            QStringLiteral("Pointers: grab, point, place, open (hot spot ticked)"));
    y += 8;
    int x = Margin;
    for (art::Pointer pointer :
         {art::Pointer::Grab, art::Pointer::Point, art::Pointer::Place, art::Pointer::Open}) {
        pointerTiles(painter, x, y, pointer, ratio);
        x += 3 * 40 + 20;
    }
    y += 36 + 30;

    caption(painter, Margin, y, QStringLiteral("Icon at 16, 24, 32, 48, 64, 128 and 256"));
    y += 8;
    x = Margin;
    for (int side : IconSides) {
        const QPixmap icon = ui::renderPixmap(QSize(side, side), ratio,
                                              [side](QPainter &p) { art::paintIcon(p, side); });
        painter.drawPixmap(x, y, icon);
        x += side + 12;
    }
    painter.end();
    return image.copy(QRect(QPoint(0, 0), QSize(size.width(), y + 256 + Margin) * ratio));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: quintagrid_contactsheet <out-dir>\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }

    for (qreal ratio : {1.0, 2.0}) {
        // A fresh store for each ratio, so the time below is the whole store's drawing.
        const ui::frmCards store;
        QElapsedTimer timer;
        timer.start();
        for (int index = 0; index < game::DeckSize; ++index)
            (void)store.picCard(index)->pixmap(ratio);
        for (const ui::FacePair faces : ui::ButtonFaces) {
            (void)store.picture(faces.released)->pixmap(ratio);
            (void)store.picture(faces.pressed)->pixmap(ratio);
        }
        QTextStream(stdout) << "store drawn at " << ratio << "x in " << timer.elapsed() << " ms\n";

        const QString file = out.filePath(QStringLiteral("contactsheet-%1x.png").arg(int(ratio)));
        if (!sheet(store, ratio).save(file)) {
            err << "cannot write " << file << "\n";
            return 1;
        }
        QTextStream(stdout) << file << "\n";
    }
    return 0;
}
