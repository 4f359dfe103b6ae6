// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The count-up's order of labels, cues and waits, recorded without any window.
#include "game/cues.h"
#include "scoring/scoring.h"

#include <QStringList>
#include <QTest>

#include <optional>

namespace {

const QString Step = QStringLiteral("count step cue");
const QString Done = QStringLiteral("count done cue");

QString rowShows(int row, int value)
{
    return QStringLiteral("row %1: %2").arg(row).arg(value);
}
QString columnShows(int column, int value)
{
    return QStringLiteral("column %1: %2").arg(column).arg(value);
}
QString totalShows(int value)
{
    return QStringLiteral("total: %1").arg(value);
}
QString waits(int ms)
{
    return QStringLiteral("wait %1").arg(ms);
}

// Writes down every call, in order. A wait can be told to report that the program is ending.
class RecordingTally final : public scoring::TallyDisplay
{
public:
    void showRowPoints(int row, std::int16_t value) override { events << rowShows(row, value); }
    void showColumnPoints(int column, std::int16_t value) override
    {
        events << columnShows(column, value);
    }
    void showTotal(std::int16_t value) override { events << totalShows(value); }
    void playCue(game::Cue cue) override
    {
        events << (cue == game::Cue::CountStep       ? Step
                       : cue == game::Cue::CountDone ? Done
                                                     : QStringLiteral("another cue"));
    }
    bool wait(int ms) override
    {
        events << waits(ms);
        ++waitCount;
        return waitCount != endingAtWait;
    }

    QStringList events;
    int waitCount = 0;
    int endingAtWait = 0; // the wait (counted from 1) that reports the end; 0 for none
};

scoring::Line8 lines(const QList<int> &points)
{
    scoring::Line8 line {};
    for (int k = 0; k < points.size(); ++k)
        line[k] = static_cast<std::int16_t>(points[k]);
    return line;
}

// The label a "row 2: 5" style event writes to ("row 2"), or an empty string for a cue or wait.
QString labelOf(const QString &event)
{
    const qsizetype colon = event.indexOf(u':');
    return colon < 0 ? QString() : event.left(colon);
}

void addBoards()
{
    QTest::addColumn<QList<int>>("rowPoints");
    QTest::addColumn<QList<int>>("columnPoints");
    QTest::addColumn<int>("total");

    QTest::newRow("nothing anywhere")
        << QList<int> {0, 0, 0, 0, 0} << QList<int> {0, 0, 0, 0, 0} << 0;
    QTest::newRow("one pair in the last column")
        << QList<int> {0, 0, 0, 0, 0} << QList<int> {0, 0, 0, 0, 1} << 1;
    QTest::newRow("a mixed board")
        << QList<int> {1, 3, 0, 12, 5} << QList<int> {6, 1, 10, 0, 16} << 54;
    QTest::newRow("every line a straight flush")
        << QList<int> {30, 30, 30, 30, 30} << QList<int> {30, 30, 30, 30, 30} << 300;
}

} // namespace

class CountUpTest : public QObject
{
    Q_OBJECT

private slots:
    void boardWorthNothingTicksAndKnocksOncePerLineAndForTheTotal()
    {
        RecordingTally tally;
        const std::optional<std::int16_t> total =
            scoring::countUp(lines({0, 0, 0, 0, 0}), lines({0, 0, 0, 0, 0}), tally);

        QStringList expected;
        for (int r = 0; r <= 4; ++r)
            expected << rowShows(r, 0) << Step << waits(30) << rowShows(r, 0) << Done << waits(100);
        for (int c = 0; c <= 4; ++c)
            expected << columnShows(c, 0) << Step << waits(30) << columnShows(c, 0) << Done
                     << waits(100);
        expected << totalShows(0) << waits(30) << Step << Done << waits(100) << totalShows(0);
        QCOMPARE(tally.events, expected);

        QStringList cues;
        for (const QString &event : tally.events) {
            if (event.endsWith(QLatin1String(" cue")))
                cues << event;
        }
        QStringList alternating;
        for (int k = 0; k < 11; ++k)
            alternating << Step << Done;
        QCOMPARE(cues, alternating);
        QCOMPARE(total, std::optional<std::int16_t>(0));
    }

    void lineCountsUpFromZeroThenShowsItsPointsAgain_data()
    {
        QTest::addColumn<bool>("isRow");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("points");

        QTest::newRow("top row, straight flush") << true << 0 << 30;
        QTest::newRow("middle row, straight flush") << true << 2 << 30;
        QTest::newRow("bottom row, straight") << true << 4 << 12;
        QTest::newRow("left column, one pair") << false << 0 << 1;
        QTest::newRow("fourth column, four of a kind") << false << 3 << 16;
    }

    void lineCountsUpFromZeroThenShowsItsPointsAgain()
    {
        QFETCH(bool, isRow);
        QFETCH(int, line);
        QFETCH(int, points);

        scoring::Line8 rowscores {};
        scoring::Line8 colscores {};
        (isRow ? rowscores : colscores)[line] = static_cast<std::int16_t>(points);
        RecordingTally tally;
        QCOMPARE(scoring::countUp(rowscores, colscores, tally),
                 std::optional<std::int16_t>(points));

        const auto shows = [&](int value) {
            return isRow ? rowShows(line, value) : columnShows(line, value);
        };
        QStringList expected;
        for (int k = 0; k <= points; ++k)
            expected << shows(k) << Step << waits(30);
        expected << shows(points) << Done << waits(100);

        const qsizetype first = tally.events.indexOf(shows(0));
        QVERIFY(first >= 0);
        QCOMPARE(tally.events.mid(first, expected.size()), expected);
    }

    void rowsCountTopDownThenColumnsLeftToRightThenTheTotal()
    {
        RecordingTally tally;
        QVERIFY(scoring::countUp(lines({1, 3, 5, 6, 10}), lines({12, 16, 30, 0, 1}), tally));

        // Each label's steps come in one run, so listing the label of each run gives the order.
        QStringList order;
        for (const QString &event : tally.events) {
            const QString label = labelOf(event);
            if (!label.isEmpty() && (order.isEmpty() || order.last() != label))
                order << label;
        }
        const QStringList expected = {"row 0",    "row 1",    "row 2",    "row 3",
                                      "row 4",    "column 0", "column 1", "column 2",
                                      "column 3", "column 4", "total"};
        QCOMPARE(order, expected);
    }

    void totalIsTheSumOfTheLinesAndEveryLabelEndsOnItsPoints_data() { addBoards(); }

    void totalIsTheSumOfTheLinesAndEveryLabelEndsOnItsPoints()
    {
        QFETCH(QList<int>, rowPoints);
        QFETCH(QList<int>, columnPoints);
        QFETCH(int, total);

        RecordingTally tally;
        QCOMPARE(scoring::countUp(lines(rowPoints), lines(columnPoints), tally),
                 std::optional<std::int16_t>(total));

        // Each label shows 0, 1, ... up to its points, then its points once more.
        const auto valuesOn = [&](const QString &label) {
            QList<int> values;
            for (const QString &event : tally.events) {
                if (labelOf(event) == label)
                    values << event.mid(label.size() + 2).toInt();
            }
            return values;
        };
        const auto counted = [](int points) {
            QList<int> values;
            for (int k = 0; k <= points; ++k)
                values << k;
            values << points;
            return values;
        };
        for (int k = 0; k <= 4; ++k) {
            QCOMPARE(valuesOn(QStringLiteral("row %1").arg(k)), counted(rowPoints[k]));
            QCOMPARE(valuesOn(QStringLiteral("column %1").arg(k)), counted(columnPoints[k]));
        }
        QCOMPARE(valuesOn(QStringLiteral("total")), counted(total));
        QCOMPARE(tally.events.last(), totalShows(total));
    }

    void stepsWaitThirtyMillisecondsAndEachLineAndTheTotalPauseAHundred_data() { addBoards(); }

    void stepsWaitThirtyMillisecondsAndEachLineAndTheTotalPauseAHundred()
    {
        QFETCH(QList<int>, rowPoints);
        QFETCH(QList<int>, columnPoints);
        QFETCH(int, total);

        RecordingTally tally;
        QVERIFY(scoring::countUp(lines(rowPoints), lines(columnPoints), tally));

        qsizetype lineSteps = 0;
        for (int k = 0; k <= 4; ++k)
            lineSteps += rowPoints[k] + 1 + columnPoints[k] + 1;
        const qsizetype steps = tally.events.count(waits(30));
        const qsizetype pauses = tally.events.count(waits(100));
        QCOMPARE(steps, lineSteps + total + 1);
        QCOMPARE(pauses, qsizetype(11));
        QCOMPARE(qsizetype(tally.waitCount), steps + pauses);
    }

    void totalWaitsBeforeEachTickThenKnocksAndPauses()
    {
        RecordingTally tally;
        QVERIFY(scoring::countUp(lines({0, 1, 0, 0, 0}), lines({0, 0, 0, 1, 0}), tally));

        const QStringList expected = {
            totalShows(0), waits(30), Step, totalShows(1), waits(30),  Step,
            totalShows(2), waits(30), Step, Done,          waits(100), totalShows(2),
        };
        QCOMPARE(tally.events.mid(tally.events.indexOf(totalShows(0))), expected);
    }

    void stopsAtOnceWhenAWaitReportsTheEnd_data()
    {
        QTest::addColumn<int>("endingAtWait");

        // Rows 3 0 0 0 0, columns 0 0 0 0 1: waits 1-4 count the top row, 5 is its pause, 14-15
        // the left column, 22-24 the last column, 25-29 count the total of 4, 30 is the last.
        QTest::newRow("first step") << 1;
        QTest::newRow("a step in the top row") << 3;
        QTest::newRow("the top row's pause") << 5;
        QTest::newRow("the left column's step") << 14;
        QTest::newRow("the last column's pause") << 24;
        QTest::newRow("a step of the total") << 27;
        QTest::newRow("the last step of the total") << 29;
        QTest::newRow("the pause after the total") << 30;
    }

    void stopsAtOnceWhenAWaitReportsTheEnd()
    {
        QFETCH(int, endingAtWait);
        const scoring::Line8 rowscores = lines({3, 0, 0, 0, 0});
        const scoring::Line8 colscores = lines({0, 0, 0, 0, 1});

        RecordingTally full;
        QVERIFY(scoring::countUp(rowscores, colscores, full));
        QCOMPARE(full.waitCount, 30);

        RecordingTally stopped;
        stopped.endingAtWait = endingAtWait;
        QCOMPARE(scoring::countUp(rowscores, colscores, stopped), std::nullopt);

        // Everything up to the wait that reported the end, and nothing after it.
        QCOMPARE(stopped.waitCount, endingAtWait);
        QVERIFY(stopped.events.last().startsWith(QLatin1String("wait ")));
        QCOMPARE(stopped.events, full.events.mid(0, stopped.events.size()));
    }
};

QTEST_APPLESS_MAIN(CountUpTest)
#include "tst_countup.moc"
