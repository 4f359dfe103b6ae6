// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// How long the game takes from being started to a painted board, and how much memory it needs
// by then. Run by bench/report.py under an X server: the starting process passes the moment it
// started the program in QUINTAGRID_BENCH_T0 (CLOCK_MONOTONIC, nanoseconds); this program
// starts exactly as the game does and prints the time of its first painted main window.
#include "ui/application.h"
#include "ui/frmquintagrid.h"

#include "platform/windowsystem.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <sys/resource.h>

namespace {

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Notes the end of the main window's first paint.
class FirstPaint final : public QObject
{
public:
    long long at = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && at == 0) {
            // The paint handler runs after this filter: stamp once the event is done.
            QTimer::singleShot(0, this, [this] {
                at = monotonicNs();
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    platform::preferX11WhereAvailable();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintagrid"));

    ui::Application application;
    FirstPaint firstPaint;
    application.mainWindow().installEventFilter(&firstPaint);
    application.start();
    QApplication::exec();

    const char *t0 = std::getenv("QUINTAGRID_BENCH_T0");
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    if (t0 != nullptr)
        std::printf("first_paint_ms %.1f\n", double(firstPaint.at - std::atoll(t0)) / 1e6);
    std::printf("rss_at_first_paint_mb %.1f\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
