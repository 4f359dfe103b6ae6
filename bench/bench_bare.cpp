// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for bench_startup: the least a Qt Widgets program does to show a window of the main
// window's size with one line of bold text, measured the same way. It links Qt Widgets alone.
#include "bench/firstpaint.h"

#include "ui/layout.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintagrid"));

    QWidget window;
    window.setFixedSize(ui::layout::frmQuintagrid.size());
    QLabel label(QStringLiteral("Quintagrid from Mossgrovity"), &window);
    QFont bold = label.font();
    bold.setBold(true);
    label.setFont(bold);
    label.move(16, 16);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());

    bench::FirstPaint firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    QApplication::exec();
    firstPaint.print();
    return 0;
}
