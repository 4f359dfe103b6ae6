// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Hand points of single lines, and how the board's rows and columns are scored.
#include "game/board.h"
#include "game/card.h"
#include "scoring/scoring.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct Card
{
    std::int16_t rank; // 1 Ace .. 13 King
    std::int16_t suit; // 0 Hearts, 1 Spades, 2 Diamonds, 3 Clubs
};

using Hand = std::array<Card, 5>;

// "AH", "TS", "7D", "QC": rank A 2..9 T J Q K, suit H S D C.
Card parseCard(std::string_view text)
{
    constexpr std::string_view ranks = "A23456789TJQK";
    constexpr std::string_view suits = "HSDC";
    const auto rank = ranks.find(text.at(0));
    const auto suit = suits.find(text.at(1));
    if (text.size() != 2 || rank == std::string_view::npos || suit == std::string_view::npos)
        qFatal("bad card text %.*s", int(text.size()), text.data());
    return {static_cast<std::int16_t>(rank + 1), static_cast<std::int16_t>(suit)};
}

// Five cards separated by blanks: "2H 5S 9D JC KH".
Hand parseHand(const QByteArray &text)
{
    const QList<QByteArray> words = text.split(' ');
    if (words.size() != 5)
        qFatal("a hand has five cards: %s", text.constData());
    Hand hand;
    for (int k = 0; k < 5; ++k)
        hand[k] = parseCard(std::string_view(words[k].constData(), std::size_t(words[k].size())));
    return hand;
}

game::CardId idOf(Card card)
{
    return game::cardId(card.suit, card.rank);
}

} // namespace

class ClassifierTest : public QObject
{
    Q_OBJECT

private slots:
    void everyOrderOfALineScoresItsHandPoints_data()
    {
        QTest::addColumn<QByteArray>("cards");
        QTest::addColumn<int>("points");

        // Nothing
        QTest::newRow("2 5 9 J K, mixed suits") << QByteArray("2H 5S 9D JC KH") << 0;
        QTest::newRow("J Q K A 2 does not wrap") << QByteArray("JH QS KD AC 2H") << 0;
        QTest::newRow("Q K A 2 3 does not wrap") << QByteArray("QH KS AD 2C 3H") << 0;
        QTest::newRow("K A 2 3 4 does not wrap") << QByteArray("KH AS 2D 3C 4H") << 0;
        QTest::newRow("A 9 T J Q is one short") << QByteArray("AH 9S TD JC QH") << 0;
        QTest::newRow("2 3 4 5 7 has a gap") << QByteArray("2H 3S 4D 5C 7H") << 0;
        QTest::newRow("four hearts and a spade") << QByteArray("2S 6H 9H JH KH") << 0;

        // One pair, in each of the four places after sorting
        QTest::newRow("pair of twos, lowest") << QByteArray("2H 2S 5D 9C KH") << 1;
        QTest::newRow("pair of fives, second") << QByteArray("2H 5S 5D 9C KH") << 1;
        QTest::newRow("pair of nines, third") << QByteArray("2H 5S 9D 9C KH") << 1;
        QTest::newRow("pair of kings, highest") << QByteArray("2H 5S 9D KC KH") << 1;
        QTest::newRow("pair of aces under a straight") << QByteArray("AH AS 2D 3C 4H") << 1;

        // Two pair, each arrangement of the odd card
        QTest::newRow("aces and kings, five between") << QByteArray("AH AS 5D KC KH") << 3;
        QTest::newRow("fives and nines over a two") << QByteArray("2H 5S 5D 9C 9H") << 3;
        QTest::newRow("fives and nines under a king") << QByteArray("5H 5S 9D 9C KH") << 3;

        // Flush
        QTest::newRow("hearts 2 6 9 J K") << QByteArray("2H 6H 9H JH KH") << 5;
        QTest::newRow("clubs 2 3 4 5 7") << QByteArray("2C 3C 4C 5C 7C") << 5;
        QTest::newRow("spades A T J Q 9") << QByteArray("AS TS JS QS 9S") << 5;

        // Three of a kind, in each place
        QTest::newRow("three twos, lowest") << QByteArray("2H 2S 2D 9C KH") << 6;
        QTest::newRow("5 5 5 9 K") << QByteArray("5H 5S 5D 9C KH") << 6;
        QTest::newRow("three sevens between") << QByteArray("3H 7S 7D 7C KH") << 6;
        QTest::newRow("three kings, highest") << QByteArray("3H 5S KD KC KH") << 6;

        // Full house, both shapes
        QTest::newRow("fours over eights") << QByteArray("4H 4S 4D 8C 8H") << 10;
        QTest::newRow("eights over fours") << QByteArray("4H 4S 8D 8C 8H") << 10;
        QTest::newRow("aces over kings") << QByteArray("AH AS AD KC KH") << 10;

        // Straight
        QTest::newRow("A 2 3 4 5, ace low") << QByteArray("AH 2S 3D 4C 5H") << 12;
        QTest::newRow("2 3 4 5 6") << QByteArray("2H 3S 4D 5C 6H") << 12;
        QTest::newRow("5 6 7 8 9") << QByteArray("5H 6S 7D 8C 9H") << 12;
        QTest::newRow("9 T J Q K") << QByteArray("9H TS JD QC KH") << 12;
        QTest::newRow("T J Q K A, ace high") << QByteArray("TH JS QD KC AH") << 12;

        // Four of a kind, odd card below and above
        QTest::newRow("four sevens over a two") << QByteArray("7H 7S 7D 7C 2H") << 16;
        QTest::newRow("four nines under a three") << QByteArray("3H 9S 9D 9C 9H") << 16;
        QTest::newRow("four aces and a king") << QByteArray("AH AS AD AC KH") << 16;

        // Straight flush
        QTest::newRow("A 2 3 4 5 of hearts") << QByteArray("AH 2H 3H 4H 5H") << 30;
        QTest::newRow("9 T J Q K of spades") << QByteArray("9S TS JS QS KS") << 30;
        QTest::newRow("T J Q K A of diamonds") << QByteArray("TD JD QD KD AD") << 30;
        QTest::newRow("4 5 6 7 8 of clubs") << QByteArray("4C 5C 6C 7C 8C") << 30;
    }

    // Every one of the 120 orders, in every row and every column of the board.
    void everyOrderOfALineScoresItsHandPoints()
    {
        QFETCH(QByteArray, cards);
        QFETCH(int, points);

        Hand hand = parseHand(cards);
        std::sort(hand.begin(), hand.end(), [](Card a, Card b) { return idOf(a) < idOf(b); });
        int orders = 0;
        do {
            const int line = orders % 5;
            {
                scoring::Table8 cardvalues {};
                scoring::Table8 cardsuits {};
                for (int c = 0; c <= 4; ++c) {
                    cardvalues[c][line] = hand[c].rank;
                    cardsuits[c][line] = hand[c].suit;
                }
                scoring::Line8 rowscores {};
                scoring::Line8 colscores {};
                scoring::checkhands(cardvalues, cardsuits, rowscores, colscores);
                QCOMPARE(int(rowscores[line]), points);
            }
            {
                scoring::Table8 cardvalues {};
                scoring::Table8 cardsuits {};
                for (int r = 0; r <= 4; ++r) {
                    cardvalues[line][r] = hand[r].rank;
                    cardsuits[line][r] = hand[r].suit;
                }
                scoring::Line8 rowscores {};
                scoring::Line8 colscores {};
                scoring::checkhands(cardvalues, cardsuits, rowscores, colscores);
                QCOMPARE(int(colscores[line]), points);
            }
            ++orders;
        } while (std::next_permutation(hand.begin(), hand.end(),
                                       [](Card a, Card b) { return idOf(a) < idOf(b); }));
        QCOMPARE(orders, 120);
    }

    void sortHandPutsEveryRankTupleInAscendingOrder()
    {
        // All 13^5 rank tuples; positions 0, 6 and 7 must not move.
        std::array<std::int16_t, 8> hand {};
        std::array<std::int16_t, 5> expected {};
        for (int n = 0; n < 13 * 13 * 13 * 13 * 13; ++n) {
            int digits = n;
            for (int k = 0; k < 5; ++k) {
                expected[k] = static_cast<std::int16_t>(digits % 13 + 1);
                digits /= 13;
            }
            hand = {-1, expected[0], expected[1], expected[2], expected[3], expected[4], -6, -7};
            std::sort(expected.begin(), expected.end());
            scoring::sortHand(hand);
            const std::array<std::int16_t, 5> sorted = {hand[1], hand[2], hand[3], hand[4],
                                                        hand[5]};
            if (sorted != expected || hand[0] != -1 || hand[6] != -6 || hand[7] != -7)
                QFAIL(qPrintable(QStringLiteral("tuple %1 sorted wrongly").arg(n)));
        }
    }

    void boardScoresEachRowAndColumn_data()
    {
        QTest::addColumn<QList<QByteArray>>("rows");
        QTest::addColumn<QList<int>>("rowPoints");
        QTest::addColumn<QList<int>>("columnPoints");

        // The top-left two of hearts is in the flush of the top row and in the pair of twos
        // of the left column.
        QTest::newRow("top row a flush, left column a pair")
            << QList<QByteArray> {"2H 6H 9H JH KH", "2S 3D 7C TS QD", "4C 8S 5D 3C AS",
                                  "7D 9C KS 8D 4S", "5H TC 6S QC 3H"}
            << QList<int> {5, 0, 0, 0, 0} << QList<int> {1, 0, 0, 0, 0};
        QTest::newRow("a different hand in every row")
            << QList<QByteArray> {"5S AS 2S 3S 4S", "9H KH 9D 9C 9S", "7H QH 7D 7C QD",
                                  "6H JH 2D 6C 6D", "8H TC 8D 4C TD"}
            << QList<int> {30, 16, 10, 6, 3} << QList<int> {12, 12, 1, 0, 0};
        QTest::newRow("the same board turned over its diagonal")
            << QList<QByteArray> {"5S 9H 7H 6H 8H", "AS KH QH JH TC", "2S 9D 7D 2D 8D",
                                  "3S 9C 7C 6C 4C", "4S 9S QD 6D TD"}
            << QList<int> {12, 12, 1, 0, 0} << QList<int> {30, 16, 10, 6, 3};
    }

    // Through the whole chain: card ids on the board, their values, then the ten lines.
    void boardScoresEachRowAndColumn()
    {
        QFETCH(QList<QByteArray>, rows);
        QFETCH(QList<int>, rowPoints);
        QFETCH(QList<int>, columnPoints);

        game::Board board;
        for (int r = 0; r <= 4; ++r) {
            const Hand row = parseHand(rows[r]);
            for (int c = 0; c <= 4; ++c)
                board.put(5 * r + c, idOf(row[c]));
        }
        scoring::Table8 cardvalues {};
        scoring::Table8 cardsuits {};
        scoring::landvalues(board.cardgrid, cardvalues, cardsuits);
        scoring::Line8 rowscores {};
        scoring::Line8 colscores {};
        scoring::checkhands(cardvalues, cardsuits, rowscores, colscores);

        for (int k = 0; k <= 4; ++k) {
            QCOMPARE(int(rowscores[k]), rowPoints[k]);
            QCOMPARE(int(colscores[k]), columnPoints[k]);
        }
    }
};

QTEST_APPLESS_MAIN(ClassifierTest)
#include "tst_classifier.moc"
