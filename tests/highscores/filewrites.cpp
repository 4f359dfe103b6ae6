// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/highscores/filewrites.h"

#include <QFile>

#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

FileWrites::FileWrites(const QString &directory, const QString &name)
    : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    , name_(QFile::encodeName(name))
{
    if (fd_ >= 0)
        watch_ = inotify_add_watch(fd_, QFile::encodeName(directory).constData(),
                                   IN_CREATE | IN_MOVED_TO);
}

FileWrites::~FileWrites()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int FileWrites::count()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = ::read(fd_, buffer, sizeof buffer);
        if (length <= 0)
            return count_;
        for (ssize_t at = 0; at < length;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char *eventName = buffer + at + sizeof event;
            if (event.len > 0 && name_ == eventName)
                ++count_;
            at += ssize_t(sizeof event + event.len);
        }
    }
}
