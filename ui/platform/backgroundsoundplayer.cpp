// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "backgroundsoundplayer.h"

#include "qtsoundplayer.h"

#include <QApplication>
#include <QThread>

namespace platform {

struct BackgroundSoundPlayer::Worker final : public QObject
{
    std::unique_ptr<SoundPlayer> player;
};

namespace {

std::unique_ptr<SoundPlayer> qtPlayer()
{
    // The desktop's alert belongs to the user-interface thread.
    return std::make_unique<QtSoundPlayer>([] {
        QMetaObject::invokeMethod(
            qApp, [] { QApplication::beep(); }, Qt::QueuedConnection);
    });
}

} // namespace

BackgroundSoundPlayer::BackgroundSoundPlayer(Factory factory)
    : thread_(new QThread)
    , worker_(new Worker)
{
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
        [worker = worker_, factory = std::move(factory)] {
            worker->player = factory ? factory() : qtPlayer();
        },
        Qt::QueuedConnection);
}

BackgroundSoundPlayer::~BackgroundSoundPlayer()
{
    thread_->quit();
    if (thread_->wait(QDeadlineTimer(2000))) {
        delete thread_;
        return;
    }
    // The sound server has stopped answering. Rather than hold up the end of the program, the
    // thread is left to finish on its own and is deleted then, if the program still runs.
    QObject::connect(thread_, &QThread::finished, thread_, &QObject::deleteLater);
    if (thread_->isFinished())
        delete thread_; // it finished just now; a deletion already queued is dropped with it
}

void BackgroundSoundPlayer::play(const char *fileName)
{
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, name = std::string(fileName)] {
            if (worker->player)
                worker->player->play(name.c_str());
        },
        Qt::QueuedConnection);
}

} // namespace platform
