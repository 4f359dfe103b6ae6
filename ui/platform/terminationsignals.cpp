// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/terminationsignals.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::array CaughtSignals {SIGTERM, SIGHUP, SIGINT};

// The pipe the handler writes into: read end, write end. Made once and kept open for the life
// of the process: a handler still running on another thread while the signals are given back
// then never writes into a closed descriptor, nor into one that a file has been given since.
int pipeEnds[2] = {-1, -1};

// What each signal did before it was caught, to give it back; only those caught are restored.
std::array<struct sigaction, CaughtSignals.size()> previous {};
std::array<bool, CaughtSignals.size()> caught {};

extern "C" void wakeEventLoop(int signal)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds enough wake-ups; nothing to do about a failure here.
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

// Reads whatever the pipe holds now; calls `each` for every signal number in it.
template<typename Each>
void readPipe(Each each)
{
    unsigned char bytes[16];
    ssize_t n = 0;
    while ((n = ::read(pipeEnds[0], bytes, sizeof bytes)) > 0 || (n < 0 && errno == EINTR)) {
        for (ssize_t i = 0; i < n; ++i)
            each(bytes[i]);
    }
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (pipeEnds[0] < 0 && ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    readPipe([](int) { }); // what came after an earlier owner had stopped listening
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    for (std::size_t i = 0; i < CaughtSignals.size(); ++i) {
        struct sigaction action {};
        action.sa_handler = wakeEventLoop;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        // A signal ignored when the game started (by nohup, or for a background job) stays
        // ignored: whoever started the game asked for that.
        caught[i] = ::sigaction(CaughtSignals[i], nullptr, &previous[i]) == 0
            && ((previous[i].sa_flags & SA_SIGINFO) != 0 || previous[i].sa_handler != SIG_IGN)
            && ::sigaction(CaughtSignals[i], &action, nullptr) == 0;
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier_)
        return;
    for (std::size_t i = 0; i < CaughtSignals.size(); ++i) {
        if (std::exchange(caught[i], false))
            ::sigaction(CaughtSignals[i], &previous[i], nullptr);
    }
    delete notifier_;
}

void TerminationSignals::drain()
{
    readPipe([this](int signal) { emit received(signal); });
}

QuitRequests::QuitRequests(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool QuitRequests::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit)
        return false;
    emit requested();
    return true;
}

} // namespace platform
