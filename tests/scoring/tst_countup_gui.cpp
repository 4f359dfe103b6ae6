// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The count-up at the end of a whole game played by clicks, on the real main window with a
// fake clock, a pinned deal and a recording sound player.
#include "tests/support/rig.h"

#include "ui/frmentername.h"
#include "ui/frmhighscores.h"

#include "game/cues.h"
#include "highscores/highscores.h"
#include "scoring/scoring.h"

#include <QFile>
#include <QTest>

#include <algorithm>

using support::Rig;

namespace {

// What the rule code makes of the board the game dealt.
struct Result
{
    scoring::Line8 rowscores {};
    scoring::Line8 colscores {};
    int total = 0;
};

Result scoreOf(const game::Board &board)
{
    scoring::Table8 cardvalues {};
    scoring::Table8 cardsuits {};
    scoring::landvalues(board.cardgrid, cardvalues, cardsuits);
    Result result;
    scoring::checkhands(cardvalues, cardsuits, result.rowscores, result.colscores);
    for (int k = 0; k <= 4; ++k)
        result.total += result.rowscores[k] + result.colscores[k];
    return result;
}

// A number as a score label writes it: a blank for the sign, then the digits.
QString labelText(int value)
{
    return QStringLiteral(" %1").arg(value);
}

// The eleven score labels: rows top to bottom, columns left to right, the total.
QStringList scoreCaptions(ui::frmQuintagrid &window)
{
    QStringList captions;
    for (const ui::CaptionLabel *label : window.riviarvo)
        captions << label->caption();
    for (const ui::CaptionLabel *label : window.Label1)
        captions << label->caption();
    captions << window.Label4->caption();
    return captions;
}

// Every cue of one game: the opening shuffle and card, then each line's steps and knock, the
// total's steps and knock, and the high-score cue when the total enters the table.
std::vector<game::Cue> cuesOfWholeGame(const Result &result, bool entersTable)
{
    std::vector<game::Cue> cues(26, game::Cue::ShuffleFrame);
    cues.push_back(game::Cue::OpeningCard);
    const auto countTo = [&](int points) {
        cues.insert(cues.end(), std::size_t(points) + 1, game::Cue::CountStep);
        cues.push_back(game::Cue::CountDone);
    };
    for (int r = 0; r <= 4; ++r)
        countTo(result.rowscores[r]);
    for (int c = 0; c <= 4; ++c)
        countTo(result.colscores[c]);
    countTo(result.total);
    if (entersTable)
        cues.push_back(game::Cue::HighScore);
    return cues;
}

// True while the count-up runs: it writes the top row's label first, and nothing before it.
bool countingUp(Rig &rig)
{
    return !rig.main().riviarvo[0]->caption().isEmpty() && rig.module1.gamescore == -1;
}

} // namespace

class CountUpWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void wholeGameShowsEachLinesPointsAndTheTotal_data()
    {
        QTest::addColumn<quint64>("seed");
        QTest::addColumn<bool>("tableUnbeatable");

        QTest::newRow("seed 1, table of zeros") << quint64(1) << false;
        QTest::newRow("seed 1, table nobody beats") << quint64(1) << true;
        QTest::newRow("seed 20, table of zeros") << quint64(20) << false;
        QTest::newRow("seed 300, table nobody beats") << quint64(300) << true;
    }

    void wholeGameShowsEachLinesPointsAndTheTotal()
    {
        QFETCH(quint64, seed);
        QFETCH(bool, tableUnbeatable);

        Rig rig(seed);
        if (tableUnbeatable)
            rig.module1.table.hsscores.fill(300);
        int countUpDispatches = 0;
        int enabledDuringCountUp = 0;
        rig.clock.onDispatch = [&](int) {
            if (!countingUp(rig))
                return;
            ++countUpDispatches;
            if (rig.main().isEnabled())
                ++enabledDuringCountUp;
        };

        Rig::click(rig.main().Command1);
        rig.fillBoard();

        QCOMPARE(rig.dealing().dealtcount, 25);
        const Result result = scoreOf(rig.board());
        QVERIFY2(result.total > 0, "this deal is meant to score");
        QStringList expected;
        for (int r = 0; r <= 4; ++r)
            expected << labelText(result.rowscores[r]);
        for (int c = 0; c <= 4; ++c)
            expected << labelText(result.colscores[c]);
        expected << labelText(result.total);
        QCOMPARE(scoreCaptions(rig.main()), expected);

        // One dispatch per wait: a step per value shown on a line, the total's steps, eleven
        // pauses. The window took no input during any of them.
        int lineSteps = 0;
        for (int k = 0; k <= 4; ++k)
            lineSteps += result.rowscores[k] + 1 + result.colscores[k] + 1;
        QCOMPARE(countUpDispatches, lineSteps + result.total + 1 + 11);
        QCOMPARE(enabledDuringCountUp, 0);

        const bool entersTable = !tableUnbeatable;
        QCOMPARE(rig.sound.played, cuesOfWholeGame(result, entersTable));
        QCOMPARE(rig.module1.gamescore, std::int16_t(-1));
        QVERIFY(rig.main().Command1->isEnabledTo(&rig.main()));
        if (entersTable) {
            // The name entry has the window now; the total went into the table.
            QVERIFY(rig.enterName() != nullptr);
            QVERIFY(!rig.main().isEnabled());
            QVERIFY(std::count(rig.module1.table.hsscores.begin() + 1,
                               rig.module1.table.hsscores.begin() + 11, result.total)
                    == 1);
        } else {
            QVERIFY(rig.enterName() == nullptr);
            QVERIFY(rig.main().isEnabled());
        }
    }

    void buttonsDoNothingDuringTheCountUp()
    {
        Rig rig(1);
        bool clicked = false;
        rig.clock.onDispatch = [&](int) {
            if (clicked || !countingUp(rig))
                return;
            clicked = true;
            Rig::click(rig.main().Command2); // High Scores
            Rig::click(rig.main().Command5); // About
            Rig::click(rig.main().Command1); // Begin
        };

        Rig::click(rig.main().Command1);
        rig.fillBoard();

        QVERIFY(clicked);
        QVERIFY(rig.highScores() == nullptr);
        QVERIFY(rig.about() == nullptr);
        QCOMPARE(rig.dealing().dealtcount, 25);
        QCOMPARE(rig.main().Label4->caption(), labelText(scoreOf(rig.board()).total));
    }

    void closeRequestStopsTheCountUpAtOnce_data()
    {
        QTest::addColumn<int>("phase");

        QTest::newRow("first step of the top row") << 0;
        QTest::newRow("first step of the left column") << 1;
        QTest::newRow("first step of the total") << 2;
        QTest::newRow("pause after the total") << 3;
    }

    void closeRequestStopsTheCountUpAtOnce()
    {
        QFETCH(int, phase);

        Rig rig(1);
        const QString file = rig.directory.filePath(highscores::FileName);
        QVERIFY(QFile::exists(file));
        const auto inPhase = [&] {
            ui::frmQuintagrid &window = rig.main();
            switch (phase) {
            case 0:
                return true;
            case 1:
                return !window.Label1[0]->caption().isEmpty();
            case 2:
                return !window.Label4->caption().isEmpty();
            default:
                return !window.Label4->caption().isEmpty() && rig.clock.waitsAsked.back() == 100;
            }
        };

        bool closed = false;
        QStringList captionsAtClose;
        std::size_t cuesAtClose = 0;
        int dispatchesAtClose = 0;
        QByteArray writtenByClose;
        rig.clock.onDispatch = [&](int dispatches) {
            if (closed || !countingUp(rig) || !inPhase())
                return;
            closed = true;
            // The start-up wrote the file; take it away to see who writes it from now on.
            QFile::remove(file);
            rig.main().close();
            captionsAtClose = scoreCaptions(rig.main());
            cuesAtClose = rig.sound.played.size();
            dispatchesAtClose = dispatches;
            QFile written(file);
            if (written.open(QIODevice::ReadOnly))
                writtenByClose = written.readAll();
            QFile::remove(file);
        };

        Rig::click(rig.main().Command1);
        rig.fillBoard();

        QVERIFY(closed);
        QCOMPARE(writtenByClose, highscores::formatHighScores(rig.module1.table));
        QVERIFY2(!QFile::exists(file), "the high-score file was written again after the close");
        QCOMPARE(scoreCaptions(rig.main()), captionsAtClose);
        QCOMPARE(rig.sound.played.size(), cuesAtClose);
        QCOMPARE(rig.clock.dispatches, dispatchesAtClose);
        QCOMPARE(rig.windows.endings, 1);
        QVERIFY(rig.enterName() == nullptr);
        QVERIFY(rig.highScores() == nullptr);
        QCOMPARE(rig.module1.gamescore, std::int16_t(-1));
        QVERIFY(rig.sound.count(game::Cue::HighScore) == 0);
        QVERIFY(!rig.main().Command1->isEnabledTo(&rig.main()));
    }
};

QTEST_MAIN(CountUpWindowTest)
#include "tst_countup_gui.moc"
