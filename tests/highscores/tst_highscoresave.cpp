// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever stops a save half-way, the file holds either its old records or the new ones.
// The real load and save code runs in a helper process: as an unprivileged user, whom file
// permissions stop (the tests themselves may run as root), under a file size limit that cuts
// a write short as a full disk does, and killed at random moments of a save.
#include "tests/highscores/childprocess.h"
#include "tests/highscores/diskfiles.h"
#include "tests/highscores/savetables.h"

#include "highscores/highscores.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int SaveFailed = 3; // the helper's exit status when a save left the file as it was

QByteArray tableBytes(char which)
{
    return highscores::formatHighScores(savetables::table(which));
}

QByteArray defaultBytes()
{
    highscores::HighScoreTable table;
    highscores::resethighscores(table);
    return highscores::formatHighScores(table);
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                     | QDir::NoDotAndDotDot);
}

} // namespace

class HighScoreSaveTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir root_;
    QString helper_;

    // A directory of its own for one case, under root_.
    QString caseDirectory()
    {
        static int next = 0;
        const QString path = root_.filePath(QStringLiteral("case%1").arg(++next));
        return QDir().mkdir(path) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(root_.isValid());
        // The unprivileged user must reach the cases and run the helper: a copy in reach.
        QVERIFY(::chmod(QFile::encodeName(root_.path()).constData(), 0755) == 0);
        helper_ = root_.filePath(QStringLiteral("hsfile_helper"));
        QVERIFY(QFile::copy(QStringLiteral(HSFILE_HELPER), helper_));
        QVERIFY(::chmod(QFile::encodeName(helper_).constData(), 0755) == 0);
    }

    void unprivilegedPlayerNeverLosesTheFile_data()
    {
        QTest::addColumn<int>("directoryMode");
        QTest::addColumn<int>("fileMode"); // of a file holding table a, owned by root; -1: none
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QByteArray>("tableAfterLoad");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QByteArray>("fileAfterSave"); // empty: there is no file

        const QByteArray a = tableBytes('a');
        const QByteArray b = tableBytes('b');
        const QByteArray untouched = highscores::formatHighScores({});
        QTest::newRow("missing file in a writable directory is created")
            << 0777 << -1 << "Created" << defaultBytes() << true << b;
        QTest::newRow("missing file in a read-only directory: defaults in memory only")
            << 0755 << -1 << "CreateFailed" << defaultBytes() << false << QByteArray();
        QTest::newRow("unreadable file is left alone")
            << 0755 << 0600 << "Unreadable" << untouched << false << a;
        QTest::newRow("read-only file in a read-only directory")
            << 0755 << 0644 << "Read" << a << false << a;
        QTest::newRow("writable file in a read-only directory is rewritten in place")
            << 0755 << 0666 << "Read" << a << true << b;
        QTest::newRow("writable file that a sticky directory keeps from being replaced")
            << 01777 << 0666 << "Read" << a << true << b;
        QTest::newRow("read-only file in a sticky directory keeps the old file")
            << 01777 << 0644 << "Read" << a << false << a;
    }

    void unprivilegedPlayerNeverLosesTheFile()
    {
        QFETCH(int, directoryMode);
        QFETCH(int, fileMode);
        QFETCH(QString, outcome);
        QFETCH(QByteArray, tableAfterLoad);
        QFETCH(bool, saved);
        QFETCH(QByteArray, fileAfterSave);
        if (::geteuid() != 0)
            QSKIP("needs root, to set up files that another user then cannot read or replace");
        if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("needs setpriv, to act as another user");

        const QString directory = caseDirectory();
        QVERIFY(!directory.isEmpty());
        const QString path = QDir(directory).filePath(highscores::FileName);
        if (fileMode >= 0) {
            QVERIFY(writeFile(path, tableBytes('a')));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), mode_t(fileMode)) == 0);
        }
        QVERIFY(::chmod(QFile::encodeName(directory).constData(), mode_t(directoryMode)) == 0);

        const QStringList asNobody = {QStringLiteral("setpriv"),
                                      QStringLiteral("--reuid=65534"),
                                      QStringLiteral("--regid=65534"),
                                      QStringLiteral("--clear-groups"),
                                      helper_,
                                      directory};
        const ChildProcess::Ending load = ChildProcess::run(asNobody + QStringList {"load"});
        QCOMPARE(load.exitCode, 0);
        QCOMPARE(load.err, QByteArray()); // nothing is ever reported
        const qsizetype lineEnd = load.out.indexOf('\n');
        QCOMPARE(QString::fromLatin1(load.out.left(lineEnd)), outcome);
        QCOMPARE(load.out.mid(lineEnd + 1), tableAfterLoad);

        const ChildProcess::Ending save = ChildProcess::run(asNobody + QStringList {"save", "b"});
        QCOMPARE(save.exitCode, saved ? 0 : SaveFailed);
        QCOMPARE(save.err, QByteArray());
        QCOMPARE(QFileInfo::exists(path), !fileAfterSave.isEmpty());
        QCOMPARE(fileBytes(path), fileAfterSave);
        // No half-written file left beside it either.
        QCOMPARE(entries(directory),
                 fileAfterSave.isEmpty() ? QStringList() : QStringList {highscores::FileName});
    }

    void fullDiskNeverCostsTheOldFile_data()
    {
        QTest::addColumn<bool>("fileThere"); // holding table a
        QTest::addColumn<int>("sizeLimit");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QByteArray>("fileAfterSave");
        QTest::newRow("write cut short keeps the old file")
            << true << 100 << false << tableBytes('a');
        QTest::newRow("write cut short creates no file") << false << 100 << false << QByteArray();
        QTest::newRow("room for the whole file lets the save through")
            << true << (1 << 20) << true << tableBytes('b');
    }

    void fullDiskNeverCostsTheOldFile()
    {
        QFETCH(bool, fileThere);
        QFETCH(int, sizeLimit);
        QFETCH(bool, saved);
        QFETCH(QByteArray, fileAfterSave);
        QVERIFY(sizeLimit < tableBytes('b').size() || saved);

        const QString directory = caseDirectory();
        QVERIFY(!directory.isEmpty());
        const QString path = QDir(directory).filePath(highscores::FileName);
        if (fileThere)
            QVERIFY(writeFile(path, tableBytes('a')));

        const ChildProcess::Ending save = ChildProcess::run(
            {helper_, QStringLiteral("--file-size-limit"), QString::number(sizeLimit), directory,
             QStringLiteral("save"), QStringLiteral("b")});
        QCOMPARE(save.exitCode, saved ? 0 : SaveFailed);
        QCOMPARE(save.err, QByteArray());
        QCOMPARE(fileBytes(path), fileAfterSave);
        QCOMPARE(entries(directory),
                 fileAfterSave.isEmpty() ? QStringList() : QStringList {highscores::FileName});
    }

    void saveRemovesOnlyItsOwnLeftovers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // "file", "foreign file", "directory" or "link"
        QTest::addColumn<bool>("removed");
        QTest::newRow("an interrupted save's file") << "tavrinhs.aBcXyZ"
                                                    << "file" << true;
        QTest::newRow("digits in the name") << "tavrinhs.Ab12Cd"
                                            << "file" << true;
        QTest::newRow("five characters") << "tavrinhs.aBcXy"
                                         << "file" << false;
        QTest::newRow("seven characters") << "tavrinhs.aBcXyZw"
                                          << "file" << false;
        QTest::newRow("a letter beyond ASCII")
            << QStringLiteral("tavrinhs.aBcXy\u00e9") << "file" << false;
        QTest::newRow("a dot among them") << "tavrinhs.aB.XyZ"
                                          << "file" << false;
        QTest::newRow("another file's pattern") << "tavrinhz.aBcXyZ"
                                                << "file" << false;
        QTest::newRow("another user's file") << "tavrinhs.QwErTy"
                                             << "foreign file" << false;
        QTest::newRow("a directory") << "tavrinhs.QwErTy"
                                     << "directory" << false;
        QTest::newRow("a link") << "tavrinhs.QwErTy"
                                << "link" << false;
    }

    void saveRemovesOnlyItsOwnLeftovers()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(bool, removed);
        if (kind == QLatin1String("foreign file") && ::geteuid() != 0)
            QSKIP("needs root, to give a file to another user");

        const QString directory = caseDirectory();
        QVERIFY(!directory.isEmpty());
        const QString path = QDir(directory).filePath(highscores::FileName);
        const QString leftover = QDir(directory).filePath(name);
        QVERIFY(writeFile(path, tableBytes('a')));
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir().mkdir(leftover));
        } else if (kind == QLatin1String("link")) {
            QVERIFY(QFile::link(highscores::FileName, leftover));
        } else {
            QVERIFY(writeFile(leftover, tableBytes('a').left(20)));
            if (kind == QLatin1String("foreign file"))
                QVERIFY(::chown(QFile::encodeName(leftover).constData(), 65534, 65534) == 0);
        }

        QVERIFY(highscores::savehighscores(savetables::table('b'), path));
        QCOMPARE(fileBytes(path), tableBytes('b'));
        const QStringList expected =
            removed ? QStringList {highscores::FileName} : QStringList {highscores::FileName, name};
        QCOMPARE(entries(directory), expected);
    }

    void killedAtAnyMomentOfASaveTheFileHoldsOneWholeTable()
    {
        const QString directory = caseDirectory();
        QVERIFY(!directory.isEmpty());
        const QString path = QDir(directory).filePath(highscores::FileName);
        const QByteArray a = tableBytes('a');
        const QByteArray b = tableBytes('b');
        QVERIFY(writeFile(path, a));

        std::mt19937 random(20240601);
        std::uniform_int_distribution<int> savesToWaitFor(1, 4);
        std::uniform_int_distribution<int> microseconds(0, 5000); // a few saves' time
        int endedOnA = 0;
        int endedOnB = 0;
        constexpr int Kills = 200;
        for (int kill = 1; kill <= Kills; ++kill) {
            ChildProcess helper({helper_, directory, QStringLiteral("stress")});
            QVERIFY(helper.started());
            for (int n = savesToWaitFor(random); n > 0; --n)
                QCOMPARE(helper.readLine(), QByteArray("saved\n"));
            // Not a wait for anything: the random moment of the kill, somewhere in a save.
            std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
            helper.kill(SIGKILL);
            const ChildProcess::Ending ending = helper.wait();
            QCOMPARE(ending.signal, SIGKILL);

            const QByteArray now = fileBytes(path);
            QVERIFY2(now == a || now == b,
                     qPrintable(QStringLiteral("kill %1 left %2 bytes: %3")
                                    .arg(kill)
                                    .arg(now.size())
                                    .arg(QString::fromLatin1(now.toPercentEncoding()))));
            ++(now == a ? endedOnA : endedOnB);
        }
        // A kill between naming the new file and renaming it leaves that file behind, unused.
        qInfo("%d kills: %d left table a, %d table b, %d stray new files", Kills, endedOnA,
              endedOnB, int(entries(directory).size()) - 1);
        // Both outcomes seen: the kills did land at different points of the loop.
        QVERIFY(endedOnA > 0);
        QVERIFY(endedOnB > 0);
    }
};

QTEST_APPLESS_MAIN(HighScoreSaveTest)
#include "tst_highscoresave.moc"
