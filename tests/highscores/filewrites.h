// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Counts the times a file is put in place in a directory, as the kernel reports it: created
// there, or renamed onto its name (how the high-score file is saved).
#pragma once

#include <QByteArray>
#include <QString>

class FileWrites
{
public:
    FileWrites(const QString &directory, const QString &name);
    ~FileWrites();
    FileWrites(const FileWrites &) = delete;
    FileWrites &operator=(const FileWrites &) = delete;

    [[nodiscard]] bool watching() const { return watch_ >= 0; }
    // Every time so far since construction. The kernel queues the events before the writing
    // call returns, so nothing needs waiting for.
    [[nodiscard]] int count();

private:
    int fd_ = -1;
    int watch_ = -1;
    QByteArray name_;
    int count_ = 0;
};
