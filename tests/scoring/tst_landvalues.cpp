// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting the board's card ids into rank numbers and suit blocks.
#include "game/board.h"
#include "scoring/scoring.h"

#include <QTest>

#include <algorithm>
#include <set>
#include <utility>

namespace {

// A full board of 25 different cards, none of them the King of Clubs (id 52).
game::Board boardWithoutKingOfClubs()
{
    game::Board board;
    for (int cell = 0; cell < game::CellCount; ++cell)
        board.put(cell, static_cast<game::CardId>(2 * cell + 1));
    return board;
}

} // namespace

class LandValuesTest : public QObject
{
    Q_OBJECT

private slots:
    void cardIdSplitsIntoSuitBlockAndRank_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("suit");
        QTest::addColumn<int>("rank");

        QTest::newRow("ace of hearts") << 1 << 0 << 1;
        QTest::newRow("king of hearts") << 13 << 0 << 13;
        QTest::newRow("ace of spades") << 14 << 1 << 1;
        QTest::newRow("king of spades") << 26 << 1 << 13;
        QTest::newRow("ace of diamonds") << 27 << 2 << 1;
        QTest::newRow("king of diamonds") << 39 << 2 << 13;
        QTest::newRow("ace of clubs") << 40 << 3 << 1;
        QTest::newRow("seven of clubs") << 46 << 3 << 7;
        QTest::newRow("king of clubs") << 52 << 3 << 13;
    }

    void cardIdSplitsIntoSuitBlockAndRank()
    {
        QFETCH(int, id);
        QFETCH(int, suit);
        QFETCH(int, rank);

        // The card under test in the middle of an otherwise ordinary board.
        game::Board board = boardWithoutKingOfClubs();
        board.put(12, static_cast<game::CardId>(id));
        scoring::Table8 cardvalues {};
        scoring::Table8 cardsuits {};
        scoring::landvalues(board.cardgrid, cardvalues, cardsuits);

        QCOMPARE(cardsuits[2][2], suit);
        QCOMPARE(cardvalues[2][2], rank);
    }

    void everyCardIdGivesItsOwnSuitAndRank()
    {
        std::set<std::pair<int, int>> seen;
        for (int first = 1; first <= 52; first += 25) {
            game::Board board;
            for (int cell = 0; cell < game::CellCount; ++cell)
                board.put(cell, static_cast<game::CardId>(std::min(first + cell, 52)));
            scoring::Table8 cardvalues {};
            scoring::Table8 cardsuits {};
            scoring::landvalues(board.cardgrid, cardvalues, cardsuits);
            for (int c = 0; c <= 4; ++c) {
                for (int r = 0; r <= 4; ++r) {
                    QVERIFY(cardsuits[c][r] >= 0 && cardsuits[c][r] <= 3);
                    QVERIFY(cardvalues[c][r] >= 1 && cardvalues[c][r] <= 13);
                    seen.emplace(cardsuits[c][r], cardvalues[c][r]);
                }
            }
        }
        // Ids 1..52 all took part; each must have its own pair.
        QCOMPARE(seen.size(), std::size_t(52));
    }

    void cellLandsAtItsColumnAndRow_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");

        QTest::newRow("top left") << 0 << 0 << 0;
        QTest::newRow("top right") << 4 << 4 << 0;
        QTest::newRow("second row, third column") << 7 << 2 << 1;
        QTest::newRow("bottom left") << 20 << 0 << 4;
        QTest::newRow("bottom right") << 24 << 4 << 4;
    }

    void cellLandsAtItsColumnAndRow()
    {
        QFETCH(int, cell);
        QFETCH(int, column);
        QFETCH(int, row);

        game::Board board = boardWithoutKingOfClubs();
        board.put(cell, 52);
        scoring::Table8 cardvalues {};
        scoring::Table8 cardsuits {};
        scoring::landvalues(board.cardgrid, cardvalues, cardsuits);

        for (int c = 0; c <= 4; ++c) {
            for (int r = 0; r <= 4; ++r) {
                const bool kingOfClubs = cardsuits[c][r] == 3 && cardvalues[c][r] == 13;
                QCOMPARE(kingOfClubs, c == column && r == row);
            }
        }
    }

    void spareEntriesAreLeftAlone()
    {
        const game::Board board = boardWithoutKingOfClubs();
        scoring::Table8 cardvalues;
        scoring::Table8 cardsuits;
        for (auto &column : cardvalues)
            column.fill(-1);
        for (auto &column : cardsuits)
            column.fill(-1);
        scoring::landvalues(board.cardgrid, cardvalues, cardsuits);

        for (int c = 0; c <= 7; ++c) {
            for (int r = 0; r <= 7; ++r) {
                const bool used = c <= 4 && r <= 4;
                QCOMPARE(cardvalues[c][r] != -1, used);
                QCOMPARE(cardsuits[c][r] != -1, used);
            }
        }
    }
};

QTEST_APPLESS_MAIN(LandValuesTest)
#include "tst_landvalues.moc"
