// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/backgroundsoundplayer.h"

#include "ui/platform/environment.h"
#include "ui/platform/soundmodule.h"

#include <QApplication>
#include <QThread>

#include <mutex>
#include <shared_mutex>

namespace platform {

struct BackgroundSoundPlayer::Worker final : public QObject
{
    std::unique_ptr<SoundPlayer> player;
};

namespace {

// How long the end of the program waits for the sound thread to stop before leaving it.
constexpr int GiveUpMs = 2000;

// The desktop's alert belongs to the user-interface thread.
void alertOnUiThread()
{
    QMetaObject::invokeMethod(qApp, [] { QApplication::beep(); }, Qt::QueuedConnection);
}

} // namespace

BackgroundSoundPlayer::BackgroundSoundPlayer(Factory factory)
    : factory_(std::move(factory))
{ }

void BackgroundSoundPlayer::start()
{
    thread_ = new QThread;
    worker_ = new Worker;
    thread_->setObjectName(QStringLiteral("sound cues"));
    worker_->moveToThread(thread_);
    // Sounds are made and dropped on the thread that plays them: the worker goes when the
    // thread's loop has ended, still on that thread.
    QObject::connect(
        thread_, &QThread::finished, worker_, [worker = worker_] { delete worker; },
        Qt::DirectConnection);
    thread_->start();
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, factory = std::move(factory_)] {
            const std::shared_lock reading(environmentLock()); // the module loader reads it
            worker->player = factory ? factory() : loadSoundPlayer(alertOnUiThread);
        },
        Qt::QueuedConnection);
}

BackgroundSoundPlayer::~BackgroundSoundPlayer()
{
    if (thread_ == nullptr)
        return;
    thread_->quit();
    if (thread_->wait(QDeadlineTimer(GiveUpMs))) {
        delete thread_;
        return;
    }
    // The sound server has stopped answering. Rather than hold up the end of the program, the
    // thread is left to finish on its own and is deleted then, if the program still runs.
    QObject::connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
    if (thread_->isFinished())
        delete thread_; // it finished just now; a deletion already queued is dropped with it
}

void BackgroundSoundPlayer::play(Cue cue)
{
    if (thread_ == nullptr)
        start();
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, cue] {
            // A cue may connect to the sound server, whose client library reads the environment.
            const std::shared_lock reading(environmentLock());
            if (worker->player)
                worker->player->play(cue);
        },
        Qt::QueuedConnection);
}

} // namespace platform
