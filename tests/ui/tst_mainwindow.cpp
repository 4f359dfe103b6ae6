// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven through real mouse events, with a fake clock and a pinned deal.
#include "tests/support/rig.h"

#include "ui/frmabout.h"
#include "ui/frmcards.h"
#include "ui/frmhighscores.h"

#include "game/cues.h"

#include <QFile>
#include <QTest>

using support::Rig;

namespace {

std::uint32_t colourOf(const ui::frmQuintagrid &window, int cell)
{
    return ui::TestAccess::backColor(*window.picPlace[cell]);
}

// The cells whose colour is not the normal dark green.
std::vector<int> litCells(const ui::frmQuintagrid &window)
{
    std::vector<int> lit;
    for (int i = 0; i < game::CellCount; ++i) {
        if (colourOf(window, i) != game::NormalCellColour)
            lit.push_back(i);
    }
    return lit;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWithAnEmptyBoardAndNoGame()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        QCOMPARE(main.size(), QSize(505, 417));
        for (ui::PictureBox *cell : main.picPlace) {
            QVERIFY(!cell->picture());
            QCOMPARE(ui::TestAccess::backColor(*cell), game::NormalCellColour);
        }
        QVERIFY(!main.picDealt->picture());
        QVERIFY(main.Label4->caption().isEmpty());
        QVERIFY(main.Command1->isEnabled());
        QVERIFY(rig.sound.played.empty());
        QVERIFY(QFile::exists(QStringLiteral("tavrinhs")));
    }

    void beginPlacesTheOpeningCardTopLeftAndOffersTheNext()
    {
        Rig rig;
        Rig::click(rig.main().Command1);
        const auto &dealing = rig.dealing();
        const ui::frmCards &store = rig.forms->cards();
        QCOMPARE(dealing.dealtcount, 2);
        QCOMPARE(rig.board().card(0), dealing.dealtcards[0]);
        QCOMPARE(rig.main().picPlace[0]->picture(), store.picCard(dealing.dealtcards[0] - 1));
        QCOMPARE(rig.main().picDealt->picture(), store.picCard(dealing.dealtcards[1] - 1));
        QCOMPARE(rig.main().picDealt->picture(), store.picCard(dealing.offeredcard - 1));
        QVERIFY(!rig.main().Command1->isEnabled());
        QCOMPARE(rig.acceptingCells(), (std::vector<int> {1, 5, 6}));
    }

    void openingShufflesTwentySixFramesWithATickEach()
    {
        Rig rig;
        std::vector<ui::PictureRef> frames;
        rig.clock.onDispatch = [&rig, &frames](int) {
            frames.push_back(rig.main().picDealt->picture());
        };
        Rig::click(rig.main().Command1);
        QCOMPARE(int(frames.size()), 26);
        QCOMPARE(rig.clock.waitsAsked, std::vector<std::uint32_t>(26, 30));
        const ui::frmCards &store = rig.forms->cards();
        for (const ui::PictureRef &frame : frames) {
            QVERIFY(frame);
            QVERIFY(frame != store.picCard(51)); // the King of Clubs never shows in the shuffle
        }
        std::vector<game::Cue> expected(26, game::Cue::ShuffleFrame);
        expected.push_back(game::Cue::OpeningCard);
        QCOMPARE(rig.sound.played, expected);
        // The shuffle deals nothing: the opening card is drawn afterwards.
        QCOMPARE(rig.dealing().dealtcount, 2);
    }

    void placingACardPlaysNothingAndDealsTheNext()
    {
        Rig rig;
        Rig::click(rig.main().Command1);
        const std::size_t cues = rig.sound.played.size();
        const game::CardId offered = rig.dealing().offeredcard;
        Rig::click(rig.main().picPlace[6]);
        QCOMPARE(rig.board().card(6), offered);
        QCOMPARE(rig.main().picPlace[6]->picture(), rig.forms->cards().picCard(offered - 1));
        QCOMPARE(rig.dealing().dealtcount, 3);
        QVERIFY(rig.dealing().offeredcard != offered);
        QCOMPARE(rig.sound.played.size(), cues);
    }

    void refusedClicksChangeNothing_data()
    {
        QTest::addColumn<int>("cell");
        QTest::newRow("occupied opening cell") << 0;
        QTest::newRow("no neighbour") << 2;
        QTest::newRow("far corner") << 24;
    }

    void refusedClicksChangeNothing()
    {
        QFETCH(int, cell);
        Rig rig;
        Rig::click(rig.main().Command1);
        const game::Board before = rig.board();
        const game::Dealing dealt = rig.dealing();
        const std::size_t cues = rig.sound.played.size();
        Rig::click(rig.main().picPlace[cell]);
        QCOMPARE(rig.board().cardgrid, before.cardgrid);
        QCOMPARE(rig.dealing().dealtcards, dealt.dealtcards);
        QCOMPARE(rig.dealing().dealtcount, dealt.dealtcount);
        QCOMPARE(rig.sound.played.size(), cues);
    }

    void clicksBeforeTheFirstGameDoNothing()
    {
        Rig rig;
        for (ui::PictureBox *cell : rig.main().picPlace)
            Rig::click(cell);
        QCOMPARE(rig.dealing().dealtcount, 0);
        QVERIFY(rig.sound.played.empty());
    }

    void wholeGameByClicksFillsTheBoard()
    {
        Rig rig;
        Rig::click(rig.main().Command1);
        rig.fillBoard();
        ui::frmQuintagrid &main = rig.main();
        QCOMPARE(rig.dealing().dealtcount, 25);
        for (int i = 0; i < game::CellCount; ++i)
            QVERIFY(rig.board().occupied(i));
        QCOMPARE(rig.board().card(game::CellCount - 1) != game::NoCard, true);
        QVERIFY(main.Command1->isEnabledTo(&main));
        QCOMPARE(rig.module1.gamescore, -1);
        // The last card stays beside the board until the next game.
        QCOMPARE(main.picDealt->picture(),
                 rig.forms->cards().picCard(rig.dealing().offeredcard - 1));
        QCOMPARE(rig.dealing().offeredcard, rig.dealing().dealtcards[24]);
        QVERIFY(rig.acceptingCells().empty());
    }

    void beginAfterAGameStartsAFreshOne()
    {
        Rig rig(3);
        Rig::click(rig.main().Command1);
        rig.fillBoard();
        // A qualifying total may have opened the name window; close its chain first.
        if (rig.enterName() != nullptr)
            rig.main().setEnabled(true);
        Rig::click(rig.main().Command1);
        QCOMPARE(rig.dealing().dealtcount, 2);
        QCOMPARE(rig.acceptingCells(), (std::vector<int> {1, 5, 6}));
        for (int i = 1; i < game::CellCount; ++i)
            QVERIFY(!rig.main().picPlace[i]->picture());
        QVERIFY(rig.main().Label4->caption().isEmpty());
        QVERIFY(rig.main().riviarvo[0]->caption().isEmpty());
    }

    void hoverLightsOnlyTheCellUnderThePointer()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        // Before the first game every cell refuses.
        Rig::hover(main.picPlace[12]);
        QCOMPARE(litCells(main), std::vector<int> {12});
        QCOMPARE(colourOf(main, 12), game::RefuseCellColour);

        Rig::click(main.Command1);
        Rig::hover(main.picPlace[6]);
        QCOMPARE(litCells(main), std::vector<int> {6});
        QCOMPARE(colourOf(main, 6), game::AcceptCellColour);
        Rig::hover(main.picPlace[0]);
        QCOMPARE(litCells(main), std::vector<int> {0});
        QCOMPARE(colourOf(main, 0), game::RefuseCellColour);
        Rig::hover(main.picPlace[2]);
        QCOMPARE(colourOf(main, 2), game::RefuseCellColour);

        // A card placed under the pointer turns its cell to "refuses" at once.
        Rig::hover(main.picPlace[6]);
        Rig::click(main.picPlace[6]);
        QVERIFY(rig.board().occupied(6));
        QVERIFY(main.picPlace[6]->picture());
        QCOMPARE(litCells(main), std::vector<int> {6});
        QCOMPARE(colourOf(main, 6), game::RefuseCellColour);

        // The window's own background puts every cell back to dark green.
        Rig::hover(&main, QPoint(305, 200));
        QVERIFY(litCells(main).empty());
    }

    void beginDuringTheShuffleIsIgnored()
    {
        Rig rig;
        rig.clock.onDispatch = [&rig](int dispatches) {
            if (dispatches == 10)
                rig.main().Command1_Click();
        };
        Rig::click(rig.main().Command1);
        QCOMPARE(rig.sound.count(game::Cue::ShuffleFrame), 26);
        QCOMPARE(rig.sound.count(game::Cue::OpeningCard), 1);
        QCOMPARE(rig.dealing().dealtcount, 2);
        int cards = 0;
        for (int i = 0; i < game::CellCount; ++i)
            cards += rig.board().occupied(i) ? 1 : 0;
        QCOMPARE(cards, 1);
    }

    void exitDuringTheShuffleEndsAtOnce()
    {
        Rig rig;
        rig.clock.onDispatch = [&rig](int dispatches) {
            if (dispatches == 5)
                Rig::click(rig.main().Command3);
        };
        Rig::click(rig.main().Command1);
        QCOMPARE(rig.windows.endings, 1);
        QVERIFY(rig.ending());
        QCOMPARE(rig.sound.count(game::Cue::ShuffleFrame), 5);
        QCOMPARE(rig.sound.count(game::Cue::OpeningCard), 0);
        QCOMPARE(rig.dealing().dealtcount, 0);
        QVERIFY(!rig.board().occupied(0));
        // Nothing of a game starts after the end.
        rig.main().Command1_Click();
        QCOMPARE(rig.dealing().dealtcount, 0);
    }

    void minimizeDuringTheShuffleLetsItComplete()
    {
        Rig rig;
        rig.clock.onDispatch = [&rig](int dispatches) {
            if (dispatches == 5)
                Rig::click(rig.main().Command4);
        };
        Rig::click(rig.main().Command1);
        QVERIFY(rig.main().windowState() & Qt::WindowMinimized);
        QCOMPARE(rig.dealing().dealtcount, 2);
        QVERIFY(rig.board().occupied(0));
    }

    void highScoresDuringTheShuffleOpensAndTheShuffleCompletes()
    {
        Rig rig;
        rig.clock.onDispatch = [&rig](int dispatches) {
            if (dispatches == 5)
                Rig::click(rig.main().Command2);
        };
        Rig::click(rig.main().Command1);
        QVERIFY(rig.highScores() != nullptr);
        QVERIFY(!rig.main().isEnabled());
        QCOMPARE(rig.dealing().dealtcount, 2);
        Rig::click(rig.highScores()->Command1);
        QVERIFY(rig.main().isEnabled());
        QVERIFY(rig.highScores() == nullptr);
    }

    void minimizeAndRestoreLeaveTheBoardAsItWas()
    {
        Rig rig;
        Rig::click(rig.main().Command1);
        Rig::click(rig.main().picPlace[1]);
        const QImage before = rig.main().grab().toImage();
        const game::Board board = rig.board();
        Rig::click(rig.main().Command4);
        QVERIFY(rig.main().windowState() & Qt::WindowMinimized);
        rig.main().showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(&rig.main()));
        QCOMPARE(rig.board().cardgrid, board.cardgrid);
        QCOMPARE(rig.main().grab().toImage(), before);
    }

    void disablingTheWindowDoesNotChangeItsLook()
    {
        Rig rig;
        Rig::click(rig.main().Command1);
        const QImage enabled = rig.main().grab().toImage();
        rig.main().setEnabled(false);
        QCOMPARE(rig.main().grab().toImage(), enabled);
    }

    void aboutDisablesTheMainWindowUntilItsOk()
    {
        Rig rig;
        Rig::click(rig.main().Command5);
        QVERIFY(rig.about() != nullptr);
        QVERIFY(!rig.main().isEnabled());
        Rig::click(rig.about()->Picture1);
        QVERIFY(rig.about() == nullptr);
        QVERIFY(rig.main().isEnabled());
        Rig::click(rig.main().Command1);
        QCOMPARE(rig.dealing().dealtcount, 2);
    }

    void closeRequestFromOutsideSavesAndEnds()
    {
        Rig rig;
        QFile::remove(QStringLiteral("tavrinhs"));
        rig.main().close();
        QCOMPARE(rig.windows.endings, 1);
        QVERIFY(rig.ending());
        QVERIFY(QFile::exists(QStringLiteral("tavrinhs")));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
