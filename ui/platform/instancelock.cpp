// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/instancelock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// The longest request read: an activation token is far shorter.
constexpr qsizetype MaxRequest = 4096;

bool socketAddress(const QByteArray &path, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Connects to the running game's socket and writes the token. The running game may hold
// the lock but not be listening yet: try again until the deadline.
bool handOver(const QByteArray &path, const QByteArray &token,
              std::chrono::steady_clock::time_point deadline)
{
    sockaddr_un address {};
    if (!socketAddress(path, address))
        return false;
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0) {
            bool sent = true;
            for (qsizetype at = 0; sent && at < token.size();) {
                const ssize_t n =
                    ::send(fd, token.constData() + at, size_t(token.size() - at), MSG_NOSIGNAL);
                sent = n > 0 || (n < 0 && errno == EINTR);
                at += std::max<ssize_t>(n, 0);
            }
            ::close(fd);
            return sent;
        }
        ::close(fd);
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
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
                           const QByteArray &activationToken, std::chrono::milliseconds patience)
{
    if (runtimeDirectory.isEmpty() || QDir(directory).canonicalPath().isEmpty())
        return;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    const QString base = basePath(directory, runtimeDirectory);
    socketPath_ = QFile::encodeName(base + QStringLiteral(".socket"));
    sockaddr_un address {};
    if (!socketAddress(socketPath_, address))
        return;
    lockFd_ = ::open(QFile::encodeName(base + QStringLiteral(".lock")).constData(),
                     O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0)
        return;
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(lockFd_);
        lockFd_ = -1;
        if (held) {
            // Handed over or not, this start opens no second board.
            handOver(socketPath_, activationToken, deadline);
            claim_ = Claim::Handed;
        }
        return;
    }
    claim_ = Claim::First;
    // A socket left by a game that was killed: ours replaces it.
    ::unlink(socketPath_.constData());
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ >= 0
        && (::bind(listenFd_, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
            || ::listen(listenFd_, 8) != 0)) {
        ::close(listenFd_);
        listenFd_ = -1;
    }
}

InstanceLock::~InstanceLock()
{
    if (listenFd_ >= 0) {
        // Still holding the lock, so no new game has made a socket of its own yet.
        ::unlink(socketPath_.constData());
        ::close(listenFd_);
    }
    // The lock file stays: removing it could let two games lock two different files.
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
    if (!activationToken.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland"))
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
