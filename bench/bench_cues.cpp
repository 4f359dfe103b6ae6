// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// How long starting a cue holds the user-interface thread: 200 cues, tick1 and tick2 in turn,
// 30 ms apart from a timer in a running event loop, as in the opening shuffle and the count.
// Needs a sound server with an output; run it as `bench/with-null-sink.sh build/bench/bench_cues`
// where there is none. Without an output it prints "no device" and no figure.
//
// Usage: bench_cues [directory holding the cue files]
#include "ui/platform/backgroundsoundplayer.h"
#include "ui/platform/pulsesoundplayer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

constexpr int Cues = 200;
constexpr int IntervalMs = 30;

[[nodiscard]] double ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

struct Timings
{
    std::vector<qint64> playNs; // time inside the call, per cue
    qint64 longestGapNs = 0;    // longest time between two timer ticks
};

// Starts the cues, tick1 and tick2 in turn, from a timer in a running event loop, and times
// each call.
Timings timeCues(const std::function<void(platform::Cue)> &play)
{
    Timings timings;
    QElapsedTimer clock;
    qint64 lastTick = -1;
    QTimer timer;
    timer.setInterval(IntervalMs);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTick >= 0)
            timings.longestGapNs = std::max(timings.longestGapNs, now - lastTick);
        lastTick = now;
        if (static_cast<int>(timings.playNs.size()) == Cues) {
            timer.stop();
            QCoreApplication::quit();
            return;
        }
        const platform::Cue cue = timings.playNs.size() % 2 == 0 ? platform::Cue::ShuffleFrame
                                                                 : platform::Cue::OpeningCard;
        const qint64 before = clock.nsecsElapsed();
        play(cue);
        timings.playNs.push_back(clock.nsecsElapsed() - before);
    });
    clock.start();
    timer.start();
    QCoreApplication::exec();
    return timings;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString dir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QUINTAGRID_SOUNDS_DIR);
    if (!QDir::setCurrent(dir)) {
        std::fprintf(stderr, "bench_cues: no directory %s\n", qPrintable(dir));
        return 1;
    }
    if (!platform::soundServerTakesAStream()) {
        std::printf("bench_cues: no device\n");
        return 0;
    }

    int alerts = 0;
    platform::PulseSoundPlayer player([&alerts] { ++alerts; });
    const Timings direct = timeCues([&](platform::Cue cue) { player.play(cue); });

    const qint64 first = direct.playNs.front();
    std::vector<qint64> rest(direct.playNs.begin() + 1, direct.playNs.end());
    std::sort(rest.begin(), rest.end());
    const qint64 median = rest[rest.size() / 2];
    const qint64 p95 = rest[rest.size() * 95 / 100];

    const QByteArray server = qgetenv("PULSE_SERVER");
    std::printf("bench_cues: %d cues, %s and %s in turn, every %d ms, on \"%s\"\n", Cues,
                platform::fileNameOf(platform::Cue::ShuffleFrame),
                platform::fileNameOf(platform::Cue::OpeningCard), IntervalMs,
                server.isEmpty() ? "the default sound server" : server.constData());
    std::printf("  first cue (reads the file): %.3f ms\n", ms(first));
    std::printf("  play() over the other %zu:  median %.3f ms, 95%% %.3f ms, max %.3f ms\n",
                rest.size(), ms(median), ms(p95), ms(rest.back()));
    std::printf("  longest gap between ticks:  %.1f ms (asked for %d)\n", ms(direct.longestGapNs),
                IntervalMs);
    std::printf("  streams opened: %d, alerts: %d, files read: %d\n", player.streamOpenings(),
                alerts, player.loads());

    // The game starts its cues through the sound thread: what that costs the caller.
    std::atomic<int> threadAlerts = 0;
    platform::BackgroundSoundPlayer background([&threadAlerts] {
        return std::make_unique<platform::PulseSoundPlayer>([&threadAlerts] { ++threadAlerts; });
    });
    Timings posted = timeCues([&](platform::Cue cue) { background.play(cue); });
    std::sort(posted.playNs.begin(), posted.playNs.end());
    std::printf("through the sound thread, as the game plays them:\n");
    std::printf("  play() on the caller's thread: median %.3f ms, max %.3f ms\n",
                ms(posted.playNs[posted.playNs.size() / 2]), ms(posted.playNs.back()));
    std::printf("  longest gap between ticks:  %.1f ms (asked for %d), alerts: %d\n",
                ms(posted.longestGapNs), IntervalMs, threadAlerts.load());
    return 0;
}
