// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "highscores/storage.h"

#include "highscores/fileformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace highscores {

namespace {

// What stands at the path, following symbolic links.
enum class Kind { Missing, Regular, Other };

Kind kindAt(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT ? Kind::Missing : Kind::Other;
    return S_ISREG(info.st_mode) ? Kind::Regular : Kind::Other;
}

// Opens the path for reading only when it is a regular file. A FIFO, socket or device is
// never opened in a way that could wait: the open itself does not block, and anything but
// a regular file is closed again unread.
int openRegularForReading(const QString &path)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// The content written into the existing file itself, for when it may not be replaced (a
// directory whose sticky bit keeps another user's file from being renamed over). The file
// is never emptied first: the new content goes over the old and only then is the rest cut.
bool writeInPlace(const QString &path, const QByteArray &content)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool written = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    for (qsizetype at = 0; written && at < content.size();) {
        const ssize_t n = ::write(fd, content.constData() + at, size_t(content.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        written = n > 0;
        at += n;
    }
    written = written && ::ftruncate(fd, content.size()) == 0;
    return ::close(fd) == 0 && written;
}

// Whether a name is one QSaveFile gives its temporary file: the file's own name, a dot and
// six letters or digits.
bool isSaveLeftover(QStringView name, QStringView fileName)
{
    constexpr qsizetype SuffixLength = 6;
    if (name.size() != fileName.size() + 1 + SuffixLength || !name.startsWith(fileName)
        || name[fileName.size()] != u'.')
        return false;
    const auto isAsciiAlnum = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    };
    const QStringView suffix = name.right(SuffixLength);
    return std::all_of(suffix.begin(), suffix.end(), isAsciiAlnum);
}

// Files that an interrupted save left behind: the save's own temporary names beside the
// file, regular files of this user only. Names are compared by hand: a name filter or a
// pattern would bring in the regular-expression engine for one short test.
void removeLeftovers(const QString &path)
{
    const QFileInfo target(path);
    const QDir directory = target.absoluteDir();
    const QStringList names = directory.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (!isSaveLeftover(name, target.fileName()))
            continue;
        const QByteArray leftover = QFile::encodeName(directory.filePath(name));
        struct stat info {};
        if (::lstat(leftover.constData(), &info) == 0 && S_ISREG(info.st_mode)
            && info.st_uid == ::geteuid())
            ::unlink(leftover.constData());
    }
}

} // namespace

LoadOutcome loadhighscores(HighScoreTable &table, const QString &path)
{
    const int fd = openRegularForReading(path);
    if (fd >= 0) {
        QFile file;
        file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
        return readHighScores(file, table) == ItemCount ? LoadOutcome::Read
                                                        : LoadOutcome::Incomplete;
    }
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return LoadOutcome::Unreadable;
    resethighscores(table);
    return savehighscores(table, path) ? LoadOutcome::Created : LoadOutcome::CreateFailed;
}

bool savehighscores(const HighScoreTable &table, const QString &path)
{
    // A FIFO, socket or device of that name is no high-score file: nothing is written to it.
    if (kindAt(path) == Kind::Other)
        return false;
    // Written to a new file beside the old one and renamed over it, never truncated first:
    // dying or running out of disk half-way through must not cost the player every score.
    QSaveFile file(path);
    // A read-only directory may still hold a writable file: that one is rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = formatHighScores(table);
    // QSaveFile would commit a short write (a full disk) as if it were whole; flushing first
    // shows it.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    bool saved = file.commit();
    // The new file could be written but not renamed over the old one: in place, then.
    if (!saved && file.error() == QFileDevice::RenameError && kindAt(path) == Kind::Regular)
        saved = writeInPlace(path, content);
    if (saved)
        removeLeftovers(path);
    return saved;
}

} // namespace highscores
