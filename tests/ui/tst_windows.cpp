// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The windows' layout and the behaviours a frameless window provides for itself: dragging,
// picture buttons, keeping in front.
#include "tests/support/rig.h"

#include "ui/frmabout.h"
#include "ui/frmcards.h"
#include "ui/frmentername.h"
#include "ui/frmhighscores.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QWindow>

using support::Rig;

Q_DECLARE_METATYPE(ui::Face)

namespace {

QWidget *control(QWidget *window, const QString &name)
{
    return window->findChild<QWidget *>(name, Qt::FindDirectChildrenOnly);
}

} // namespace

class WindowsTest : public QObject
{
    Q_OBJECT

private slots:
    // Expected pixel geometry, written out from the window designs rather than read from the
    // program's own layout table.
    void everyControlSitsWhereTheDesignPutsIt_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        for (int i = 0; i < game::CellCount; ++i) {
            QTest::addRow("picPlace(%d)", i) << "main" << QStringLiteral("picPlace(%1)").arg(i)
                                             << QRect(16 + 48 * (i % 5), 16 + 64 * (i / 5), 49, 65);
        }
        QTest::newRow("cell 24") << "main"
                                 << "picPlace(24)" << QRect(208, 272, 49, 65);
        QTest::newRow("picDealt") << "main"
                                  << "picDealt" << QRect(336, 16, 49, 65);
        QTest::newRow("Begin") << "main"
                               << "Command1" << QRect(320, 96, 81, 25);
        QTest::newRow("High Scores") << "main"
                                     << "Command2" << QRect(408, 96, 81, 25);
        QTest::newRow("Exit") << "main"
                              << "Command3" << QRect(408, 16, 81, 25);
        QTest::newRow("Minimize") << "main"
                                  << "Command4" << QRect(408, 56, 81, 25);
        QTest::newRow("About") << "main"
                               << "Command5" << QRect(408, 376, 81, 25);
        for (int r = 0; r < 5; ++r) {
            QTest::addRow("riviarvo(%d)", r) << "main" << QStringLiteral("riviarvo(%1)").arg(r)
                                             << QRect(264, 40 + 64 * r, 33, 17);
            QTest::addRow("Label1(%d)", r)
                << "main" << QStringLiteral("Label1(%1)").arg(r) << QRect(24 + 48 * r, 344, 33, 17);
        }
        for (int k = 0; k < 8; ++k) {
            QTest::addRow("Label2(%d)", k) << "main" << QStringLiteral("Label2(%1)").arg(k)
                                           << QRect(320, 136 + 24 * k, 81, 17);
            QTest::addRow("Label3(%d)", k) << "main" << QStringLiteral("Label3(%1)").arg(k)
                                           << QRect(408, 136 + 24 * k, 81, 17);
        }
        QTest::newRow("Label4") << "main"
                                << "Label4" << QRect(368, 336, 73, 25);
        QTest::newRow("Label5") << "main"
                                << "Label5" << QRect(16, 376, 385, 25);
        for (int i = 0; i < 10; ++i) {
            QTest::addRow("nimet(%d)", i) << "scores" << QStringLiteral("nimet(%1)").arg(i)
                                          << QRect(16, 16 + 24 * i, 161, 17);
            QTest::addRow("scoret(%d)", i) << "scores" << QStringLiteral("scoret(%1)").arg(i)
                                           << QRect(184, 16 + 24 * i, 81, 17);
        }
        QTest::newRow("scores OK") << "scores"
                                   << "Command1" << QRect(184, 264, 81, 25);
        QTest::newRow("scores Clear") << "scores"
                                      << "Command2" << QRect(16, 264, 81, 25);
        QTest::newRow("name prompt") << "name"
                                     << "Label2" << QRect(16, 16, 241, 25);
        QTest::newRow("name box") << "name"
                                  << "Text1" << QRect(16, 56, 241, 25);
        QTest::newRow("name OK") << "name"
                                 << "Command2" << QRect(96, 96, 81, 25);
        QTest::newRow("about text") << "about"
                                    << "Text1" << QRect(304, 80, 257, 249);
        QTest::newRow("about OK") << "about"
                                  << "Picture1" << QRect(392, 344, 81, 25);
    }

    void everyControlSitsWhereTheDesignPutsIt()
    {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        Rig rig;
        QWidget *host = &rig.main();
        if (window == "scores") {
            rig.forms->showHighScores();
            host = rig.highScores();
        } else if (window == "name") {
            rig.forms->showEnterName();
            host = rig.enterName();
        } else if (window == "about") {
            rig.forms->showAbout();
            host = rig.about();
        }
        QWidget *found = control(host, name);
        QVERIFY2(found != nullptr, qPrintable(name));
        QCOMPARE(found->geometry(), geometry);
    }

    void windowsHaveTheirDesignedClientSizeAndCaption()
    {
        Rig rig;
        rig.forms->showHighScores();
        QCOMPARE(rig.main().size(), QSize(505, 417));
        QCOMPARE(rig.highScores()->size(), QSize(281, 305));
        rig.forms->unloadHighScores();
        rig.forms->showEnterName();
        QCOMPARE(rig.enterName()->size(), QSize(273, 137));
        rig.forms->unloadEnterName();
        rig.forms->showAbout();
        QCOMPARE(rig.about()->size(), QSize(584, 393));
        for (QWidget *window :
             {static_cast<QWidget *>(&rig.main()), static_cast<QWidget *>(rig.about())}) {
            QCOMPARE(window->windowTitle(), QStringLiteral("Quintagrid"));
            QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
            // Given just after the window's first paint.
            QTRY_VERIFY(!window->windowIcon().isNull());
        }
        // Only the main window is listed by the desktop as an application window.
        QVERIFY(rig.about()->windowFlags().testFlag(Qt::Tool));
        QVERIFY(!rig.main().windowFlags().testFlag(Qt::Tool));
    }

    void textIsSetInPixelsInTheDesignedWeights_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        QTest::newRow("credit line") << "Label5" << 18 << true;
        QTest::newRow("game total") << "Label4" << 18 << true;
        QTest::newRow("row points") << "riviarvo(0)" << 13 << true;
        QTest::newRow("legend") << "Label2(0)" << 11 << false;
    }

    void textIsSetInPixelsInTheDesignedWeights()
    {
        QFETCH(QString, name);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        Rig rig;
        const QFont font = control(&rig.main(), name)->font();
        QCOMPARE(font.pixelSize(), pixels);
        QCOMPARE(font.bold(), bold);
        // A face the system really has: the designed one, or the sans every Debian desktop has.
        const QString family = QFontInfo(font).family();
        QVERIFY2(family == "MS Sans Serif" || family == "DejaVu Sans", qPrintable(family));
    }

    void legendAndCreditLineShowTheirFixedText()
    {
        Rig rig;
        const QStringList names = {"Straight Flush",  "Four of a Kind", "Straight", "Full House",
                                   "Three of a Kind", "Flush",          "Two Pair", "One Pair"};
        const QStringList points = {"30", "16", "12", "10", "6", "5", "3", "1"};
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(rig.main().Label2[k]->caption(), names[k]);
            QCOMPARE(rig.main().Label3[k]->caption(), points[k]);
        }
        QCOMPARE(rig.main().Label5->caption(), QStringLiteral("Quintagrid from Mossgrovity"));
    }

    void draggingTheBackgroundMovesTheWindowByThePointersTravel()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        main.move(100, 80);
        QWindow *window = main.windowHandle();
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
        QCOMPARE(main.dragx, 300 * 15);
        QCOMPARE(main.dragy, 200 * 15);
        QTest::mouseMove(window, QPoint(310, 205));
        QCOMPARE(main.pos(), QPoint(110, 85));
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(310, 205));
    }

    void onlyTheLeftButtonAloneDrags_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("moves");
        QTest::newRow("left") << int(Qt::LeftButton) << true;
        QTest::newRow("none") << int(Qt::NoButton) << false;
        QTest::newRow("right") << int(Qt::RightButton) << false;
        QTest::newRow("middle") << int(Qt::MiddleButton) << false;
        QTest::newRow("left and right") << int(Qt::LeftButton | Qt::RightButton) << false;
    }

    void onlyTheLeftButtonAloneDrags()
    {
        QFETCH(int, buttons);
        QFETCH(bool, moves);
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        main.move(100, 80);
        main.Form_MouseDown(Qt::LeftButton, 300 * 15, 200 * 15);
        main.Form_MouseMove(Qt::MouseButtons(buttons), 310 * 15, 205 * 15);
        QCOMPARE(main.pos(), moves ? QPoint(110, 85) : QPoint(100, 80));
    }

    void everyPressOnTheBackgroundReplacesTheGrabPoint()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        QWindow *window = main.windowHandle();
        QTest::mousePress(window, Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
        QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
        QCOMPARE(QPoint(main.dragx, main.dragy), QPoint(4500, 3000));
        QTest::mousePress(window, Qt::MiddleButton, Qt::NoModifier, QPoint(305, 100));
        QTest::mouseRelease(window, Qt::MiddleButton, Qt::NoModifier, QPoint(305, 100));
        QCOMPARE(QPoint(main.dragx, main.dragy), QPoint(4575, 1500));
    }

    void grabPointRoundsHalfToEven_data()
    {
        QTest::addColumn<float>("x");
        QTest::addColumn<int>("rounded");
        QTest::newRow("half down to even") << 22.5f << 22;
        QTest::newRow("half up to even") << 23.5f << 24;
        QTest::newRow("below half") << 22.4f << 22;
        QTest::newRow("above half") << 22.6f << 23;
    }

    void grabPointRoundsHalfToEven()
    {
        QFETCH(float, x);
        QFETCH(int, rounded);
        Rig rig;
        rig.main().Form_MouseDown(Qt::LeftButton, x, x);
        QCOMPARE(int(rig.main().dragx), rounded);
        QCOMPARE(int(rig.main().dragy), rounded);
    }

    void pressOnAControlNeverMovesTheWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("cell") << "picPlace(12)";
        QTest::newRow("row label") << "riviarvo(1)";
        QTest::newRow("legend") << "Label2(3)";
        QTest::newRow("credit line") << "Label5";
        QTest::newRow("offered card") << "picDealt";
        QTest::newRow("button") << "Command4";
    }

    void pressOnAControlNeverMovesTheWindow()
    {
        QFETCH(QString, name);
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        main.move(100, 80);
        QWidget *target = control(&main, name);
        const QPoint at = target->geometry().center();
        QTest::mousePress(main.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseMove(main.windowHandle(), at + QPoint(10, 5));
        QTest::mouseRelease(main.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                            at + QPoint(10, 5));
        QCOMPARE(main.pos(), QPoint(100, 80));
        QCOMPARE(QPoint(main.dragx, main.dragy), QPoint(0, 0));
    }

    void buttonShowsItsPressedFaceWhileHeld_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<ui::Face>("released");
        QTest::addColumn<ui::Face>("pressed");
        const auto row = [](const char *word, const char *name, ui::FacePair faces) {
            QTest::newRow(word) << QString::fromLatin1(name) << faces.released << faces.pressed;
        };
        row("Begin", "Command1", ui::BeginFaces);
        row("High Scores", "Command2", ui::HighScoresFaces);
        row("Exit", "Command3", ui::ExitFaces);
        row("Minimize", "Command4", ui::MinimizeFaces);
        row("About", "Command5", ui::AboutFaces);
    }

    void buttonShowsItsPressedFaceWhileHeld()
    {
        QFETCH(QString, name);
        QFETCH(ui::Face, released);
        QFETCH(ui::Face, pressed);
        Rig rig;
        const ui::frmCards &store = rig.forms->cards();
        auto *button = qobject_cast<ui::PictureBox *>(control(&rig.main(), name));
        QCOMPARE(button->picture(), store.picture(released));
        // Released away from the button: no click, but the face comes back.
        const QPoint at = button->geometry().center();
        QTest::mousePress(rig.main().windowHandle(), Qt::RightButton, Qt::NoModifier, at);
        QCOMPARE(button->picture(), store.picture(pressed));
        QTest::mouseRelease(rig.main().windowHandle(), Qt::RightButton, Qt::NoModifier, at);
        QCOMPARE(button->picture(), store.picture(released));
    }

    void releasedFaceIsBackBeforeTheCommandRuns()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        const QPoint at = main.Command2->geometry().center();
        QTest::mousePress(main.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(main.Command2->picture(), rig.forms->cards().picture(ui::Face::HighScoresPressed));
        // The high-score window is brought to the front as it opens: look at the face then.
        ui::PictureRef faceWhenOpened;
        rig.windows.onRaise = [&](QWidget *) {
            if (!faceWhenOpened)
                faceWhenOpened = main.Command2->picture();
        };
        QTest::mouseRelease(main.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QVERIFY(rig.highScores() != nullptr);
        QCOMPARE(faceWhenOpened, rig.forms->cards().picture(ui::Face::HighScoresReleased));
    }

    void buttonsOfADisabledWindowKeepTheirFace()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        main.setEnabled(false);
        const QPoint at = main.Command1->geometry().center();
        QTest::mousePress(main.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(main.Command1->picture(), rig.forms->cards().picture(ui::Face::BeginReleased));
        QTest::mouseRelease(main.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(rig.dealing().dealtcount, 0);
    }

    void secondaryWindowsBelongToTheMainWindowAndComeForwardWithIt_data()
    {
        QTest::addColumn<int>("window"); // 0 high scores, 1 name entry, 2 About
        QTest::addColumn<bool>("activated");
        for (const int window : {0, 1, 2}) {
            QTest::addRow("window %d raised", window) << window << false;
            QTest::addRow("window %d activated", window) << window << true;
        }
    }

    void secondaryWindowsBelongToTheMainWindowAndComeForwardWithIt()
    {
        QFETCH(int, window);
        QFETCH(bool, activated);
        Rig rig;
        if (window == 0)
            rig.forms->showHighScores();
        else if (window == 1)
            rig.forms->showEnterName();
        else
            rig.forms->showAbout();
        ui::SecondaryWindow *const windows[] = {rig.highScores(), rig.enterName(), rig.about()};
        ui::SecondaryWindow *opened = windows[window];
        QCOMPARE(rig.windows.owners.at(opened), &rig.main());
        // No polling: the timer wakes the program at most once a second.
        QVERIFY(opened->Timer1.isActive());
        QVERIFY(opened->Timer1.interval() >= 1000);

        // The user picks the main window; the open window comes back, with the focus if the
        // main window was given it.
        rig.main().activateWindow();
        QTRY_VERIFY(rig.main().isActiveWindow());
        rig.windows.raised.clear();
        rig.windows.ownerCameForward.at(opened)(activated);
        QCOMPARE(rig.windows.raised, std::vector<QWidget *> {opened});
        if (activated) {
            QTRY_VERIFY(opened->isActiveWindow());
            if (window == 1)
                QCOMPARE(QApplication::focusWidget(), rig.enterName()->Text1);
        } else {
            QVERIFY(rig.main().isActiveWindow());
        }

        // Closed, it stays away.
        const std::function<void(bool)> cameForward = rig.windows.ownerCameForward.at(opened);
        rig.forms->unloadForExit();
        cameForward(true);
        QCOMPARE(rig.windows.raised.size(), std::size_t(1));
    }

    void aWindowOpeningWhileAnotherProgramIsActiveWaitsForTheGame_data()
    {
        QTest::addColumn<bool>("gameActive");
        QTest::newRow("the game active") << true;
        QTest::newRow("another program active") << false;
    }

    void aWindowOpeningWhileAnotherProgramIsActiveWaitsForTheGame()
    {
        QFETCH(bool, gameActive);
        Rig rig;
        rig.main().activateWindow();
        QTRY_VERIFY(rig.main().isActiveWindow());
        QWindow otherProgram; // a window that is no widget of the game's: none of them is active
        if (!gameActive) {
            otherProgram.show();
            otherProgram.requestActivate();
            QTRY_COMPARE(QApplication::activeWindow(), nullptr);
        }
        rig.forms->showEnterName();
        ui::frmEnterName *name = rig.enterName();
        QVERIFY(name != nullptr);
        QCOMPARE(name->isVisible(), gameActive);
        // Back in the game, the window is there and has the keyboard.
        if (!gameActive)
            rig.main().activateWindow();
        QTRY_VERIFY(name->isVisible());
        QTRY_VERIFY(name->isActiveWindow());
    }

    void clearQuestionPausesTheKeepInFrontTimer()
    {
        Rig rig;
        Rig::click(rig.main().Command2);
        ui::frmHighScores *scores = rig.highScores();
        bool activeWhileAsking = true;
        rig.windows.answers = {platform::AnswerNo};
        rig.windows.whileAsking = [&] {
            activeWhileAsking = scores->Timer1.isActive();
            rig.windows.raised.clear();
            rig.windows.ownerCameForward.at(scores)(true); // the main window picked meanwhile
        };
        Rig::click(scores->Command2);
        QVERIFY(!activeWhileAsking);
        QVERIFY(rig.windows.raised.empty());
        QVERIFY(scores->Timer1.isActive());
        QCOMPARE(rig.windows.questions,
                 QStringList {"Tavrin 1.0 Warning!: Do you really want to delete High Scores?"});
    }

    void aboutTextIsReadOnlyAndNamesTheGuideAndTheMaker()
    {
        Rig rig;
        Rig::click(rig.main().Command5);
        QPlainTextEdit *text = rig.about()->Text1;
        QVERIFY(text->isReadOnly());
        QVERIFY(text->toPlainText().startsWith(QStringLiteral("Quintagrid 1.0")));
        QVERIFY(text->toPlainText().contains(QStringLiteral("quintagrid-guide.txt")));
        QVERIFY(text->toPlainText().contains(QStringLiteral("Mossgrovity")));
        QVERIFY(!text->toPlainText().contains(QStringLiteral("@")));
        QVERIFY(!text->toPlainText().contains(QStringLiteral("http")));
    }

    void nameBoxIsFirstEmptyAndTakesTenCharacters()
    {
        Rig rig;
        rig.forms->showEnterName();
        QLineEdit *box = rig.enterName()->Text1;
        QVERIFY(box->text().isEmpty());
        QCOMPARE(box->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        QTest::keyClicks(box, QStringLiteral("abcdefghijkl"));
        QCOMPARE(box->text(), QStringLiteral("abcdefghij"));
    }

    void cellsTellScreenReadersWhatTheyHold()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        QCOMPARE(main.picPlace[7]->accessibleName(), QStringLiteral("Row 2, column 3, empty"));
        Rig::click(main.Command1);
        const QString opening = QString::fromStdString(game::cardName(rig.board().card(0)));
        QCOMPARE(main.picPlace[0]->accessibleName(), QStringLiteral("Row 1, column 1, ") + opening);
        QCOMPARE(main.picPlace[6]->accessibleName(),
                 QStringLiteral("Row 2, column 2, empty, takes the card"));
        QCOMPARE(main.picPlace[7]->accessibleName(),
                 QStringLiteral("Row 2, column 3, empty, does not take the card"));
        QVERIFY(main.picDealt->accessibleName().endsWith(
            QString::fromStdString(game::cardName(rig.dealing().offeredcard))));
        QCOMPARE(main.Command1->accessibleName(), QStringLiteral("Begin"));
        QCOMPARE(main.riviarvo[1]->accessibleName(), QStringLiteral("Row 2 points"));
        main.riviarvo[1]->setCaption(QStringLiteral(" 12"));
        QCOMPARE(main.riviarvo[1]->accessibleName(), QStringLiteral("Row 2 points: 12"));
        QCOMPARE(main.Label1[4]->accessibleName(), QStringLiteral("Column 5 points"));
    }

    void aCellIsDrawnOverTheLowerNumberedCellsItOverlaps()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        // Cells are 49 x 65 at a pitch of 48 x 64: the shared pixel belongs to the higher index.
        QCOMPARE(main.childAt(QPoint(64, 40)), main.picPlace[1]);
        QCOMPARE(main.childAt(QPoint(40, 80)), main.picPlace[5]);
        QCOMPARE(main.childAt(QPoint(64, 80)), main.picPlace[6]);
        QCOMPARE(main.childAt(QPoint(63, 79)), main.picPlace[0]);
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
