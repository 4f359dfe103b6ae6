// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// How long the game takes from being started to a painted board, and how much memory it needs
// by then (see firstpaint.h). Run by bench/report.py under an X server, in turn with bench_bare.
#include "bench/firstpaint.h"

#include "ui/application.h"
#include "ui/frmquintagrid.h"

#include "ui/platform/instancelock.h"
#include "ui/platform/terminationsignals.h"
#include "ui/platform/windowsystem.h"

#include <QApplication>
#include <QDir>

// What main.cpp does before the event loop, in the same order.
int main(int argc, char *argv[])
{
    platform::preferX11WhereAvailable();
    platform::InstanceLock lock(QDir::currentPath(), platform::runtimeDirectory(),
                                platform::activationToken());
    if (lock.claim() == platform::InstanceLock::Claim::Handed)
        return 1;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintagrid"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("quintagrid"));

    ui::Application application;
    const platform::TerminationSignals termination;
    const platform::QuitRequests quitRequests;
    lock.listen();
    bench::FirstPaint firstPaint;
    application.mainWindow().installEventFilter(&firstPaint);
    application.start();
    QApplication::exec();
    firstPaint.print();
    return 0;
}
