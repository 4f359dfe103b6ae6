// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include "ui/frmcards.h"
#include "ui/frmquintagrid.h"

#include "highscores/highscores.h"

#include "ui/platform/instancelock.h"
#include "ui/platform/terminationsignals.h"
#include "ui/platform/windowsystem.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace ui {

Application::Application()
    : platform_(ticks_, pump_, random_, sound_, windows_)
    , shared_(platform_)
    , forms_(shared_)
{ }

void Application::start()
{
    frmQuintagrid &main = forms_.mainWindow();
    main.Form_Load();
    forms_.cards().drawCardsAfterFirstPaint(&main);
    platform::centreOnScreen(&main);
    main.show();
    // Asked for, so that the keyboard reaches Begin also where no window manager gives it.
    main.activateWindow();
}

void Application::closeAsRequested()
{
    // The main window's own close request: it saves, closes the other windows and ends,
    // also from inside the shuffle, the count-up or the delete question.
    forms_.mainWindow().close();
}

void Application::saveHighScores()
{
    highscores::savehighscores(shared_.module1.table);
}

namespace {

// One heap for all threads. The C library gives every thread that allocates a heap of its own
// and keeps it for the life of the process; the game's threads (pictures drawn ahead, sound)
// allocate little and seldom at the same time, so one heap serves them all and memory freed on
// one thread is used again on another.
void shareOneHeap()
{
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 1);
#endif
}

} // namespace

int runProgram(int argc, char *argv[], const std::function<void(frmQuintagrid &)> &beforeStart)
{
    shareOneHeap(); // before any thread starts
    platform::choosePlatform();
    // Before any window: a start in a directory where a game already runs only brings that
    // game to the front.
    platform::InstanceLock lock(QDir::currentPath(), platform::runtimeDirectory(),
                                platform::activationToken());
    if (lock.claim() == platform::InstanceLock::Claim::Handed)
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintagrid"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("quintagrid"));

    Application application;
    const platform::TerminationSignals termination;
    QObject::connect(&termination, &platform::TerminationSignals::received, &app,
                     [&application] { application.closeAsRequested(); });
    const platform::QuitRequests quitRequests;
    QObject::connect(&quitRequests, &platform::QuitRequests::requested, &app,
                     [&application] { application.closeAsRequested(); });
    // Saving is all the game does for a session that ends: it never holds up the logout.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [&application](QSessionManager &) { application.saveHighScores(); });
    QObject::connect(&lock, &platform::InstanceLock::activationRequested, &app,
                     [&application](const QByteArray &token) {
                         platform::activateForLaterStart(&application.mainWindow(), token);
                     });
    lock.listen();

    if (beforeStart)
        beforeStart(application.mainWindow());
    application.start();
    return QApplication::exec();
}

} // namespace ui
