// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The opening shuffle's 26 paced waits of 30 ms through the real tick counter and event loop:
// how long they take against the ideal 780 ms, how far each wait overshoots, and how much CPU
// time the waiting costs.
#include "ui/platform/eventpump.h"
#include "ui/platform/pacedwait.h"
#include "ui/platform/tickcounter.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::SteadyTickCounter ticks;
    platform::QtEventPump pump;
    platform::PacedWait pacer(ticks, pump);

    constexpr int runs = 5;
    constexpr int frames = 26;
    constexpr int frameMs = 30;
    std::vector<double> walls, cpus, overshoots;
    for (int run = 0; run < runs; ++run) {
        using clock = std::chrono::steady_clock;
        const double cpu0 = cpuMs();
        const auto start = clock::now();
        for (int frame = 0; frame < frames; ++frame) {
            const auto before = clock::now();
            pacer.wait(frameMs);
            const std::chrono::duration<double, std::milli> took = clock::now() - before;
            overshoots.push_back(took.count() - frameMs);
        }
        const std::chrono::duration<double, std::milli> wall = clock::now() - start;
        walls.push_back(wall.count());
        cpus.push_back(cpuMs() - cpu0);
    }

    const double ideal = frames * frameMs;
    std::printf("opening shuffle, %d runs of %d waits of %d ms\n", runs, frames, frameMs);
    std::printf("  wall time      median %7.1f ms   ideal %5.0f ms   ratio %.3f\n", median(walls),
                ideal, median(walls) / ideal);
    std::printf("  overshoot      median %7.3f ms   max %7.3f ms\n", median(overshoots),
                *std::max_element(overshoots.begin(), overshoots.end()));
    std::printf("  CPU time       median %7.2f ms   = %.2f %% of one core\n", median(cpus),
                100.0 * median(cpus) / median(walls));
    return 0;
}
