// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What asks the program to end or to come to the front from outside: the termination
// signals, the application's quit event, and the lock that keeps one game per directory.
#include "ui/platform/instancelock.h"
#include "ui/platform/terminationsignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

using platform::InstanceLock;

class EndRequestsTest : public QObject
{
    Q_OBJECT

private slots:
    void terminationSignalsArriveOnTheEventLoop_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void terminationSignalsArriveOnTheEventLoop()
    {
        QFETCH(int, number);
        platform::TerminationSignals termination;
        QSignalSpy received(&termination, &platform::TerminationSignals::received);
        QVERIFY(::raise(number) == 0); // the process lives on: the handler only wakes the loop
        QCOMPARE(received.count(), 0);
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(0).toInt(), number);
    }

    void quitEventBecomesARequest()
    {
        const platform::QuitRequests quitRequests;
        QSignalSpy requested(&quitRequests, &platform::QuitRequests::requested);
        QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
        QCoreApplication::processEvents();
        QCOMPARE(requested.count(), 1);
    }

    void oneGamePerDirectory_data()
    {
        QTest::addColumn<QString>("secondStart");
        QTest::addColumn<int>("claim");
        QTest::newRow("same directory") << "same" << int(InstanceLock::Claim::Handed);
        QTest::newRow("same directory through a link")
            << "link" << int(InstanceLock::Claim::Handed);
        QTest::newRow("other directory") << "other" << int(InstanceLock::Claim::First);
        QTest::newRow("after the first game ended") << "ended" << int(InstanceLock::Claim::First);
        QTest::newRow("no runtime directory") << "no runtime" << int(InstanceLock::Claim::Unlocked);
    }

    void oneGamePerDirectory()
    {
        QFETCH(QString, secondStart);
        QFETCH(int, claim);
        const QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("runtime")) && dir.mkpath(QStringLiteral("game"))
                && dir.mkpath(QStringLiteral("other")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("game")),
                            dir.filePath(QStringLiteral("link"))));
        const QString runtime = dir.filePath(QStringLiteral("runtime"));

        auto first = std::make_unique<InstanceLock>(dir.filePath(QStringLiteral("game")), runtime,
                                                    QByteArray());
        QCOMPARE(first->claim(), InstanceLock::Claim::First);
        first->listen();
        QSignalSpy requests(first.get(), &InstanceLock::activationRequested);
        if (secondStart == QLatin1String("ended"))
            first.reset();

        const QString secondDirectory = secondStart == QLatin1String("link")
            ? dir.filePath(QStringLiteral("link"))
            : dir.filePath(secondStart == QLatin1String("other") ? QStringLiteral("other")
                                                                 : QStringLiteral("game"));
        const InstanceLock second(secondDirectory,
                                  secondStart == QLatin1String("no runtime") ? QString() : runtime,
                                  QByteArrayLiteral("launcher_TIME42"));
        QCOMPARE(int(second.claim()), claim);
        if (claim == int(InstanceLock::Claim::Handed)) {
            QTRY_COMPARE(requests.count(), 1);
            QCOMPARE(requests.at(0).at(0).toByteArray(), QByteArrayLiteral("launcher_TIME42"));
        } else if (first) {
            QCoreApplication::processEvents();
            QCOMPARE(requests.count(), 0);
        }
    }
};

QTEST_GUILESS_MAIN(EndRequestsTest)
#include "tst_endrequests.moc"
