// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Quintagrid: a five-by-five poker patience.
#include "ui/application.h"
#include "ui/frmquintagrid.h"

#include "ui/platform/instancelock.h"
#include "ui/platform/terminationsignals.h"
#include "ui/platform/windowsystem.h"

#include <QApplication>
#include <QDir>
#include <QSessionManager>

int main(int argc, char *argv[])
{
    platform::preferX11WhereAvailable();
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

    ui::Application application;
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

    application.start();
    return QApplication::exec();
}
