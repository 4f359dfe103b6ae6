// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program as a child process with its output piped back, for the tests that need the
// real file code in a process of its own.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <sys/types.h>

class ChildProcess
{
public:
    struct Ending
    {
        bool started = false;
        int exitCode = -1; // when it exited
        int signal = 0;    // when a signal ended it
        QByteArray out;
        QByteArray err;
    };

    // Starts the program (looked up in PATH when it has no slash) with these arguments.
    explicit ChildProcess(const QStringList &command);
    ~ChildProcess(); // kills and reaps it if it is still running
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    [[nodiscard]] bool started() const { return pid_ > 0; }
    // The next line of its standard output, blocking until it comes; empty once it has ended.
    QByteArray readLine();
    void kill(int signal);
    // Reads the rest of its output and waits until it has ended.
    Ending wait();

    // Runs the program to its end.
    static Ending run(const QStringList &command);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    QByteArray outBuffer_;
    QByteArray errBuffer_;
};
