// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The signals that ask a program to end (SIGTERM at logout, shutdown or `kill`, SIGHUP when its
// terminal goes, SIGINT for Ctrl+C), delivered as an ordinary event on the event loop. The
// handler itself only writes a byte into a pipe; everything else runs where every other
// handler of the program runs, one at a time.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

class TerminationSignals final : public QObject
{
    Q_OBJECT

public:
    // Catches the signals from now on; needs the application object. Only one may exist.
    explicit TerminationSignals(QObject *parent = nullptr);
    // Gives the signals their default action back.
    ~TerminationSignals() override;

    [[nodiscard]] bool catching() const { return notifier_ != nullptr; }

signals:
    // Once for each signal that arrived.
    void received(int signal);

private:
    void drain();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace platform
