// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The table in memory: the order the list is shown in, and which game totals enter it.
#include "highscores/highscores.h"

#include <QTest>

#include <algorithm>
#include <random>
#include <utility>

using highscores::HighScoreTable;

namespace {

HighScoreTable tableOf(const QStringList &names, const QList<int> &scores)
{
    HighScoreTable table;
    for (int k = 1; k <= highscores::Slots; ++k) {
        table.hsnames[k] = names[k - 1];
        table.hsscores[k] = static_cast<std::int16_t>(scores[k - 1]);
    }
    return table;
}

QStringList namesOf(const HighScoreTable &table)
{
    return QStringList(table.hsnames.begin() + 1, table.hsnames.begin() + 1 + highscores::Slots);
}

QList<int> scoresOf(const HighScoreTable &table)
{
    return QList<int>(table.hsscores.begin() + 1, table.hsscores.begin() + 1 + highscores::Slots);
}

const QStringList AToJ = {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"};

} // namespace

class HighScoreTableTest : public QObject
{
    Q_OBJECT

private slots:
    void sortShowsTheBestFirstInItsOwnOrderForEqualScores_data()
    {
        QTest::addColumn<QList<int>>("scores");
        QTest::addColumn<QStringList>("sortedNames");
        QTest::addColumn<QList<int>>("sortedScores");
        QTest::newRow("one five among zeros")
            << QList<int> {0, 0, 0, 0, 0, 0, 0, 0, 0, 5}
            << QStringList {"J", "B", "A", "D", "C", "F", "G", "H", "I", "E"}
            << QList<int> {5, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("ten equal scores keep their order")
            << QList<int>(10, 7) << AToJ << QList<int>(10, 7);
        QTest::newRow("ascending one to ten")
            << QList<int> {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
            << QStringList {"J", "I", "H", "G", "F", "E", "D", "C", "B", "A"}
            << QList<int> {10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
        QTest::newRow("already best first") << QList<int> {9, 8, 7, 6, 5, 4, 3, 2, 1, 0} << AToJ
                                            << QList<int> {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("negative scores last")
            << QList<int> {-1, 0, -32768, 32767, 3, -5, 3, 0, 2, 1}
            << QStringList {"D", "E", "G", "I", "J", "H", "B", "A", "F", "C"}
            << QList<int> {32767, 3, 3, 2, 1, 0, 0, -1, -5, -32768};
    }

    void sortShowsTheBestFirstInItsOwnOrderForEqualScores()
    {
        QFETCH(QList<int>, scores);
        QFETCH(QStringList, sortedNames);
        QFETCH(QList<int>, sortedScores);
        HighScoreTable table = tableOf(AToJ, scores);
        highscores::sortHighScores(table);
        QCOMPARE(namesOf(table), sortedNames);
        QCOMPARE(scoresOf(table), sortedScores);
    }

    void sortKeepsEveryNameWithItsScoreAndTouchesNoOtherSlot()
    {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> score(-3, 3); // narrow, so there are many ties
        for (int round = 0; round < 500; ++round) {
            HighScoreTable table;
            for (int k = 0; k <= 12; ++k) {
                table.hsscores[k] = static_cast<std::int16_t>(score(random));
                table.hsnames[k] = QStringLiteral("%1:%2").arg(k).arg(table.hsscores[k]);
            }
            const HighScoreTable before = table;
            highscores::sortHighScores(table);

            QVERIFY(std::is_sorted(table.hsscores.begin() + 1, table.hsscores.begin() + 11,
                                   std::greater<>()));
            QStringList sortedBefore = namesOf(before);
            QStringList sortedAfter = namesOf(table);
            sortedBefore.sort();
            sortedAfter.sort();
            QCOMPARE(sortedAfter, sortedBefore);
            for (int k = 1; k <= highscores::Slots; ++k)
                QCOMPARE(table.hsnames[k].section(u':', 1).toInt(), int(table.hsscores[k]));
            for (int k : {0, 11, 12}) {
                QCOMPARE(table.hsnames[k], before.hsnames[k]);
                QCOMPARE(table.hsscores[k], before.hsscores[k]);
            }
        }
    }

    void resetPutsTheDefaultEntryInEverySlot()
    {
        HighScoreTable table = tableOf(AToJ, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        highscores::resethighscores(table);
        QCOMPARE(namesOf(table), QStringList(10, QStringLiteral("Mossgrovity")));
        QCOMPARE(scoresOf(table), QList<int>(10, 0));
    }

    void totalEntersWhenItBeatsTheLowestEntry_data()
    {
        QTest::addColumn<QList<int>>("scores");
        QTest::addColumn<int>("gamescore");
        QTest::addColumn<int>("slot"); // 0: the total does not enter
        QTest::newRow("zero does not beat the default table") << QList<int>(10, 0) << 0 << 0;
        QTest::newRow("one replaces the first default entry") << QList<int>(10, 0) << 1 << 1;
        QTest::newRow("equal to the lowest does not enter")
            << QList<int> {50, 40, 30, 20, 25, 35, 45, 55, 60, 70} << 20 << 0;
        QTest::newRow("one above the lowest enters")
            << QList<int> {50, 40, 30, 20, 25, 35, 45, 55, 60, 70} << 21 << 4;
        QTest::newRow("lowest shared by slots 4 and 9 takes slot 4")
            << QList<int> {50, 40, 30, 5, 25, 35, 45, 55, 5, 70} << 100 << 4;
        QTest::newRow("negative lowest") << QList<int> {3, 3, 3, 3, 3, 3, -2, 3, 3, 3} << 0 << 7;
        QTest::newRow("all at 10000 or more admit nothing")
            << QList<int> {10000, 10001, 32767, 10000, 20000, 10000, 15000, 10000, 11111, 10000}
            << 300 << 0;
        QTest::newRow("one below 10000 among them is the lowest")
            << QList<int> {10000, 10001, 32767, 10000, 20000, 9999, 15000, 10000, 11111, 10000}
            << 10000 << 6;
    }

    void totalEntersWhenItBeatsTheLowestEntry()
    {
        QFETCH(QList<int>, scores);
        QFETCH(int, gamescore);
        QFETCH(int, slot);
        highscores::Module1 module1;
        module1.table = tableOf(AToJ, scores);
        module1.gamescore = static_cast<std::int16_t>(gamescore);
        const HighScoreTable before = module1.table;

        QCOMPARE(highscores::admitScore(module1), slot != 0);
        HighScoreTable expected = before;
        if (slot != 0) {
            QCOMPARE(module1.lowestslot, slot);
            expected.hsscores[slot] = static_cast<std::int16_t>(gamescore);
        }
        QCOMPARE(scoresOf(module1.table), scoresOf(expected));
        QCOMPARE(namesOf(module1.table), AToJ); // the old name stays until one is accepted
    }

    void acceptedNameGoesIntoTheReplacedSlotAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("a name") << QStringLiteral("Ann");
        QTest::newRow("the empty name") << QString();
        QTest::newRow("blanks kept") << QStringLiteral("  Bo b ");
    }

    void acceptedNameGoesIntoTheReplacedSlotAsTyped()
    {
        QFETCH(QString, typed);
        highscores::Module1 module1;
        module1.table = tableOf(AToJ, {9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
        module1.gamescore = 57;
        QVERIFY(highscores::admitScore(module1));
        highscores::acceptName(module1, typed);
        QCOMPARE(module1.enteredname, typed);
        QStringList names = AToJ;
        names[9] = typed;
        QCOMPARE(namesOf(module1.table), names);
        QCOMPARE(module1.table.hsscores[10], 57);
    }
};

QTEST_APPLESS_MAIN(HighScoreTableTest)
#include "tst_highscoretable.moc"
