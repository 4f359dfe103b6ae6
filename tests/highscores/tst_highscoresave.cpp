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

    // How a case's saves are run: as this user in a writable directory, as another user where
    // the directory keeps that user from replacing root's file. Empty when that cannot be done.
    QStringList saverIn(const QString &kind) const
    {
        if (kind == QLatin1String("writable"))
            return {helper_};
        if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            return {};
        return {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"), helper_};
    }

    // Gives the case's directory and file (when there is one) the modes of its kind.
    static bool prepare(const QString &kind, const QString &directory, const QString &path)
    {
        const mode_t mode = kind == QLatin1String("writable") ? 0777
            : kind == QLatin1String("read-only")              ? 0755
                                                              : 01777;
        return (!QFileInfo::exists(path) || ::chmod(QFile::encodeName(path).constData(), 0666) == 0)
            && ::chmod(QFile::encodeName(directory).constData(), mode) == 0;
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
        QTest::addColumn<QString>("kind");
        QTest::addColumn<char>("oldTable"); // 0: no file
        QTest::addColumn<char>("newTable");
        QTest::addColumn<int>("sizeLimit");
        QTest::addColumn<bool>("saved");
        // Table a is 121 bytes, table b 201.
        for (const char *kind : {"writable", "read-only", "sticky"}) {
            const auto row = [kind](const char *name) {
                return &(QTest::addRow("%s directory: %s", kind, name)
                         << QString::fromLatin1(kind));
            };
            *row("no room for either table keeps the old file") << 'a' << 'b' << 100 << false;
            *row("room for the old table only keeps it") << 'a' << 'b' << 150 << false;
            *row("old file past the limit, new table within") << 'b' << 'a' << 150 << true;
            *row("room for the whole file lets the save through")
                << 'a' << 'b' << (1 << 20) << true;
        }
        QTest::newRow("writable directory: write cut short creates no file")
            << "writable" << char(0) << 'b' << 100 << false;
    }

    void fullDiskNeverCostsTheOldFile()
    {
        QFETCH(QString, kind);
        QFETCH(char, oldTable);
        QFETCH(char, newTable);
        QFETCH(int, sizeLimit);
        QFETCH(bool, saved);
        QVERIFY(sizeLimit < tableBytes(newTable).size() || saved);
        const QStringList saver = saverIn(kind);
        if (saver.isEmpty())
            QSKIP("needs root and setpriv, for a directory that another user cannot write");

        const QString directory = caseDirectory();
        QVERIFY(!directory.isEmpty());
        const QString path = QDir(directory).filePath(highscores::FileName);
        if (oldTable)
            QVERIFY(writeFile(path, tableBytes(oldTable)));
        QVERIFY(prepare(kind, directory, path));

        const ChildProcess::Ending save = ChildProcess::run(
            saver
            + QStringList {QStringLiteral("--file-size-limit"), QString::number(sizeLimit),
                           directory, QStringLiteral("save"), QString(QLatin1Char(newTable))});
        QCOMPARE(save.signal, 0);
        QCOMPARE(save.exitCode, saved ? 0 : SaveFailed);
        QCOMPARE(save.err, QByteArray());
        const QByteArray expected = saved ? tableBytes(newTable)
            : oldTable                    ? tableBytes(oldTable)
                                          : QByteArray();
        QCOMPARE(fileBytes(path), expected);
        QCOMPARE(entries(directory),
                 expected.isEmpty() ? QStringList() : QStringList {highscores::FileName});
    }

    void saveRemovesOnlyItsOwnLeftovers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // "file", "foreign file", "directory" or "link"
        QTest::addColumn<bool>("removed");
        const QString own = QStringLiteral(".tavrinhs.quintagrid-save-");
        QTest::newRow("an interrupted save's file") << own + "aBcXyZ" << "file" << true;
        QTest::newRow("digits in the name") << own + "Ab12Cd" << "file" << true;
        QTest::newRow("the player's backup") << "tavrinhs.backup" << "file" << false;
        QTest::newRow("the player's copy of a quarter") << "tavrinhs.2024q1" << "file" << false;
        QTest::newRow("the player's hidden copy") << ".tavrinhs.aBcXyZ" << "file" << false;
        QTest::newRow("five characters") << own + "aBcXy" << "file" << false;
        QTest::newRow("seven characters") << own + "aBcXyZw" << "file" << false;
        QTest::newRow("a letter beyond ASCII")
            << own + QStringLiteral("aBcXy\u00e9") << "file" << false;
        QTest::newRow("another file's") << ".tavrinhz.quintagrid-save-aBcXyZ" << "file" << false;
        QTest::newRow("another user's file") << own + "QwErTy" << "foreign file" << false;
        QTest::newRow("a directory") << own + "QwErTy" << "directory" << false;
        QTest::newRow("a link") << own + "QwErTy" << "link" << false;
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
        QStringList expected = {highscores::FileName};
        if (!removed)
            expected.append(name);
        expected.sort();
        QCOMPARE(entries(directory), expected);
    }

    // A save in place that is stopped between writing the new records over the old ones and
    // cutting off what is left of the old: the reader stops at ten records and never sees it.
    void newRecordsFollowedByTheOldTailReadAsTheNewTable()
    {
        const QString directory = caseDirectory();
        QVERIFY(!directory.isEmpty());
        const QString path = QDir(directory).filePath(highscores::FileName);
        const QByteArray a = tableBytes('a');
        QVERIFY(writeFile(path, a + tableBytes('b').mid(a.size())));
        highscores::HighScoreTable table;
        QCOMPARE(highscores::loadhighscores(table, path), highscores::LoadOutcome::Read);
        QCOMPARE(highscores::formatHighScores(table), a);
    }

    void killedAtAnyMomentOfASaveTheFileHoldsOneWholeTable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("kills");
        QTest::newRow("writable directory") << "writable" << 150;
        QTest::newRow("read-only directory") << "read-only" << 80;
        QTest::newRow("sticky directory") << "sticky" << 80;
    }

    void killedAtAnyMomentOfASaveTheFileHoldsOneWholeTable()
    {
        QFETCH(QString, kind);
        QFETCH(int, kills);
        const QStringList saver = saverIn(kind);
        if (saver.isEmpty())
            QSKIP("needs root and setpriv, for a directory that another user cannot write");
        const bool inPlace = kind != QLatin1String("writable");
        const QString directory = caseDirectory();
        QVERIFY(!directory.isEmpty());
        const QString path = QDir(directory).filePath(highscores::FileName);
        const QByteArray a = tableBytes('a');
        const QByteArray b = tableBytes('b');
        QVERIFY(writeFile(path, a));
        QVERIFY(prepare(kind, directory, path));

        std::mt19937 random(20240601);
        std::uniform_int_distribution<int> savesToWaitFor(1, 4);
        std::uniform_int_distribution<int> microseconds(0, 5000); // a few saves' time
        int endedOn[2] = {0, 0};
        int withTail = 0;
        for (int kill = 1; kill <= kills; ++kill) {
            ChildProcess helper(saver + QStringList {directory, QStringLiteral("stress")});
            QVERIFY(helper.started());
            for (int n = savesToWaitFor(random); n > 0; --n)
                QCOMPARE(helper.readLine(), QByteArray("saved\n"));
            // Not a wait for anything: the random moment of the kill, somewhere in a save.
            std::this_thread::sleep_for(std::chrono::microseconds(microseconds(random)));
            helper.kill(SIGKILL);
            const ChildProcess::Ending ending = helper.wait();
            QCOMPARE(ending.signal, SIGKILL);

            // One whole table, followed (only by a save in place) by the old one's tail.
            const QByteArray now = fileBytes(path);
            const int which = now.startsWith(a) ? 0 : now.startsWith(b) ? 1 : -1;
            const qsizetype tableSize = which == 0 ? a.size() : b.size();
            QVERIFY2(which >= 0 && (now.size() == tableSize || inPlace),
                     qPrintable(QStringLiteral("kill %1 left %2 bytes: %3")
                                    .arg(kill)
                                    .arg(now.size())
                                    .arg(QString::fromLatin1(now.toPercentEncoding()))));
            highscores::HighScoreTable read;
            QCOMPARE(highscores::parseHighScores(now, read), highscores::ItemCount);
            QCOMPARE(highscores::formatHighScores(read), which == 0 ? a : b);
            ++endedOn[which];
            withTail += now.size() > tableSize ? 1 : 0;
        }
        const QStringList left = entries(directory);
        qInfo("%d kills: %d left table a, %d table b, %d of them with a tail, %d stray new files",
              kills, endedOn[0], endedOn[1], withTail, int(left.size()) - 1);
        // Beside the file, only what the saves named as their own.
        for (const QString &name : left)
            QVERIFY2(name == highscores::FileName
                         || name.startsWith(QLatin1String(".tavrinhs.quintagrid-save-")),
                     qPrintable(name));
        // Both outcomes seen: the kills did land at different points of the loop.
        QVERIFY(endedOn[0] > 0);
        QVERIFY(endedOn[1] > 0);
    }
};

QTEST_APPLESS_MAIN(HighScoreSaveTest)
#include "tst_highscoresave.moc"
