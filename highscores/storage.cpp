// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "highscores/storage.h"

#include "highscores/fileformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
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

// The middle of the name a save gives its new file before renaming it over the old one:
// ".tavrinhs.quintagrid-save-" and six letters or digits. A player has no reason to call a
// file that, so a file of such a name is taken for an interrupted save's, by its name alone.
constexpr QStringView TemporaryMark = u".quintagrid-save-";
constexpr qsizetype TemporarySuffixLength = 6;

bool isAsciiAlnum(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

QString temporaryPrefix(const QString &fileName)
{
    return u'.' + fileName + TemporaryMark.toString();
}

bool isSaveLeftover(QStringView name, const QString &prefix)
{
    if (name.size() != prefix.size() + TemporarySuffixLength || !name.startsWith(prefix))
        return false;
    const QStringView suffix = name.right(TemporarySuffixLength);
    return std::all_of(suffix.begin(), suffix.end(), isAsciiAlnum);
}

// Whether `bytes` more would go past this process's file size limit (which a full disk cuts
// short in the same way). Such a write is not even begun: past the limit the kernel would end
// the program with SIGXFSZ, and cut short it would leave part of a table.
bool beyondSizeLimit(qsizetype bytes)
{
    rlimit limit {};
    return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        && rlim_t(bytes) > limit.rlim_cur;
}

// Writes all of `bytes` at `offset`; false when any part is missing.
bool writeAt(int fd, QByteArrayView bytes, off_t offset)
{
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + at, size_t(bytes.size() - at), offset + at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
    }
    return true;
}

// A new file beside the target, named as isSaveLeftover() recognises, opened for writing;
// -1 with errno set when the directory takes no new file.
int createTemporary(const QDir &directory, const QString &prefix, QByteArray &name)
{
    static constexpr char Letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString candidate = prefix;
        for (qsizetype i = 0; i < TemporarySuffixLength; ++i)
            candidate += QLatin1Char(Letters[QRandomGenerator::global()->bounded(62)]);
        name = QFile::encodeName(directory.filePath(candidate));
        const int fd =
            ::open(name.constData(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

enum class Replaced { Done, Failed, NotAllowed };

// Writes the content to a new file beside the target and renames it over the target: the
// target holds its old content or the new one at every moment. NotAllowed when the directory
// takes no new file or keeps the target from being replaced (a sticky one and another user's
// file); nothing is left beside the target then.
Replaced replaceWhole(const QString &path, const QByteArray &content)
{
    const QFileInfo target(path);
    QByteArray temporary;
    const int fd =
        createTemporary(target.absoluteDir(), temporaryPrefix(target.fileName()), temporary);
    if (fd < 0)
        return errno == EACCES || errno == EPERM || errno == EROFS ? Replaced::NotAllowed
                                                                   : Replaced::Failed;
    const QByteArray finalName = QFile::encodeName(path);
    // The new file keeps the old one's permissions, as an editor's save does.
    struct stat old {};
    bool written =
        (::stat(finalName.constData(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0)
        && writeAt(fd, content, 0) && ::fdatasync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && ::rename(temporary.constData(), finalName.constData()) == 0)
        return Replaced::Done;
    const int renameError = errno;
    ::unlink(temporary.constData());
    return written && (renameError == EPERM || renameError == EACCES) ? Replaced::NotAllowed
                                                                      : Replaced::Failed;
}

// The content written into the existing file itself, for when it may not be replaced (a
// read-only directory, or a sticky one and another user's file). The old records stay whole
// until one write puts the new ones over them; that write fits in one page of the file, which
// the kernel copies whole or not at all, so a kill at any moment leaves the old table or the
// new one. A longer table is not written this way. Until the rest is cut, the new records may
// be followed by the old table's tail, which the reader never reaches: it stops at ten records.
bool writeInPlace(const QString &path, const QByteArray &content)
{
    if (content.size() > ::sysconf(_SC_PAGESIZE) || beyondSizeLimit(content.size()))
        return false;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool written = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const off_t oldSize = info.st_size;
    // The file is first made long enough, with line ends after the old records: a disk too
    // full for the new table stops the save here, with the old records untouched.
    if (written && content.size() > oldSize
        && !writeAt(fd, QByteArray(content.size() - oldSize, '\n'), oldSize)) {
        written = false;
        [[maybe_unused]] const int ignored = ::ftruncate(fd, oldSize);
    }
    written = written && writeAt(fd, content, 0);
    if (written && oldSize > content.size()) {
        // Whatever comes of it, the file reads as the new table.
        [[maybe_unused]] const int ignored = ::ftruncate(fd, content.size());
    }
    written = written && ::fdatasync(fd) == 0;
    return ::close(fd) == 0 && written;
}

// Files that interrupted saves left behind: the save's own temporary names beside the file,
// regular files of this user only. Names are compared by hand: a name filter or a pattern
// would bring in the regular-expression engine for one short test.
void removeLeftovers(const QString &path)
{
    const QFileInfo target(path);
    const QDir directory = target.absoluteDir();
    const QString prefix = temporaryPrefix(target.fileName());
    const QStringList names = directory.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (!isSaveLeftover(name, prefix))
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
    // A link is followed: the file it points to is the one replaced.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const Kind kind = kindAt(target);
    // A FIFO, socket or device of that name is no high-score file: nothing is written to it.
    // A file the player made read-only is kept as it is.
    if (kind == Kind::Other
        || (kind == Kind::Regular
            && ::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0))
        return false;
    const QByteArray content = formatHighScores(table);
    if (beyondSizeLimit(content.size()))
        return false;
    // Written to a new file beside the old one and renamed over it, never truncated first:
    // dying or running out of disk half-way through must not cost the player every score.
    const Replaced replaced = replaceWhole(target, content);
    const bool saved = replaced == Replaced::Done
        || (replaced == Replaced::NotAllowed && kind == Kind::Regular
            && writeInPlace(target, content));
    if (saved)
        removeLeftovers(target);
    return saved;
}

} // namespace highscores
