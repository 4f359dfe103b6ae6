// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Playing with the keyboard alone: the Tab order, the board's cursor, keys on buttons and in
// the secondary windows, the focus indicator, and what screen readers are told.
#include "tests/support/rig.h"

#include "ui/accessibility.h"
#include "ui/frmabout.h"
#include "ui/frmentername.h"
#include "ui/frmhighscores.h"

#include "game/numbertext.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <memory>

using support::Rig;

namespace {

// A key pressed and released where the keyboard focus is, as the window system delivers it.
void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    QVERIFY2(target, "nothing takes the keyboard");
    QTest::keyClick(target, Qt::Key(code), modifiers);
}

void activate(QWidget *window)
{
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

QString focusName()
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

// Starts a game from the keyboard: Return on Begin, which has the focus at start.
void beginFromKeyboard(Rig &rig)
{
    activate(&rig.main());
    QCOMPARE(QApplication::focusWidget(), rig.main().Command1);
    key(Qt::Key_Return);
}

QImage grab(QWidget *widget)
{
    return widget->grab().toImage();
}

QString card(game::CardId id)
{
    return QString::fromStdString(game::cardName(id));
}

// The score the name window describes, by the window or by its name box: said once, so one
// of the two is empty.
QString scoreDescribed(const ui::frmEnterName *window)
{
    return window->accessibleDescription() + window->Text1->accessibleDescription();
}

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void tabAndShiftTabGoRoundTheControlsInOrder_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("stops");
        const QStringList idle {"picPlace(0)", "Command2", "Command5",   "Command4",
                                "Command3",    "Command1", "picPlace(0)"};
        QTest::newRow("Tab, idle") << false << int(Qt::Key_Tab) << idle;
        QTest::newRow("Shift+Tab, idle")
            << false << int(Qt::Key_Backtab)
            << QStringList {"Command3",    "Command4", "Command5", "Command2",
                            "picPlace(0)", "Command1", "Command3"};
        // During a game Begin is disabled and skipped; the board's stop is its cursor.
        QTest::newRow("Tab, playing")
            << true << int(Qt::Key_Tab) << QStringList {"Command2", "Command5",    "Command4",
                                                        "Command3", "picPlace(1)", "Command2"};
    }
    void tabAndShiftTabGoRoundTheControlsInOrder()
    {
        QFETCH(bool, playing);
        QFETCH(int, key);
        QFETCH(QStringList, stops);
        Rig rig;
        activate(&rig.main());
        if (playing) {
            ::key(Qt::Key_Return);
            QCOMPARE(focusName(), QStringLiteral("picPlace(1)"));
        } else {
            QCOMPARE(focusName(), QStringLiteral("Command1"));
        }
        QStringList seen;
        for (int i = 0; i < stops.size(); ++i) {
            ::key(key == Qt::Key_Backtab ? Qt::Key_Tab : key,
                  key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            seen << focusName();
        }
        QCOMPARE(seen, stops);
    }

    void arrowsMoveTheCursorAndStopAtTheEdges_data()
    {
        QTest::addColumn<QString>("keys"); // L R U D
        QTest::addColumn<int>("cell");
        QTest::newRow("right along the top row") << "RRRR" << 4;
        QTest::newRow("stops at the right edge") << "RRRRRR" << 4;
        QTest::newRow("stops at the top edge") << "UU" << 1;
        QTest::newRow("down to the bottom row and stops") << "DDDDDD" << 21;
        QTest::newRow("left edge") << "LLL" << 0;
        QTest::newRow("round a corner") << "RRRDDDDL" << 23;
    }
    void arrowsMoveTheCursorAndStopAtTheEdges()
    {
        QFETCH(QString, keys);
        QFETCH(int, cell);
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        beginFromKeyboard(rig);
        QCOMPARE(rig.cursor(), 1); // the first cell that takes the card
        const QHash<QChar, int> codes {
            {u'L', Qt::Key_Left}, {u'R', Qt::Key_Right}, {u'U', Qt::Key_Up}, {u'D', Qt::Key_Down}};
        for (QChar c : keys)
            key(codes.value(c));
        QCOMPARE(rig.cursor(), cell);
        QCOMPARE(QApplication::focusWidget(), main.picPlace[cell]);
        // The cursor shows the pointer's colours, and no other cell is lit.
        for (int i = 0; i < game::CellCount; ++i) {
            QCOMPARE(ui::TestAccess::backColor(*main.picPlace[i]),
                     i == cell ? rig.board().hoverColour(i) : game::NormalCellColour);
        }
    }

    // Keypad Enter is a screen reader's where-am-I key (twice: in detail); should the reader
    // answer late, the press still reaches the game, and must not place a card.
    void spaceOrReturnOnACellDoesWhatAClickDoesAndKeypadEnterNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("right"); // moves right from the first accepting cell
        QTest::addColumn<bool>("placed");
        for (const auto &[name, code] :
             {std::pair {"Space", Qt::Key_Space}, std::pair {"Return", Qt::Key_Return}}) {
            QTest::addRow("%s on a cell that takes the card", name) << int(code) << 1 << 0 << true;
            QTest::addRow("%s on a cell that refuses it", name) << int(code) << 1 << 2 << false;
        }
        QTest::newRow("keypad Enter twice, ten times") << int(Qt::Key_Enter) << 20 << 0 << false;
    }
    void spaceOrReturnOnACellDoesWhatAClickDoesAndKeypadEnterNothing()
    {
        QFETCH(int, key);
        QFETCH(int, presses);
        QFETCH(int, right);
        QFETCH(bool, placed);
        Rig rig;
        beginFromKeyboard(rig);
        for (int i = 0; i < right; ++i)
            ::key(Qt::Key_Right);
        const int cell = rig.cursor();
        const game::CardId offered = rig.dealing().offeredcard;
        for (int i = 0; i < presses; ++i)
            ::key(key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(rig.board().card(cell), placed ? offered : game::NoCard);
        QCOMPARE(rig.dealing().dealtcount, placed ? 3 : 2);
        QCOMPARE(rig.cursor(), cell); // the cursor stays where it is
    }

    // A screen reader's modifier held (Insert, keypad Insert, Caps Lock) makes Space or Return
    // the reader's own key, which reaches the program when the reader answers late.
    void keysWithAScreenReadersModifierHeldPlaceNothing_data()
    {
        QTest::addColumn<int>("modifier");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("releasedFirst");
        QTest::addColumn<int>("afterMs"); // from the modifier's press to the key's
        QTest::addColumn<bool>("placed");
        const int insert = Qt::Key_Insert, caps = Qt::Key_CapsLock, space = Qt::Key_Space;
        QTest::newRow("Space with Insert held")
            << insert << false << space << false << 300 << false;
        QTest::newRow("Return with keypad Insert held")
            << insert << true << int(Qt::Key_Return) << false << 300 << false;
        QTest::newRow("Space with Caps Lock held")
            << caps << false << space << false << 300 << false;
        QTest::newRow("Space after Insert was let go")
            << insert << false << space << true << 300 << true;
        QTest::newRow("Space long after a press whose release was lost")
            << insert << false << space << false << 3000 << true;
    }
    void keysWithAScreenReadersModifierHeldPlaceNothing()
    {
        QFETCH(int, modifier);
        QFETCH(bool, keypad);
        QFETCH(int, key);
        QFETCH(bool, releasedFirst);
        QFETCH(int, afterMs);
        QFETCH(bool, placed);
        Rig rig;
        beginFromKeyboard(rig);
        const int cell = rig.cursor();
        const game::CardId offered = rig.dealing().offeredcard;
        const Qt::KeyboardModifiers modifiers = keypad ? Qt::KeypadModifier : Qt::NoModifier;
        const auto send = [](QEvent::Type type, int code, Qt::KeyboardModifiers mods, quint64 at) {
            QKeyEvent event(type, code, mods);
            event.setTimestamp(at);
            QApplication::sendEvent(QApplication::focusWidget(), &event);
        };
        constexpr quint64 start = 1'000'000;
        send(QEvent::KeyPress, modifier, modifiers, start);
        if (releasedFirst)
            send(QEvent::KeyRelease, modifier, modifiers, start + 100);
        send(QEvent::KeyPress, key, Qt::NoModifier, start + afterMs);
        send(QEvent::KeyRelease, key, Qt::NoModifier, start + afterMs + 80);
        if (!releasedFirst)
            send(QEvent::KeyRelease, modifier, modifiers, start + afterMs + 150);
        QCOMPARE(rig.board().card(cell), placed ? offered : game::NoCard);
    }

    void spaceOrEnterShowsAButtonPressedWhileTheKeyIsDown_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Return") << int(Qt::Key_Return);
    }
    void spaceOrEnterShowsAButtonPressedWhileTheKeyIsDown()
    {
        QFETCH(int, key);
        Rig rig;
        ui::PictureButton *about = rig.main().Command5;
        const ui::PictureRef released = about->picture();
        about->setFocus();
        QTest::keyPress(about, Qt::Key(key));
        QVERIFY(about->picture() != released);
        QVERIFY(!rig.about()); // the command runs on the release
        QTest::keyRelease(about, Qt::Key(key));
        QCOMPARE(about->picture(), released);
        QVERIFY(rig.about());
    }

    void secondaryWindowsAnswerTheirKeys_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("key");
        for (const char *window : {"High Scores", "About"}) {
            for (const auto &[name, code] :
                 {std::pair {"Return", Qt::Key_Return}, std::pair {"Space", Qt::Key_Space},
                  std::pair {"Escape", Qt::Key_Escape}})
                QTest::addRow("%s, %s", window, name) << QString::fromLatin1(window) << int(code);
        }
    }
    void secondaryWindowsAnswerTheirKeys()
    {
        QFETCH(QString, window);
        QFETCH(int, key);
        Rig rig;
        const bool scores = window == QStringLiteral("High Scores");
        Rig::click(scores ? rig.main().Command2 : rig.main().Command5);
        QWidget *opened =
            scores ? static_cast<QWidget *>(rig.highScores()) : static_cast<QWidget *>(rig.about());
        QVERIFY(opened);
        activate(opened);
        QCOMPARE(opened->accessibleName(), scores ? window : QStringLiteral("About Quintagrid"));
        ::key(key);
        QTRY_VERIFY(!(scores ? static_cast<QWidget *>(rig.highScores())
                             : static_cast<QWidget *>(rig.about())));
        QVERIFY(rig.main().isEnabled());
    }

    void tabReachesClearWhoseQuestionTheKeysAnswer()
    {
        Rig rig;
        rig.module1.table.hsscores[1] = 99;
        Rig::click(rig.main().Command2);
        activate(rig.highScores());
        key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), rig.highScores()->Command2);
        key(Qt::Key_Return);
        QCOMPARE(rig.windows.questions.size(), 1);
    }

    void theDeleteQuestionAnswersItsKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("Y") << int(Qt::Key_Y) << platform::AnswerYes;
        QTest::newRow("N") << int(Qt::Key_N) << platform::AnswerNo;
        QTest::newRow("Return, the default") << int(Qt::Key_Return) << platform::AnswerYes;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << platform::AnswerNo;
    }
    void theDeleteQuestionAnswersItsKeys()
    {
        QFETCH(int, key);
        QFETCH(int, answer);
        platform::QtWindowSystem windows;
        QWidget owner;
        owner.show();
        QTimer answering;
        answering.setInterval(1);
        connect(&answering, &QTimer::timeout, &answering, [&answering, key] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                answering.stop();
                QTest::keyClick(box, Qt::Key(key));
            }
        });
        answering.start();
        QCOMPARE(windows.askYesNo(&owner, QStringLiteral("Delete?"), QStringLiteral("Warning")),
                 answer);
    }

    void aboutTextIsReadWithACaretAfterTheKeyboardIsUsed()
    {
        Rig rig;
        QTest::mouseClick(rig.main().windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
        Rig::click(rig.main().Command5);
        QPlainTextEdit *text = rig.about()->Text1;
        activate(rig.about());
        QCOMPARE(QApplication::focusWidget(), text);
        QCOMPARE(text->cursorWidth(), 0); // no caret for a player who has only clicked
        QTest::keyClick(text, Qt::Key_Down);
        QCOMPARE(text->cursorWidth(), 1);
        QCOMPARE(text->textCursor().blockNumber(), 1);
        QVERIFY(rig.about()); // arrows read, they do not close
    }

    // The indicator appears only after a key, and never over a card's corner indexes.
    void focusIndicatorShowsOnlyAfterAKey_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("button") << "Command2";
        QTest::newRow("empty cell") << "picPlace(1)";
        QTest::newRow("card") << "picPlace(0)";
    }
    void focusIndicatorShowsOnlyAfterAKey()
    {
        QFETCH(QString, control);
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        Rig::click(main.Command1); // a mouse player's game
        auto *box = main.findChild<ui::PictureBox *>(control);
        if (box->isCell())
            rig.moveCursor(box->index());
        box->setFocus();
        const QImage unfocused = grab(box);
        box->clearFocus();
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
        box->setFocus();
        QCOMPARE(grab(box), unfocused);

        QTest::keyClick(&main, Qt::Key_Shift);
        const QImage focused = grab(box);
        QVERIFY(focused != unfocused);
        if (control == QStringLiteral("picPlace(0)")) {
            // The card's indexes: 14 x 22 pixels at the top left and turned at bottom right.
            for (const QRect corner : {QRect(1, 1, 14, 22), QRect(34, 42, 14, 22)})
                QCOMPARE(focused.copy(corner), unfocused.copy(corner));
        }
    }

    void screenReadersSeeRolesNamesAndActions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("press");
        QTest::newRow("window") << "" << int(QAccessible::Window) << "Quintagrid" << false;
        QTest::newRow("Begin") << "Command1" << int(QAccessible::Button) << "Begin" << true;
        QTest::newRow("Exit") << "Command3" << int(QAccessible::Button) << "Exit" << true;
        QTest::newRow("cell") << "picPlace(7)" << int(QAccessible::Cell) << "Row 2, column 3, empty"
                              << true;
        QTest::newRow("legend") << "Label2(0)" << int(QAccessible::StaticText)
                                << "Straight Flush: 30 points" << false;
        QTest::newRow("legend, one point")
            << "Label2(7)" << int(QAccessible::StaticText) << "One Pair: 1 point" << false;
        QTest::newRow("offered card")
            << "picDealt" << int(QAccessible::Graphic) << "Card to place" << false;
    }
    void screenReadersSeeRolesNamesAndActions()
    {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, name);
        QFETCH(bool, press);
        Rig rig;
        QObject *object = control.isEmpty() ? static_cast<QObject *>(&rig.main())
                                            : rig.main().findChild<QWidget *>(control);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(object);
        QVERIFY(iface);
        QCOMPARE(int(iface->role()), role);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QAccessibleActionInterface *actions = iface->actionInterface();
        QCOMPARE(actions
                     && actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
                 press);
    }

    void theBoardIsAGroupOfCellsThatPlaceTheCard()
    {
        Rig rig;
        ui::frmQuintagrid &main = rig.main();
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&main);
        QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(
            main.findChild<ui::BoardGrid *>(QString(), Qt::FindDirectChildrenOnly));
        QVERIFY(grid->role() != QAccessible::Table); // or a reader reads rows whole
        QCOMPARE(grid->parent(), window);
        QVERIFY(window->indexOfChild(grid) >= 0);
        QCOMPARE(grid->childCount(), 25);
        QAccessibleInterface *cell = grid->child(7);
        QCOMPARE(cell->object(), main.picPlace[7]);
        QCOMPARE(cell->parent(), grid);
        main.setEnabled(false); // as during the count-up, which a screen reader need not say
        QVERIFY(!cell->state().disabled);
        main.setEnabled(true);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // Orca 48 would read a table cell's row whole at each move to another row.
        QVERIFY(!cell->tableCellInterface() && !grid->tableInterface());
#else
        QAccessibleTableInterface *table = grid->tableInterface();
        QCOMPARE(table->rowCount(), 5);
        QCOMPARE(table->cellAt(1, 2), cell);
        QCOMPARE(cell->tableCellInterface()->rowIndex(), 1);
        QCOMPARE(cell->tableCellInterface()->columnIndex(), 2);
#endif

        // Press actions work as clicks: Begin, then a cell that takes the card.
        QAccessible::queryAccessibleInterface(main.Command1)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(rig.dealing().dealtcount, 2);
        const game::CardId offered = rig.dealing().offeredcard;
        QAccessibleInterface *second = grid->child(6);
        QCOMPARE(second->text(QAccessible::Name),
                 QStringLiteral("Row 2, column 2, empty, takes the card"));
        second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(rig.board().card(6), offered);
        // A refused press changes nothing.
        grid->child(24)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(rig.dealing().dealtcount, 3);
    }

    // A whole board from the keyboard: the cursor's cell says whether it takes the card, and
    // each placement is announced with the card that comes next; then the count-up is
    // announced line by line, and the total before the name window opens.
    void aWholeGameIsAnnouncedStepByStep()
    {
        Rig rig;
        for (int k = 1; k <= 10; ++k)
            rig.module1.table.hsscores[k] = 0;
        ui::frmQuintagrid &main = rig.main();
        beginFromKeyboard(rig);
        QCOMPARE(ui::recentAnnouncements(&main),
                 QStringList {QStringLiteral("Next card: ") + card(rig.dealing().offeredcard)});
        for (int placed = 1; placed < game::CellCount; ++placed) {
            const int cell = rig.acceptingCells().back();
            rig.moveCursor(cell);
            QCOMPARE(QApplication::focusWidget(), main.picPlace[cell]);
            QCOMPARE(main.picPlace[cell]->accessibleName(),
                     QStringLiteral("Row %1, column %2, empty, takes the card")
                         .arg(cell / 5 + 1)
                         .arg(cell % 5 + 1));
            const QString card = ::card(rig.dealing().offeredcard);
            const qsizetype before = ui::recentAnnouncements(&main).size();
            key(Qt::Key_Space);
            QCOMPARE(main.picPlace[cell]->accessibleName(),
                     QStringLiteral("Row %1, column %2, ").arg(cell / 5 + 1).arg(cell % 5 + 1)
                         + card);
            const QString where = QStringLiteral("%1 placed at row %2, column %3.")
                                      .arg(card)
                                      .arg(cell / 5 + 1)
                                      .arg(cell % 5 + 1);
            if (placed < game::CellCount - 1) {
                QCOMPARE(ui::recentAnnouncements(&main).size(),
                         std::min(before + 1, qsizetype(16)));
                QCOMPARE(ui::recentAnnouncements(&main).last(),
                         where + QStringLiteral(" Next card: ")
                             + ::card(rig.dealing().offeredcard));
            }
        }
        // The last placement, the ten lines and the total, each once.
        const QStringList said = ui::recentAnnouncements(&main).mid(4);
        QCOMPARE(said.size(), 12);
        QVERIFY(said.first().endsWith(QStringLiteral(". The board is full.")));
        const QRegularExpression line(QStringLiteral(
            "^(Row|Column) [1-5]: (no hand|One Pair|Two Pair|Three of a Kind|Flush|Full House|"
            "Straight|Four of a Kind|Straight Flush), (1 point|([02-9]|[1-9][0-9]) points)$"));
        for (int i = 1; i <= 10; ++i)
            QVERIFY2(line.match(said.at(i)).hasMatch(), qPrintable(said.at(i)));
        const QString total = main.Label4->caption().trimmed();
        QCOMPARE(said.last(), QStringLiteral("Total: %1, a new high score").arg(total));
        QVERIFY(rig.enterName() && rig.enterName()->isVisible());
        QCOMPARE(scoreDescribed(rig.enterName()), QStringLiteral("Your score: ") + total);
    }

    // While the main window is taken down, the board, through which screen readers reach the
    // cells, goes first: it never holds a cell that is already gone.
    void theBoardGoesBeforeItsCells()
    {
        auto rig = std::make_unique<Rig>();
        ui::frmQuintagrid &main = rig->main();
        const QPointer<ui::BoardGrid> board =
            main.findChild<ui::BoardGrid *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(QAccessible::queryAccessibleInterface(board)->childCount() == 25);
        int gone = 0;
        int withBoard = 0;
        for (ui::PictureBox *cell : main.picPlace) {
            connect(cell, &QObject::destroyed, this, [&] {
                ++gone;
                withBoard += board ? 1 : 0;
            });
        }
        rig.reset();
        QCOMPARE(gone, game::CellCount);
        QCOMPARE(withBoard, 0);
    }

    void aRefusedPlacementSaysWhy_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("said");
        QTest::newRow("touching no card") << 2 << "Refused: must touch a card";
        QTest::newRow("holding a card") << 0 << "Refused: the cell is taken";
    }
    void aRefusedPlacementSaysWhy()
    {
        QFETCH(int, cell);
        QFETCH(QString, said);
        Rig rig;
        beginFromKeyboard(rig);
        rig.moveCursor(cell);
        key(Qt::Key_Space);
        QCOMPARE(ui::recentAnnouncements(&rig.main()).last(), said);
        QCOMPARE(rig.dealing().dealtcount, 2);
    }

    void afterTheCountUpTheFocusIsOnTheTotalWhichSaysWhatItMade_data()
    {
        QTest::addColumn<int>("lowest");
        QTest::addColumn<QString>("made");
        QTest::newRow("a high score") << 0 << ", a new high score";
        QTest::newRow("not a high score") << 301 << ", not a high score";
    }
    void afterTheCountUpTheFocusIsOnTheTotalWhichSaysWhatItMade()
    {
        QFETCH(int, lowest);
        QFETCH(QString, made);
        Rig rig;
        for (int k = 1; k <= 10; ++k)
            rig.module1.table.hsscores[k] = std::int16_t(lowest);
        beginFromKeyboard(rig);
        rig.fillBoard();
        const QString total = rig.main().Label4->caption().trimmed();
        QCOMPARE(rig.main().Label4->accessibleName(), QStringLiteral("Total: ") + total + made);
        if (lowest == 0) {
            QVERIFY(rig.enterName());
            QCOMPARE(scoreDescribed(rig.enterName()), QStringLiteral("Your score: ") + total);
            // The list opens on the new entry, which says its place; Up and Down go through
            // the other entries, each with its place, name and score.
            rig.enterName()->Text1->setText(QStringLiteral("Ada"));
            rig.enterName()->Command2_Click();
            ui::frmHighScores *list = rig.highScores();
            QVERIFY(list);
            const QString entry =
                QStringLiteral("Place 1: Ada, %1, new entry")
                    .arg(total == QStringLiteral("1") ? QStringLiteral("1 point")
                                                      : total + QStringLiteral(" points"));
            QCOMPARE(list->focusWidget(), list->nimet[0]);
            QCOMPARE(list->nimet[0]->accessibleName(), entry);
            activate(list);
            // The arrows' entry is marked, name and score (a lone one counts negative); the
            // new entry that took the focus is not, nor anything after a mouse press.
            const auto marked = [list] {
                QList<int> places;
                for (int i = 0; i < 10; ++i) {
                    if (list->nimet[i]->highlighted() || list->scoret[i]->highlighted())
                        places << (list->nimet[i]->highlighted() == list->scoret[i]->highlighted()
                                       ? i + 1
                                       : -(i + 1));
                }
                return places;
            };
            key(Qt::Key_Shift); // as the name was typed
            QCOMPARE(marked(), QList<int>());
            const QImage unmarked = grab(list->nimet[1]);
            QStringList heard;
            QList<QList<int>> places;
            for (int k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}) {
                key(k);
                heard << QApplication::focusWidget()->accessibleName();
                places << marked();
                if (places.size() == 1)
                    QVERIFY(grab(list->nimet[1]) != unmarked);
            }
            QCOMPARE(places, (QList<QList<int>> {{2}, {3}, {2}, {1}}));
            QTest::mouseClick(list->windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
            QCOMPARE(marked(), QList<int>());
            const QString second = list->nimet[1]->caption() + QStringLiteral(", ")
                + ui::spokenPoints(rig.module1.table.hsscores[2]);
            QCOMPARE(heard,
                     (QStringList {QStringLiteral("Place 2: ") + second,
                                   QStringLiteral("Place 3: ") + list->nimet[2]->caption()
                                       + QStringLiteral(", ")
                                       + ui::spokenPoints(rig.module1.table.hsscores[3]),
                                   QStringLiteral("Place 2: ") + second, entry}));
            key(Qt::Key_Escape);
            QVERIFY(!rig.highScores());
        } else {
            QCOMPARE(QApplication::focusWidget(), rig.main().Label4);
            key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), rig.main().Command1);
        }
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
