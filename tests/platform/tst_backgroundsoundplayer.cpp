// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Cues handed to the sound thread: in order, never holding up the caller, and never holding
// up the end of the program.
#include "ui/platform/backgroundsoundplayer.h"

#include <QDir>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <atomic>
#include <mutex>
#include <vector>

using platform::Cue;

namespace {

// What the inner player saw, shared with the test; the player itself lives on the sound thread.
struct Log
{
    std::mutex mutex;
    std::vector<platform::Cue> cues;
    std::vector<QThread *> threads;
    QSemaphore gate {1'000'000}; // play() takes one permit per cue: drain it to hold cues up
    std::atomic<bool> destroyed = false;
    std::atomic<int> entered = 0; // cues the player has begun

    std::vector<platform::Cue> seen()
    {
        std::lock_guard lock(mutex);
        return cues;
    }
};

class LoggingPlayer final : public platform::SoundPlayer
{
public:
    explicit LoggingPlayer(Log &log)
        : log_(log)
    { }
    ~LoggingPlayer() override { log_.destroyed = true; }

    void play(platform::Cue cue) override
    {
        ++log_.entered;
        log_.gate.acquire();
        std::lock_guard lock(log_.mutex);
        log_.cues.push_back(cue);
        log_.threads.push_back(QThread::currentThread());
    }

private:
    Log &log_;
};

// The threads the kernel lists for this process.
[[nodiscard]] int threadsInProcess()
{
    return int(QDir(QStringLiteral("/proc/self/task"))
                   .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                   .size());
}

} // namespace

class BackgroundSoundPlayerTest : public QObject
{
    Q_OBJECT

private slots:
    void nothingIsMadeBeforeTheFirstCue()
    {
        std::atomic<bool> made = false;
        const int before = threadsInProcess();
        platform::BackgroundSoundPlayer player([&made] {
            made = true;
            return std::unique_ptr<platform::SoundPlayer>();
        });
        QCOMPARE(threadsInProcess(), before);
        player.play(Cue::ShuffleFrame);
        QCOMPARE(threadsInProcess(), before + 1);
        QTRY_VERIFY(made.load());
    }

    void cuesArriveInOrderOnTheSoundThread()
    {
        Log log;
        {
            platform::BackgroundSoundPlayer player(
                [&log] { return std::make_unique<LoggingPlayer>(log); });
            for (int k = 0; k < 50; ++k)
                player.play(k % 2 == 0 ? Cue::ShuffleFrame : Cue::HighScore);
            QTRY_COMPARE(int(log.seen().size()), 50);
        }
        QVERIFY(log.destroyed);
        for (int k = 0; k < 50; ++k)
            QCOMPARE(log.cues[k], k % 2 == 0 ? Cue::ShuffleFrame : Cue::HighScore);
        for (QThread *thread : log.threads) {
            QVERIFY(thread != QThread::currentThread());
            QCOMPARE(thread, log.threads.front());
        }
    }

    void aStuckPlayerNeverHoldsUpTheCaller()
    {
        Log log;
        log.gate.acquire(log.gate.available()); // every cue now blocks on the sound thread
        platform::BackgroundSoundPlayer player(
            [&log] { return std::make_unique<LoggingPlayer>(log); });
        for (int k = 0; k < 5; ++k)
            player.play(Cue::CountStep); // returns although no cue can be played
        QVERIFY(log.seen().empty());
        log.gate.release(5);
        QTRY_COMPARE(int(log.seen().size()), 5);
    }

    void aStuckPlayerDoesNotKeepTheProgramFromEnding()
    {
        Log log;
        log.gate.acquire(log.gate.available());
        {
            platform::BackgroundSoundPlayer player(
                [&log] { return std::make_unique<LoggingPlayer>(log); });
            player.play(Cue::CountStep);
            QTRY_COMPARE(log.entered.load(), 1);
        } // returns after a short bounded wait although the cue is still stuck
        QVERIFY(!log.destroyed);
        // When the server answers at last, the thread ends and cleans up after itself.
        log.gate.release(1);
        QTRY_VERIFY(log.destroyed.load());
    }
};

QTEST_MAIN(BackgroundSoundPlayerTest)
#include "tst_backgroundsoundplayer.moc"
