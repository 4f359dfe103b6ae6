// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What asks the program to end or to come to the front from outside: the termination
// signals, the application's quit event, and the lock that keeps one game per directory.
#include "ui/platform/instancelock.h"
#include "ui/platform/terminationsignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

using platform::InstanceLock;

namespace {

void hostHandler(int) { }

void (*handlerOf(int number))(int)
{
    struct sigaction now {};
    ::sigaction(number, nullptr, &now);
    return now.sa_handler;
}

} // namespace

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

    void signalsComeBackAsTheyWere_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("before"); // "ignored", "handler" or "default"
        QTest::newRow("SIGHUP ignored by nohup") << int(SIGHUP) << "ignored";
        QTest::newRow("SIGINT ignored for a background job") << int(SIGINT) << "ignored";
        QTest::newRow("SIGTERM with a handler of the host") << int(SIGTERM) << "handler";
        QTest::newRow("SIGHUP at its default") << int(SIGHUP) << "default";
    }

    void signalsComeBackAsTheyWere()
    {
        QFETCH(int, number);
        QFETCH(QString, before);
        void (*const previous)(int) = before == QLatin1String("ignored") ? SIG_IGN
            : before == QLatin1String("handler")                         ? hostHandler
                                                                         : SIG_DFL;
        QVERIFY(std::signal(number, previous) != SIG_ERR);
        {
            platform::TerminationSignals termination;
            QSignalSpy received(&termination, &platform::TerminationSignals::received);
            QVERIFY(::raise(number) == 0);
            if (previous == SIG_IGN) {
                QCoreApplication::processEvents();
                QCOMPARE(received.count(), 0);
                QVERIFY(handlerOf(number) == SIG_IGN);
            } else {
                QTRY_COMPARE(received.count(), 1);
            }
        }
        QVERIFY(handlerOf(number) == previous);
        std::signal(number, SIG_DFL);
    }

    void oneGamePerDirectory_data()
    {
        QTest::addColumn<QString>("secondStart");
        QTest::addColumn<QString>("secondRuntime"); // "same", "other" or "none"
        QTest::addColumn<bool>("inRuntime");        // both locks only in the runtime directory
        QTest::addColumn<int>("claim");
        const int handed = int(InstanceLock::Claim::Handed);
        const int first = int(InstanceLock::Claim::First);
        QTest::newRow("same directory") << "same" << "same" << false << handed;
        QTest::newRow("same directory through a link") << "link" << "same" << false << handed;
        QTest::newRow("same directory, another runtime directory")
            << "same" << "other" << false << handed;
        QTest::newRow("same directory, no runtime directory")
            << "same" << "none" << false << handed;
        QTest::newRow("other directory") << "other" << "same" << false << first;
        QTest::newRow("after the first game ended") << "ended" << "same" << false << first;
        QTest::newRow("lock in the runtime directory, same directory")
            << "same" << "same" << true << handed;
        QTest::newRow("lock in the runtime directory, other directory")
            << "other" << "same" << true << first;
        QTest::newRow("lock in the runtime directory, none there")
            << "same" << "none" << true << int(InstanceLock::Claim::Unlocked);
    }

    void oneGamePerDirectory()
    {
        QFETCH(QString, secondStart);
        QFETCH(QString, secondRuntime);
        QFETCH(bool, inRuntime);
        QFETCH(int, claim);
        const QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("runtime")) && dir.mkpath(QStringLiteral("runtime2"))
                && dir.mkpath(QStringLiteral("game")) && dir.mkpath(QStringLiteral("other")));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("game")),
                            dir.filePath(QStringLiteral("link"))));
        const QString runtime = dir.filePath(QStringLiteral("runtime"));
        const auto where =
            inRuntime ? InstanceLock::Where::RuntimeDirectory : InstanceLock::Where::Directory;

        auto first =
            std::make_unique<InstanceLock>(dir.filePath(QStringLiteral("game")), runtime,
                                           QByteArray(), std::chrono::milliseconds(600), where);
        QCOMPARE(first->claim(), InstanceLock::Claim::First);
        first->listen();
        QSignalSpy requests(first.get(), &InstanceLock::activationRequested);
        if (secondStart == QLatin1String("ended"))
            first.reset();

        const QString secondDirectory = secondStart == QLatin1String("link")
            ? dir.filePath(QStringLiteral("link"))
            : dir.filePath(secondStart == QLatin1String("other") ? QStringLiteral("other")
                                                                 : QStringLiteral("game"));
        const QString secondRuntimeDirectory = secondRuntime == QLatin1String("same") ? runtime
            : secondRuntime == QLatin1String("other") ? dir.filePath(QStringLiteral("runtime2"))
                                                      : QString();
        const InstanceLock second(secondDirectory, secondRuntimeDirectory,
                                  QByteArrayLiteral("launcher_TIME42"),
                                  std::chrono::milliseconds(600), where);
        QCOMPARE(int(second.claim()), claim);
        if (claim == int(InstanceLock::Claim::Handed)) {
            QTRY_COMPARE(requests.count(), 1);
            QCOMPARE(requests.at(0).at(0).toByteArray(), QByteArrayLiteral("launcher_TIME42"));
        } else if (first) {
            QCoreApplication::processEvents();
            QCOMPARE(requests.count(), 0);
        }
        // The game's directory gets no file of the lock's.
        QCOMPARE(QDir(dir.filePath(QStringLiteral("game")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    // A game that is stopped or hung takes no requests, and its socket's queue fills up: every
    // later start still ends, once its patience is spent, however many there are.
    void laterStartsEndWhileTheGameTakesNoRequests()
    {
        const QTemporaryDir root;
        QVERIFY(root.isValid());
        const InstanceLock running(root.path(), QString(), QByteArray());
        QCOMPARE(running.claim(), InstanceLock::Claim::First);
        for (int start = 1; start <= 12; ++start) {
            QElapsedTimer took;
            took.start();
            const InstanceLock later(root.path(), QString(), QByteArrayLiteral("token"),
                                     std::chrono::milliseconds(100));
            QCOMPARE(later.claim(), InstanceLock::Claim::Handed);
            QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(start)));
        }
    }
};

QTEST_GUILESS_MAIN(EndRequestsTest)
#include "tst_endrequests.moc"
