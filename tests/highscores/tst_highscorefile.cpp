// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score file: what is written byte for byte, what is read back from files written
// by hand, and that no file, however broken or large, stops the program.
#include "highscores/highscores.h"
#include "tests/highscores/diskfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <random>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using highscores::HighScoreTable;

namespace highscores {

// Shows the table as its file records when a comparison fails.
char *toString(const HighScoreTable &table)
{
    return QTest::toString(formatHighScores(table));
}

} // namespace highscores

namespace {

const QByteArray DefaultRecord = QByteArrayLiteral("\"Mossgrovity\",0\r\n");

// What every test starts from, so that an item the reading leaves alone is told apart from one
// it read: names "old1".."old10", scores 101..110, and marks in the slots nobody may touch.
HighScoreTable oldTable()
{
    HighScoreTable table;
    for (int k = 0; k <= 12; ++k) {
        table.hsnames[k] = QStringLiteral("old%1").arg(k);
        table.hsscores[k] = static_cast<std::int16_t>(100 + k);
    }
    return table;
}

// The old table with new names in the first slots and new scores in the first slots.
HighScoreTable withNewItems(const QStringList &names, const QList<int> &scores)
{
    HighScoreTable table = oldTable();
    for (int k = 1; k <= names.size(); ++k)
        table.hsnames[k] = names[k - 1];
    for (int k = 1; k <= scores.size(); ++k)
        table.hsscores[k] = static_cast<std::int16_t>(scores[k - 1]);
    return table;
}

HighScoreTable defaultTable()
{
    HighScoreTable table;
    highscores::resethighscores(table);
    return table;
}

QByteArray records(const QList<QByteArray> &names, int firstScore = 1)
{
    QByteArray content;
    int score = firstScore;
    for (const QByteArray &name : names)
        content += '"' + name + "\"," + QByteArray::number(score++) + "\r\n";
    return content;
}

QList<QByteArray> letters(int count)
{
    QList<QByteArray> names;
    for (int i = 0; i < count; ++i)
        names << QByteArray(1, char('A' + i));
    return names;
}

QStringList letterNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QString(QChar(u'A' + i));
    return names;
}

QList<int> countingFrom1(int count)
{
    QList<int> scores;
    for (int i = 1; i <= count; ++i)
        scores << i;
    return scores;
}

// Input that never ends, repeating a pattern, counting what is taken from it.
class EndlessInput final : public QIODevice
{
public:
    explicit EndlessInput(QByteArray pattern)
        : pattern_(std::move(pattern))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    [[nodiscard]] bool isSequential() const override { return true; }
    [[nodiscard]] qint64 bytesAvailable() const override { return qint64(1) << 40; }

    qint64 taken = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        for (qint64 i = 0; i < maxSize; ++i)
            data[i] = pattern_[(taken + i) % pattern_.size()];
        taken += maxSize;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray pattern_;
};

} // namespace

class HighScoreFileTest : public QObject
{
    Q_OBJECT

private slots:
    void defaultTableIsTenRecordsOfSeventeenBytes()
    {
        const QByteArray content = highscores::formatHighScores(defaultTable());
        QCOMPARE(content.size(), 170);
        QCOMPARE(content, DefaultRecord.repeated(10));
    }

    void eachEntryIsWrittenAsItsExactRecord_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("score");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("comma in the name")
            << QStringLiteral("Doe, Jane") << 42 << QByteArray("\"Doe, Jane\",42\r\n");
        QTest::newRow("empty name") << QString() << 7 << QByteArray("\"\",7\r\n");
        QTest::newRow("negative score")
            << QStringLiteral("Neg") << -32768 << QByteArray("\"Neg\",-32768\r\n");
        QTest::newRow("highest score")
            << QStringLiteral("Top") << 32767 << QByteArray("\"Top\",32767\r\n");
        QTest::newRow("blanks kept")
            << QStringLiteral(" a b ") << 300 << QByteArray("\" a b \",300\r\n");
        QTest::newRow("one byte per Latin-1 character")
            << QStringLiteral("Zo\u00eb \u00c6\u00ff") << 9
            << QByteArray("\"Zo\xeb \xc6\xff\",9\r\n");
    }

    void eachEntryIsWrittenAsItsExactRecord()
    {
        QFETCH(QString, name);
        QFETCH(int, score);
        QFETCH(QByteArray, record);
        HighScoreTable table = defaultTable();
        table.hsnames[4] = name;
        table.hsscores[4] = static_cast<std::int16_t>(score);
        QCOMPARE(highscores::formatHighScores(table),
                 DefaultRecord.repeated(3) + record + DefaultRecord.repeated(6));
    }

    void readingTakesItemsUntilTheFirstBadOne_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("scores");

        const QByteArray longestName(4087, 'x'); // and the quotes, comma and score: 4096

        QTest::newRow("default file")
            << DefaultRecord.repeated(10) << QStringList(10, QStringLiteral("Mossgrovity"))
            << QList<int>(10, 0);
        QTest::newRow("seven records") << records(letters(7)) << letterNames(7) << countingFrom1(7);
        QTest::newRow("twelve records, two ignored")
            << records(letters(12)) << letterNames(10) << countingFrom1(10);
        QTest::newRow("anything after the tenth record ignored")
            << records(letters(10)) + "\xff\x01garbage" << letterNames(10) << countingFrom1(10);
        QTest::newRow("empty file") << QByteArray() << QStringList() << QList<int>();
        QTest::newRow("comma in a quoted name")
            << QByteArray("\"Doe, Jane\",42\r\n") << QStringList {"Doe, Jane"} << QList<int> {42};
        QTest::newRow("empty quoted name")
            << QByteArray("\"\",7\r\n") << QStringList {""} << QList<int> {7};
        QTest::newRow("lowest score")
            << QByteArray("\"N\",-32768\r\n") << QStringList {"N"} << QList<int> {-32768};
        QTest::newRow("highest score")
            << QByteArray("\"T\",32767\r\n") << QStringList {"T"} << QList<int> {32767};
        QTest::newRow("minus zero")
            << QByteArray("\"Z\",-0\r\n") << QStringList {"Z"} << QList<int> {0};
        QTest::newRow("leading zeros")
            << QByteArray("\"Z\",00042\r\n") << QStringList {"Z"} << QList<int> {42};

        // A bad score ends the reading after its record's name.
        const QByteArray first = "\"A\",1\r\n";
        const QByteArray third = "\"C\",3\r\n";
        const auto badScore = [&](const char *row, const QByteArray &score) {
            QTest::newRow(row) << first + "\"B\"," + score + "\r\n" + third
                               << QStringList {"A", "B"} << QList<int> {1};
        };
        badScore("score above the range", "32768");
        badScore("score below the range", "-32769");
        badScore("six digits", "000001");
        badScore("letters after the digits", "12x");
        badScore("plus sign", "+5");
        badScore("decimal point", "1.5");
        badScore("no score", "");
        badScore("minus sign alone", "-");
        badScore("blank inside the score", "- 5");
        QTest::newRow("no comma after the name")
            << first + "\"B\" 2\r\n" + third << QStringList {"A", "B"} << QList<int> {1};
        QTest::newRow("text between the name and the comma")
            << first + "\"B\"x,2\r\n" + third << QStringList {"A", "B"} << QList<int> {1};
        QTest::newRow("file ends after a name")
            << first + "\"B\"" << QStringList {"A", "B"} << QList<int> {1};

        // Layouts people write by hand.
        QTest::newRow("LF line ends")
            << QByteArray("\"A\",1\n\"B\",2\n") << QStringList {"A", "B"} << QList<int> {1, 2};
        QTest::newRow("no line end after the last record")
            << QByteArray("\"A\",1\r\n\"B\",2") << QStringList {"A", "B"} << QList<int> {1, 2};
        QTest::newRow("blanks and tabs around the comma and the record")
            << QByteArray("\"A\" ,\t1\r\n\"B\"\t, 2 \r\n  \"C\",3\t\r\n")
            << QStringList {"A", "B", "C"} << QList<int> {1, 2, 3};
        QTest::newRow("unquoted names run to the comma")
            << QByteArray("Ann Lee,5\r\n\tBob , 6\r\n,7\r\n") << QStringList {"Ann Lee", "Bob", ""}
            << QList<int> {5, 6, 7};
        QTest::newRow("Latin-1 bytes")
            << QByteArray("\"Zo\xeb \xc6\xff\x80\",9\r\n")
            << QStringList {QStringLiteral("Zo\u00eb \u00c6\u00ff\u0080")} << QList<int> {9};
        QTest::newRow("record of 4096 bytes with the longest name")
            << "\"" + longestName + "\",-32768\r\n\"B\",2\r\n"
            << QStringList {QString::fromLatin1(longestName), "B"} << QList<int> {-32768, 2};

        // A bad name ends the reading before its record.
        QTest::newRow("record of 4097 bytes")
            << (first + " \"" + longestName + "\",-32768\r\n" + third) << QStringList {"A"}
            << QList<int> {1};
        QTest::newRow("name too long to be written back")
            << first + longestName + "x,2\r\n" + third << QStringList {"A"} << QList<int> {1};
        QTest::newRow("quote not closed on its line")
            << first + "\"Bob,2\r\n" + third << QStringList {"A"} << QList<int> {1};
        QTest::newRow("quote closed on the next line")
            << first + "\"Bo\r\nb\",2\r\n" + third << QStringList {"A"} << QList<int> {1};
        QTest::newRow("unquoted name with a quote")
            << first + "Bo\"b,2\r\n" + third << QStringList {"A"} << QList<int> {1};
        QTest::newRow("blank line")
            << first + "\r\n" + third << QStringList {"A"} << QList<int> {1};
        QTest::newRow("line without a comma")
            << first + "hello\r\n" + third << QStringList {"A"} << QList<int> {1};
        QTest::newRow("CR alone is no line end")
            << QByteArray("\"A\",1\r\"B\",2\r") << QStringList {"A"} << QList<int> {};
    }

    void readingTakesItemsUntilTheFirstBadOne()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, scores);
        HighScoreTable table = oldTable();
        const int items = highscores::parseHighScores(content, table);
        QCOMPARE(table, withNewItems(names, scores));
        QCOMPARE(items, int(names.size() + scores.size()));
    }

    void readingTakesAtMostTenRecordsFromEndlessInput_data()
    {
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<int>("items");
        QTest::newRow("one endless line") << QByteArray("x") << 0;
        QTest::newRow("endless quoted name") << QByteArray("\"x") << 0;
        QTest::newRow("endless records") << QByteArray("\"A\",1\r\n") << highscores::ItemCount;
        QTest::newRow("endless long records") << "\"" + QByteArray(4087, 'x') + "\",-32768\r\n"
                                              << highscores::ItemCount;
        QTest::newRow("endless blank lines") << QByteArray("\r\n") << 0;
    }

    void readingTakesAtMostTenRecordsFromEndlessInput()
    {
        QFETCH(QByteArray, pattern);
        QFETCH(int, items);
        EndlessInput input(pattern);
        HighScoreTable table;
        QCOMPARE(highscores::readHighScores(input, table), items);
        QVERIFY2(input.taken <= highscores::Slots * (highscores::MaxRecordBytes + 2),
                 QByteArray::number(input.taken));
    }

    void whatIsWrittenReadsBackUnchanged_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("score");
        QTest::newRow("default name of eleven letters") << QStringLiteral("Mossgrovity") << 0;
        QTest::newRow("comma") << QStringLiteral("Doe, Jane") << 42;
        QTest::newRow("empty name") << QString() << 0;
        QTest::newRow("blanks and tabs") << QStringLiteral(" \tA , B\t ") << 1;
        QTest::newRow("negative score") << QStringLiteral("Neg") << -32768;
        QTest::newRow("Latin-1 letters") << QStringLiteral("\u00c5s\u00e9 \u00df\u00ff") << 32767;
        QTest::newRow("carriage return inside") << QStringLiteral("a\rb\r") << 3;
    }

    void whatIsWrittenReadsBackUnchanged()
    {
        QFETCH(QString, name);
        QFETCH(int, score);
        HighScoreTable table = defaultTable();
        table.hsnames[10] = name;
        table.hsscores[10] = static_cast<std::int16_t>(score);
        HighScoreTable readBack = oldTable();
        QCOMPARE(highscores::parseHighScores(highscores::formatHighScores(table), readBack),
                 highscores::ItemCount);
        QCOMPARE(readBack.hsnames[10], name);
        QCOMPARE(readBack.hsscores[10], score);
    }

    void nameBoxLetsThroughOnlyWhatReadsBack_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << QStringLiteral("Ann") << QStringLiteral("Ann");
        QTest::newRow("double quotes dropped")
            << QStringLiteral("\"Ann\" \"B\"") << QStringLiteral("Ann B");
        QTest::newRow("line breaks dropped")
            << QStringLiteral("a\r\nb\nc\r") << QStringLiteral("abc");
        QTest::newRow("Latin-1 kept")
            << QStringLiteral("Zo\u00eb\u00ff") << QStringLiteral("Zo\u00eb\u00ff");
        QTest::newRow("beyond Latin-1 dropped")
            << QStringLiteral("A\u20acB\u0100C") << QStringLiteral("ABC");
        QTest::newRow("emoji dropped whole")
            << QStringLiteral("A\U0001F600B") << QStringLiteral("AB");
    }

    void nameBoxLetsThroughOnlyWhatReadsBack()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(highscores::storableName(typed), stored);

        HighScoreTable table = defaultTable();
        table.hsnames[1] = highscores::storableName(typed);
        const QByteArray content = highscores::formatHighScores(table);
        QCOMPARE(content.count('"'), 2 * highscores::Slots);
        QCOMPARE(content.count('\n'), highscores::Slots);
        HighScoreTable readBack;
        QCOMPARE(highscores::parseHighScores(content, readBack), highscores::ItemCount);
        QCOMPARE(readBack, table);
    }

    void missingFileIsCreatedWithTenDefaultEntries()
    {
        const QTemporaryDir directory;
        const QString path = directory.filePath(highscores::FileName);
        HighScoreTable table;
        QCOMPARE(highscores::loadhighscores(table, path), highscores::LoadOutcome::Created);
        QCOMPARE(table, defaultTable());
        QCOMPARE(fileBytes(path), DefaultRecord.repeated(10));
    }

    void fileInTheCurrentDirectoryIsTheDefault()
    {
        const QTemporaryDir directory;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(directory.path()));
        HighScoreTable table;
        const highscores::LoadOutcome outcome = highscores::loadhighscores(table);
        QDir::setCurrent(previous);
        QCOMPARE(outcome, highscores::LoadOutcome::Created);
        QCOMPARE(fileBytes(directory.filePath(QStringLiteral("tavrinhs"))).size(), 170);
    }

    void savingTwiceWritesIdenticalBytes()
    {
        const QTemporaryDir directory;
        const QString path = directory.filePath(highscores::FileName);
        HighScoreTable table = defaultTable();
        table.hsnames[3] = QStringLiteral("Doe, \u00c5");
        table.hsscores[3] = -7;
        QVERIFY(highscores::savehighscores(table, path));
        const QByteArray first = fileBytes(path);
        QVERIFY(highscores::savehighscores(table, path));
        QCOMPARE(fileBytes(path), first);
        QCOMPARE(first, highscores::formatHighScores(table));
    }

    void twelveRecordsAreReadAsTenAndSavedAsTen()
    {
        const QTemporaryDir directory;
        const QString path = directory.filePath(highscores::FileName);
        QVERIFY(writeFile(path, records(letters(12))));
        HighScoreTable table;
        QCOMPARE(highscores::loadhighscores(table, path), highscores::LoadOutcome::Read);
        QVERIFY(highscores::savehighscores(table, path));
        QCOMPARE(fileBytes(path), records(letters(10)));
    }

    void sevenRecordsLeaveTheLastSlotsEmpty()
    {
        const QTemporaryDir directory;
        const QString path = directory.filePath(highscores::FileName);
        QVERIFY(writeFile(path, records(letters(7))));
        HighScoreTable table;
        QCOMPARE(highscores::loadhighscores(table, path), highscores::LoadOutcome::Incomplete);
        QCOMPARE(fileBytes(path), records(letters(7)));
        for (int k = 8; k <= highscores::Slots; ++k) {
            QCOMPARE(table.hsnames[k], QString());
            QCOMPARE(table.hsscores[k], 0);
        }
        QCOMPARE(table.hsnames[7], QStringLiteral("G"));
    }

    void badFilesAreLeftAloneAndTheTableStaysUsable_data()
    {
        QTest::addColumn<QByteArray>("content");
        std::mt19937 random(20240601);
        QByteArray noise(1 << 20, '\0');
        for (char &byte : noise)
            byte = char(random());
        QTest::newRow("1 MB of random bytes") << noise;
        QTest::newRow("one line of 10 MB") << QByteArray(10 << 20, 'x');
        QTest::newRow("10 MB without a line end after a good record")
            << DefaultRecord + QByteArray(10 << 20, '7');
        QTest::newRow("zero bytes") << QByteArray(4096, '\0');
    }

    void badFilesAreLeftAloneAndTheTableStaysUsable()
    {
        QFETCH(QByteArray, content);
        const QTemporaryDir directory;
        const QString path = directory.filePath(highscores::FileName);
        QVERIFY(writeFile(path, content));

        highscores::Module1 module1;
        QCOMPARE(highscores::loadhighscores(module1.table, path),
                 highscores::LoadOutcome::Incomplete);
        QVERIFY(fileBytes(path) == content);

        module1.gamescore = 300;
        QVERIFY(highscores::admitScore(module1));
        highscores::acceptName(module1, QStringLiteral("Ann"));
        highscores::sortHighScores(module1.table);
        QVERIFY(highscores::savehighscores(module1.table, path));
        HighScoreTable readBack;
        QCOMPARE(highscores::loadhighscores(readBack, path), highscores::LoadOutcome::Read);
        QCOMPARE(readBack, module1.table);
    }

    void gigabyteFileIsNotReadInFull()
    {
        const QTemporaryDir directory;
        const QString path = directory.filePath(highscores::FileName);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.write(DefaultRecord.repeated(3)) == 3 * 17);
            QVERIFY(file.resize(qint64(1) << 30)); // a hole of zero bytes, taking no disk
        }
        HighScoreTable table = oldTable();
        QCOMPARE(highscores::loadhighscores(table, path), highscores::LoadOutcome::Incomplete);
        QCOMPARE(table, withNewItems(QStringList(3, highscores::DefaultName), QList<int>(3, 0)));
        QCOMPARE(QFileInfo(path).size(), qint64(1) << 30);
    }

    void somethingElseInThePlaceOfTheFileIsLeftAlone_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory") << "directory";
        QTest::newRow("FIFO, which would block a plain open") << "fifo";
        QTest::newRow("socket") << "socket";
        QTest::newRow("link to a device") << "device";
    }

    void somethingElseInThePlaceOfTheFileIsLeftAlone()
    {
        QFETCH(QString, kind);
        const QTemporaryDir directory;
        const QString path = directory.filePath(highscores::FileName);
        const QByteArray native = QFile::encodeName(path);
        int boundSocket = -1;
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir(directory.path()).mkdir(highscores::FileName));
            QVERIFY(writeFile(path + QStringLiteral("/inside"), DefaultRecord));
        } else if (kind == QLatin1String("fifo")) {
            QVERIFY(::mkfifo(native.constData(), 0666) == 0);
        } else if (kind == QLatin1String("socket")) {
            boundSocket = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            QVERIFY(size_t(native.size()) < sizeof address.sun_path);
            std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
            QVERIFY(::bind(boundSocket, reinterpret_cast<sockaddr *>(&address), sizeof address)
                    == 0);
        } else {
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
        }
        struct stat before = {};
        QVERIFY(::lstat(native.constData(), &before) == 0);

        highscores::Module1 module1;
        module1.table = oldTable();
        QCOMPARE(highscores::loadhighscores(module1.table, path),
                 highscores::LoadOutcome::Unreadable);
        QCOMPARE(module1.table, oldTable());

        module1.gamescore = 300;
        QVERIFY(highscores::admitScore(module1));
        QCOMPARE(module1.table.hsscores[1], 300);
        QVERIFY(!highscores::savehighscores(module1.table, path));
        struct stat after = {};
        QVERIFY(::lstat(native.constData(), &after) == 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        if (kind == QLatin1String("directory"))
            QCOMPARE(fileBytes(path + QStringLiteral("/inside")), DefaultRecord);
        QCOMPARE(
            QDir(directory.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList {highscores::FileName});
        if (boundSocket >= 0)
            ::close(boundSocket);
    }
};

QTEST_APPLESS_MAIN(HighScoreFileTest)
#include "tst_highscorefile.moc"
