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
    // Catches the signals from now on, but for those that were ignored when it was made: they
    // stay ignored. Needs the application object. Only one may exist at a time.
    explicit TerminationSignals(QObject *parent = nullptr);
    // Gives the signals back what they did before.
    ~TerminationSignals() override;

signals:
    // Once for each signal that arrived.
    void received(int signal);

private:
    void drain();

    QSocketNotifier *notifier_ = nullptr;
};

// The application's quit event, which the X session manager sends when the session ends (after
// it has asked for a save), turned into a request the game answers as it answers a close
// request. Left alone, Qt would close the windows one by one, and a window that refuses (the
// name entry takes its name first) would keep the game from ending.
class QuitRequests final : public QObject
{
    Q_OBJECT

public:
    // Watches the application object, which must exist.
    explicit QuitRequests(QObject *parent = nullptr);

signals:
    void requested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace platform
