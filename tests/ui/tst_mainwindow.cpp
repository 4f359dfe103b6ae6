// The main window driven through real mouse events, with a fake clock and a pinned deal.
#include "rig.h"

#include "frmcards.h"
#include "frmhighscores.h"
#include "frmabout.h"

#include "game/cues.h"

#include <QTest>

using support::Rig;

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void beginPlacesTheOpeningCardTopLeftAndOffersTheNext()
    {
        Rig rig;
        Rig::click(rig.main().Command1);
        const auto &dealing = rig.main().dealing();
        QCOMPARE(dealing.dealtcount, 2);
        QCOMPARE(rig.main().board().card(0), dealing.dealtcards[0]);
        QCOMPARE(rig.main().picPlace[0]->picture(), rig.forms->cards().picCard(dealing.dealtcards[0] - 1));
        QCOMPARE(rig.main().picDealt->picture(), rig.forms->cards().picCard(dealing.dealtcards[1] - 1));
        QVERIFY(!rig.main().Command1->isEnabled());
    }

    void wholeGameByClicksFillsTheBoard()
    {
        Rig rig;
        Rig::click(rig.main().Command1);
        rig.fillBoard();
        QCOMPARE(rig.main().dealing().dealtcount, 25);
        for (int i = 0; i < game::CellCount; ++i)
            QVERIFY(rig.main().board().occupied(i));
        QVERIFY(rig.main().Command1->isEnabledTo(&rig.main()));
        QCOMPARE(rig.module1.gamescore, -1);
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
