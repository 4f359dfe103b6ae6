// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The whole count-up of a board through the real tick counter, event pump and paced wait, with
// sound off: how long it takes against the time its waits ask for, and how much processor
// time it uses while it waits.
#include "game/numbertext.h"
#include "scoring/scoring.h"
#include "ui/platform/eventpump.h"
#include "ui/platform/pacedwait.h"
#include "ui/platform/soundplayer.h"
#include "ui/platform/tickcounter.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>

namespace {

// Plays nothing; counts what it was asked to play.
class SilentSoundPlayer final : public platform::SoundPlayer
{
public:
    void play(platform::Cue) override { ++cues; }
    int cues = 0;
};

// Keeps the label texts as the window would, plays through the sound player, waits for real.
class BenchDisplay final : public scoring::TallyDisplay
{
public:
    BenchDisplay(platform::SoundPlayer &sound, platform::PacedWait &pacer)
        : sound_(sound)
        , pacer_(pacer)
    { }
    void showRowPoints(int row, std::int16_t value) override
    {
        rows[row] = game::numberText(value);
    }
    void showColumnPoints(int column, std::int16_t value) override
    {
        columns[column] = game::numberText(value);
    }
    void showTotal(std::int16_t value) override { total = game::numberText(value); }
    void playCue(game::Cue cue) override { sound_.play(cue); }
    bool wait(int ms) override
    {
        ++waits;
        return pacer_.wait(std::uint32_t(ms));
    }

    std::string rows[5];
    std::string columns[5];
    std::string total;
    int waits = 0;

private:
    platform::SoundPlayer &sound_;
    platform::PacedWait &pacer_;
};

double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

struct Run
{
    int total = 0;
    int waits = 0;
    int cues = 0;
    double idealMs = 0;
    double wallMs = 0;
    double cpuMs = 0;
};

Run countUp(std::int16_t linePoints)
{
    platform::SteadyTickCounter ticks;
    platform::QtEventPump pump;
    platform::PacedWait pacer(ticks, pump);
    SilentSoundPlayer sound;
    BenchDisplay display(sound, pacer);

    scoring::Line8 lines {};
    for (int k = 0; k <= 4; ++k)
        lines[k] = linePoints;

    const double cpu0 = processCpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    const std::optional<std::int16_t> total = scoring::countUp(lines, lines, display);
    const std::chrono::duration<double, std::milli> wall = std::chrono::steady_clock::now() - wall0;
    const double cpu = processCpuSeconds() - cpu0;

    Run run;
    run.total = total.value_or(-1);
    run.waits = display.waits;
    run.cues = sound.cues;
    run.idealMs = 30.0 * (2 * run.total + 11) + 11 * 100.0;
    run.wallMs = wall.count();
    run.cpuMs = cpu * 1000.0;
    return run;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);

    std::printf("Count-up through the real paced wait, sound off\n");
    std::printf("ideal = 30 ms x (2T + 11) + 11 x 100 ms for a total T\n\n");
    std::printf("%-28s %4s %5s %5s %9s %9s %8s %9s %8s %6s\n", "board", "T", "waits", "cues",
                "ideal ms", "wall ms", "over ms", "over/wait", "CPU ms", "CPU %");

    const struct
    {
        const char *name;
        std::int16_t linePoints;
    } boards[] = {
        {"every line a straight flush", scoring::StraightFlush},
        {"every line worth nothing", scoring::Nothing},
    };
    for (const auto &board : boards) {
        const Run run = countUp(board.linePoints);
        const double over = run.wallMs - run.idealMs;
        std::printf("%-28s %4d %5d %5d %9.0f %9.1f %8.1f %9.3f %8.1f %6.2f\n", board.name,
                    run.total, run.waits, run.cues, run.idealMs, run.wallMs, over, over / run.waits,
                    run.cpuMs, 100.0 * run.cpuMs / run.wallMs);
        std::fflush(stdout);
    }
    return 0;
}
