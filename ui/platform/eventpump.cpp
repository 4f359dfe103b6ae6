// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/eventpump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>

#include <chrono>

namespace platform {

namespace {

// Swallows the wake-up timer so that its event reaches no window.
class WakeTarget final : public QObject
{
protected:
    void timerEvent(QTimerEvent *) override { }
};

} // namespace

QtEventPump::QtEventPump()
    : wakeTarget_(std::make_unique<WakeTarget>())
{ }

QtEventPump::~QtEventPump() = default;

void QtEventPump::dispatch(std::uint32_t maxWaitMs)
{
    if (maxWaitMs == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // A one-shot precise timer bounds the wait: its expiry is itself an event, so the
    // blocking dispatch below returns at the deadline when nothing else arrives first.
    const int timer =
        wakeTarget_->startTimer(std::chrono::milliseconds(maxWaitMs), Qt::PreciseTimer);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (timer != 0)
        wakeTarget_->killTimer(timer);
}

} // namespace platform
