// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up figures of bench_startup and bench_bare, measured alike: the starting process
// passes the moment it started the program in QUINTAGRID_BENCH_T0 (CLOCK_MONOTONIC,
// nanoseconds); the program stamps the end of its window's first paint, leaves its event loop
// and prints the time since then and its peak memory so far.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <sys/resource.h>

namespace bench {

inline long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Notes the end of the watched window's first paint and ends the event loop.
class FirstPaint final : public QObject
{
public:
    long long at = 0;
    long peakKib = 0;

    // After the event loop has returned.
    void print() const
    {
        const char *t0 = std::getenv("QUINTAGRID_BENCH_T0");
        if (t0 != nullptr)
            std::printf("first_paint_ms %.1f\n", double(at - std::atoll(t0)) / 1e6);
        std::printf("rss_at_first_paint_mb %.1f\n", double(peakKib) / 1024.0);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && at == 0) {
            // The paint handler runs after this filter: stamp once the event is done.
            QTimer::singleShot(0, this, [this] {
                at = monotonicNs();
                // Now: what the loop still runs before it returns is no longer the start.
                rusage usage {};
                getrusage(RUSAGE_SELF, &usage);
                peakKib = usage.ru_maxrss;
                QCoreApplication::exit(0); // no Quit event, which the game answers itself
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace bench
