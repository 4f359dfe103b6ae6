// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the program icon for the desktop's icon theme: PNGs at the usual sizes and a scalable
// SVG, all from the same painter the windows use.
//
//   quintagrid_makeicons <out-dir>
//
// creates <out-dir>/<n>x<n>/apps/quintagrid.png and <out-dir>/scalable/apps/quintagrid.svg.
#include "ui/art/art.h"
#include "ui/art/render.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <out-dir>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(side);
        if (!out.mkpath(folder))
            return 1;
        const QImage icon = art::renderImage(QSize(side, side), 1.0,
                                             [side](QPainter &p) { art::paintIcon(p, side); });
        if (!icon.save(out.filePath(folder + QStringLiteral("/quintagrid.png"))))
            return 1;
    }

    if (!out.mkpath(QStringLiteral("scalable/apps")))
        return 1;
    constexpr int side = 256;
    QSvgGenerator svg;
    svg.setFileName(out.filePath(QStringLiteral("scalable/apps/quintagrid.svg")));
    svg.setSize(QSize(side, side));
    svg.setViewBox(QRect(0, 0, side, side));
    svg.setTitle(QStringLiteral("Quintagrid"));
    svg.setDescription(QStringLiteral("A miniature card grid on green"));
    QPainter painter(&svg);
    painter.setRenderHint(QPainter::Antialiasing);
    art::paintIcon(painter, side);
    return painter.end() ? 0 : 1;
}
