// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the platform operations, so that tests control time, chance and answers.
#pragma once

#include "ui/platform/eventpump.h"
#include "ui/platform/randomsource.h"
#include "ui/platform/soundplayer.h"
#include "ui/platform/tickcounter.h"
#include "ui/platform/windowsystem.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace support {

// A tick counter that moves only when told. As an event pump it dispatches what is pending
// without blocking and then lets the time it would have waited pass at once, so a paced wait
// of 30 ms takes one dispatch and no real time.
class FakeClock final : public platform::TickCounter, public platform::EventPump
{
public:
    explicit FakeClock(std::uint32_t start = 0)
        : now_(start)
    { }

    [[nodiscard]] std::uint32_t now() override { return now_; }
    void advance(std::uint32_t ms) { now_ += ms; }

    void dispatch(std::uint32_t maxWaitMs) override;

    // Runs before each dispatch returns, with the number of dispatches so far (from 1).
    std::function<void(int)> onDispatch;

    int dispatches = 0;
    std::vector<std::uint32_t> waitsAsked; // maxWaitMs of every dispatch

private:
    std::uint32_t now_;
};

// Remembers every cue it is asked to play, in order.
class RecordingSoundPlayer final : public platform::SoundPlayer
{
public:
    void play(platform::Cue cue) override { played.push_back(cue); }
    [[nodiscard]] int count(platform::Cue cue) const;

    std::vector<platform::Cue> played;
};

// A seeded source whose start-up seeding keeps the pinned seed, so a test's deal is fixed.
class PinnedRandom final : public platform::RandomSource
{
public:
    explicit PinnedRandom(std::uint64_t seed)
        : seed_(seed)
        , source_(seed)
    { }
    void seedFromClock() override { source_.seed(seed_); }
    [[nodiscard]] double uniform() override { return source_.uniform(); }

private:
    std::uint64_t seed_;
    platform::SeededRandom source_;
};

// Answers questions from a script and records what the program asked of the window system.
class FakeWindowSystem final : public platform::WindowSystem
{
public:
    [[nodiscard]] int askYesNo(QWidget *owner, const QString &text, const QString &title) override;
    void setOwner(QWidget *window, QWidget *owner,
                  std::function<void(bool activated)> cameForward) override
    {
        owners[window] = owner;
        ownerCameForward[window] = std::move(cameForward);
    }
    void bringToFront(QWidget *window) override
    {
        raised.push_back(window);
        if (onRaise)
            onRaise(window);
    }
    void giveFocus(QWidget *window) override { window->activateWindow(); }
    void endProcess() override { ++endings; }

    std::deque<int> answers; // the next answers; Yes when empty
    QStringList questions;   // "title: text" of every question asked
    std::vector<QWidget *> raised;
    std::map<QWidget *, QWidget *> owners;                           // window: its owner
    std::map<QWidget *, std::function<void(bool)>> ownerCameForward; // call to tell a window
    int endings = 0;
    std::function<void()> whileAsking;      // runs while a question is open
    std::function<void(QWidget *)> onRaise; // runs whenever a window is brought to the front
};

} // namespace support
