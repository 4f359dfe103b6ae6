// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/instancelock.h"

#include "ui/platform/environment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QWidget>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// The longest request read: an activation token is far shorter.
constexpr qsizetype MaxRequest = 4096;

// How long a later start waits between tries while the running game is not taking requests.
constexpr std::chrono::milliseconds RetryEvery {10};

// The socket's address, in the abstract namespace: no file anywhere, none left behind by a
// game that was killed, and the same for every start in the directory whatever its
// environment. Named after the directory's device and inode, so every path to it (a link, a
// bind mount) finds the same game.
void socketAddress(const struct stat &directory, sockaddr_un &address, socklen_t &length)
{
    address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = "quintagrid-" + QByteArray::number(quint64(directory.st_dev), 16) + '-'
        + QByteArray::number(quint64(directory.st_ino), 16);
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(name.size()));
}

// Connects to the running game's socket and writes the token, never waiting past the
// deadline. A game that has just started may not listen yet: it is tried again until the
// deadline. A game whose queue of connections is full is stopped or hung, or has more
// requests than it needs already: it is left at once.
bool handOver(const sockaddr_un &address, socklen_t length, const QByteArray &token,
              std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0) {
            // The token is far smaller than the socket's buffer: it goes in one send or none.
            const ssize_t n =
                ::send(fd, token.constData(), size_t(token.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            ::close(fd);
            return n == token.size();
        }
        const int error = errno;
        ::close(fd);
        if (error == EAGAIN || std::chrono::steady_clock::now() + RetryEvery >= deadline)
            return false;
        std::this_thread::sleep_for(RetryEvery);
    }
}

// An exclusive lock on the directory itself, open for as long as the game runs; -1 where the
// directory cannot hold one (no permission to read it, or a file system without such locks),
// or with errno EWOULDBLOCK where another game holds it.
int lockDirectory(const QString &directory, struct stat &identity)
{
    const int fd = ::open(QFile::encodeName(directory).constData(),
                          O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &identity) == 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

// The lock where the directory cannot hold one: a file in the runtime directory, named after
// the directory's canonical path; -1 as lockDirectory().
int lockInRuntimeDirectory(const QString &directory, const QString &runtimeDirectory)
{
    if (runtimeDirectory.isEmpty() || QDir(directory).canonicalPath().isEmpty())
        return -1;
    const QString path =
        InstanceLock::basePath(directory, runtimeDirectory) + QStringLiteral(".lock");
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

} // namespace

QString InstanceLock::basePath(const QString &directory, const QString &runtimeDirectory)
{
    const QString canonical = QDir(directory).canonicalPath();
    const QByteArray key =
        QCryptographicHash::hash(QFile::encodeName(canonical), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    return QDir(runtimeDirectory)
        .filePath(QStringLiteral("quintagrid-") + QString::fromLatin1(key));
}

InstanceLock::InstanceLock(const QString &directory, const QString &runtimeDirectory,
                           const QByteArray &activationToken, std::chrono::milliseconds patience,
                           Where where)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    struct stat identity {};
    if (::stat(QFile::encodeName(directory).constData(), &identity) != 0)
        return;
    sockaddr_un address {};
    socklen_t addressLength = 0;
    socketAddress(identity, address, addressLength);
    bool held = false;
    if (where == Where::Directory) {
        lockFd_ = lockDirectory(directory, identity);
        held = lockFd_ < 0 && errno == EWOULDBLOCK;
    }
    if (lockFd_ < 0 && !held) {
        lockFd_ = lockInRuntimeDirectory(directory, runtimeDirectory);
        held = lockFd_ < 0 && errno == EWOULDBLOCK;
    }
    if (held) {
        // Handed over or not, this start opens no second board.
        handOver(address, addressLength, activationToken, deadline);
        claim_ = Claim::Handed;
        return;
    }
    if (lockFd_ < 0)
        return;
    claim_ = Claim::First;
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ >= 0
        && (::bind(listenFd_, reinterpret_cast<const sockaddr *>(&address), addressLength) != 0
            || ::listen(listenFd_, 8) != 0)) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

InstanceLock::~InstanceLock()
{
    if (listenFd_ >= 0)
        ::close(listenFd_);
    // A lock file in the runtime directory stays: removing it could let two games lock two
    // different files.
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

void InstanceLock::listen()
{
    if (listenFd_ < 0 || notifier_)
        return;
    notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &InstanceLock::acceptRequests);
}

void InstanceLock::acceptRequests()
{
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR)
                continue;
            return; // EAGAIN: none left
        }
        // Only this user's starts are heard: the socket has no file whose permissions would
        // keep others out.
        ucred peer {};
        socklen_t peerLength = sizeof peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &peerLength) != 0
            || peer.uid != ::geteuid()) {
            ::close(fd);
            continue;
        }
        // The other start writes its token and closes at once; read it with a short bound,
        // so a stuck peer cannot hold the game.
        QByteArray token;
        char buffer[512];
        pollfd readable {fd, POLLIN, 0};
        while (token.size() < MaxRequest && ::poll(&readable, 1, 200) > 0) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            token.append(buffer, n);
        }
        ::close(fd);
        emit activationRequested(token.left(MaxRequest));
    }
}

void activateForLaterStart(QWidget *window, const QByteArray &activationToken)
{
    // Qt's Wayland platform takes the token from the environment when it activates the window.
    // The sound thread reads the environment too, so it is written only under the lock; a sound
    // thread held up by a stuck sound server costs the token, not the windows' response.
    std::unique_lock writing(environmentLock(), std::defer_lock);
    if (!activationToken.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland")
        && writing.try_lock_for(std::chrono::milliseconds(100)))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

QString runtimeDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QByteArray activationToken()
{
    const QByteArray wayland = qgetenv("XDG_ACTIVATION_TOKEN");
    return wayland.isEmpty() ? qgetenv("DESKTOP_STARTUP_ID") : wayland;
}

} // namespace platform
