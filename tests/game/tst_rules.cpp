// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The card id, the deal and the placement rule, tested directly.
#include "game/board.h"
#include "game/card.h"
#include "game/deal.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <set>
#include <vector>

using namespace game;

namespace {

// A draw that replays given values, then repeats the last one.
UniformDraw replay(std::vector<double> values)
{
    auto index = std::make_shared<std::size_t>(0);
    return [values = std::move(values), index]() {
        const double u = values[std::min(*index, values.size() - 1)];
        ++*index;
        return u;
    };
}

Board boardWith(std::initializer_list<int> occupiedCells)
{
    Board board;
    CardId next = 1;
    for (int cell : occupiedCells)
        board.put(cell, next++);
    return board;
}

} // namespace

class RulesTest : public QObject
{
    Q_OBJECT

private slots:
    void cardIdSplitsIntoSuitBlockAndRank_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("suit");
        QTest::addColumn<int>("rank");
        QTest::addColumn<QString>("name");
        QTest::newRow("first card") << 1 << 0 << 1 << "Ace of Hearts";
        QTest::newRow("last heart") << 13 << 0 << 13 << "King of Hearts";
        QTest::newRow("first spade") << 14 << 1 << 1 << "Ace of Spades";
        QTest::newRow("queen of spades") << 25 << 1 << 12 << "Queen of Spades";
        QTest::newRow("last diamond") << 39 << 2 << 13 << "King of Diamonds";
        QTest::newRow("first club") << 40 << 3 << 1 << "Ace of Clubs";
        QTest::newRow("ten of clubs") << 49 << 3 << 10 << "10 of Clubs";
        QTest::newRow("last card") << 52 << 3 << 13 << "King of Clubs";
    }

    void cardIdSplitsIntoSuitBlockAndRank()
    {
        QFETCH(int, id);
        QFETCH(int, suit);
        QFETCH(int, rank);
        QFETCH(QString, name);
        const auto card = static_cast<CardId>(id);
        QCOMPARE(suitBlock(card), suit);
        QCOMPARE(rankNumber(card), rank);
        QCOMPARE(cardId(suit, rank), card);
        QCOMPARE(pictureIndex(card), id - 1);
        QCOMPARE(QString::fromStdString(cardName(card)), name);
    }

    void drawsMapOntoTheWholeDeckAndNothingElse_data()
    {
        QTest::addColumn<double>("u");
        QTest::addColumn<int>("card");
        QTest::addColumn<int>("shufflePicture");
        QTest::newRow("zero") << 0.0 << 1 << 0;
        QTest::newRow("just below a fifty-second") << (1.0 / 52) * 0.999 << 1 << 0;
        QTest::newRow("one fifty-second") << 1.0 / 52 << 2 << 0;
        QTest::newRow("half") << 0.5 << 27 << 25;
        QTest::newRow("largest double below one") << std::nextafter(1.0, 0.0) << 52 << 50;
    }

    void drawsMapOntoTheWholeDeckAndNothingElse()
    {
        QFETCH(double, u);
        QFETCH(int, card);
        QFETCH(int, shufflePicture);
        QCOMPARE(int(cardForDraw(u)), card);
        QCOMPARE(shufflePictureForDraw(u), shufflePicture);
    }

    void dealRedrawsUntilANewCardComesUp()
    {
        Dealing dealing;
        // 0.0 draws the Ace of Hearts; the second deal draws it twice more before the King
        // of Clubs comes up.
        deal(dealing, replay({0.0}));
        deal(dealing, replay({0.0, 0.0, 0.9999}));
        QCOMPARE(dealing.dealtcount, 2);
        QCOMPARE(dealing.dealtcards[0], CardId(1));
        QCOMPARE(dealing.dealtcards[1], CardId(52));
        QCOMPARE(dealing.offeredcard, CardId(52));
        QCOMPARE(dealing.dealtcards[2], NoCard);
        QVERIFY(!dealing.alreadydealt);
    }

    void twentyFifthCardStillComesWhenTwentyFourAreOut()
    {
        Dealing dealing;
        for (int k = 0; k < 24; ++k)
            deal(dealing, replay({(k + 0.5) / 52}));
        QCOMPARE(dealing.dealtcount, 24);
        // Every draw of the first 24 cards is refused; then the 25th card comes.
        std::vector<double> draws;
        for (int k = 0; k < 24; ++k)
            draws.push_back((k + 0.5) / 52);
        draws.push_back(40.5 / 52);
        deal(dealing, replay(draws));
        QCOMPARE(dealing.dealtcount, 25);
        QCOMPARE(dealing.offeredcard, CardId(41));
    }

    void aGameDealsTwentyFiveDistinctCards()
    {
        std::mt19937_64 engine(7);
        for (int game = 0; game < 200; ++game) {
            Dealing dealing;
            for (int k = 0; k < CardsPerGame; ++k)
                deal(dealing, [&engine] { return double(engine() >> 11) * 0x1.0p-53; });
            std::set<int> seen;
            for (int k = 0; k < CardsPerGame; ++k) {
                QVERIFY(isCard(dealing.dealtcards[k]));
                seen.insert(dealing.dealtcards[k]);
            }
            QCOMPARE(int(seen.size()), CardsPerGame);
            QVERIFY(std::all_of(dealing.dealtcards.begin() + CardsPerGame, dealing.dealtcards.end(),
                                [](CardId id) { return id == NoCard; }));
        }
    }

    void cellIndexesRunRowByRowFromTheTopLeft_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("top-left") << 0 << 0 << 0;
        QTest::newRow("top-right") << 4 << 0 << 4;
        QTest::newRow("second row start") << 5 << 1 << 0;
        QTest::newRow("middle") << 12 << 2 << 2;
        QTest::newRow("row three end") << 19 << 3 << 4;
        QTest::newRow("bottom-left") << 20 << 4 << 0;
        QTest::newRow("bottom-right") << 24 << 4 << 4;
    }

    void cellIndexesRunRowByRowFromTheTopLeft()
    {
        QFETCH(int, cell);
        QFETCH(int, row);
        QFETCH(int, column);
        QCOMPARE(cellRow(cell), row);
        QCOMPARE(cellColumn(cell), column);
        Board board;
        board.put(cell, 33);
        QCOMPARE(board.cardgrid[column + 1][row + 1], CardId(33));
    }

    void placementRule_data()
    {
        QTest::addColumn<std::vector<int>>("occupied");
        QTest::addColumn<std::vector<int>>("accepting");
        QTest::newRow("empty board: nothing accepts") << std::vector<int> {} << std::vector<int> {};
        QTest::newRow("opening card: only its three neighbours")
            << std::vector<int> {0} << std::vector<int> {1, 5, 6};
        QTest::newRow("middle card: all eight neighbours")
            << std::vector<int> {12} << std::vector<int> {6, 7, 8, 11, 13, 16, 17, 18};
        QTest::newRow("bottom-right corner reads the empty frame")
            << std::vector<int> {24} << std::vector<int> {18, 19, 23};
        QTest::newRow("right edge does not wrap to the next row")
            << std::vector<int> {9} << std::vector<int> {3, 4, 8, 13, 14};
        QTest::newRow("left edge does not wrap to the previous row")
            << std::vector<int> {10} << std::vector<int> {5, 6, 11, 15, 16};
        QTest::newRow("two cards: occupied cells refuse")
            << std::vector<int> {0, 1} << std::vector<int> {2, 5, 6, 7};
    }

    void placementRule()
    {
        QFETCH(std::vector<int>, occupied);
        QFETCH(std::vector<int>, accepting);
        Board board;
        CardId next = 1;
        for (int cell : occupied)
            board.put(cell, next++);
        std::vector<int> found;
        for (int cell = 0; cell < CellCount; ++cell) {
            if (board.accepts(cell))
                found.push_back(cell);
        }
        QCOMPARE(found, accepting);
    }

    void cellWithOnlyADiagonalNeighbourAccepts()
    {
        const Board board = boardWith({6});
        QVERIFY(board.accepts(0));
        QVERIFY(board.accepts(12));
        QVERIFY(board.accepts(10));
        QVERIFY(board.accepts(2));
        QVERIFY(!board.accepts(18));
    }

    void hoverColourTellsWhetherACellAccepts()
    {
        const Board board = boardWith({0});
        QCOMPARE(board.hoverColour(0), RefuseCellColour); // occupied
        QCOMPARE(board.hoverColour(6), AcceptCellColour); // diagonal neighbour
        QCOMPARE(board.hoverColour(2), RefuseCellColour); // no neighbour
    }

    void clearingEmptiesEveryCellAndKeepsTheFrameEmpty()
    {
        Board board = boardWith({0, 1, 2, 3, 4, 12, 24});
        board.clear();
        for (const auto &column : board.cardgrid)
            QVERIFY(
                std::all_of(column.begin(), column.end(), [](CardId id) { return id == NoCard; }));
    }
};

QTEST_APPLESS_MAIN(RulesTest)
#include "tst_rules.moc"
