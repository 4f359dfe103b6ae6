// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// One game per directory. Two games on one high-score file would each write their own table
// at the end, and the one that ends last would wipe out the other's new scores. So the first
// game started in a directory holds a lock for it, and a later start there only asks that game
// to bring its window to the front, then ends.
//
// The lock belongs to the directory itself: an advisory lock on the open directory, the same
// for every start there whoever starts it and whatever its environment. Only where the
// directory cannot hold one (no permission to read it, or a file system without such locks)
// does a file in the user's runtime directory ($XDG_RUNTIME_DIR), named after the directory's
// canonical path, stand in for it. Either way the kernel lets the lock go when its process
// ends, however it ends: a game that was killed never keeps a new one from starting. Beside
// it, a local socket without a file takes the later starts' requests.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>

class QSocketNotifier;
class QWidget;

namespace platform {

class InstanceLock final : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        First,    // the lock is ours: run the game
        Handed,   // another game holds it and has been asked to come to the front
        Unlocked, // no lock could be made (the directory holds none and there is no runtime
                  // directory, say): run the game anyway
    };

    // Where the lock is taken: on the directory, or (for the tests of the fallback) only in
    // the runtime directory.
    enum class Where { Directory, RuntimeDirectory };

    // Claims the directory, before the application object exists. A later start hands
    // `activationToken` (what its launcher gave it, possibly empty) to the running game,
    // waiting for it at most `patience`, whatever state that game is in.
    InstanceLock(const QString &directory, const QString &runtimeDirectory,
                 const QByteArray &activationToken,
                 std::chrono::milliseconds patience = std::chrono::milliseconds(600),
                 Where where = Where::Directory);
    ~InstanceLock() override;
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    [[nodiscard]] Claim claim() const { return claim_; }

    // Starts taking the later starts' requests; needs the application object.
    void listen();

    // The path of the lock file in the runtime directory, without its ending.
    [[nodiscard]] static QString basePath(const QString &directory,
                                          const QString &runtimeDirectory);

signals:
    // A later start in the same directory asked for the game's window.
    void activationRequested(const QByteArray &activationToken);

private:
    void acceptRequests();

    Claim claim_ = Claim::Unlocked;
    int lockFd_ = -1;
    int listenFd_ = -1;
    QSocketNotifier *notifier_ = nullptr;
};

// The runtime directory the lock goes in: $XDG_RUNTIME_DIR, or Qt's private fallback.
[[nodiscard]] QString runtimeDirectory();

// Brings the window to the front for a later start, restoring it when it is minimised. The
// token, from that start's launcher, lets a desktop that guards against stolen focus see
// that the user asked for it, where Qt hands it on (Wayland's activation).
void activateForLaterStart(QWidget *window, const QByteArray &activationToken);

// What the launcher handed this start for raising a window without stealing focus
// ($XDG_ACTIVATION_TOKEN, or else $DESKTOP_STARTUP_ID), possibly empty.
[[nodiscard]] QByteArray activationToken();

} // namespace platform
