// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Every five-card hand of one deck, scored: each category must come up exactly as often as
// poker combinatorics says.
#include "scoring/scoring.h"

#include <QTest>

#include <array>
#include <cstdint>

class HandCensusTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Card k of the deck (0..51): rank k mod 13 + 1, suit k div 13.
        std::array<std::int16_t, 52> rank {};
        std::array<std::int16_t, 52> suit {};
        for (int k = 0; k < 52; ++k) {
            rank[k] = static_cast<std::int16_t>(k % 13 + 1);
            suit[k] = static_cast<std::int16_t>(k / 13);
        }

        std::array<std::int16_t, 8> hand {};
        for (int a = 0; a < 52; ++a) {
            for (int b = a + 1; b < 52; ++b) {
                for (int c = b + 1; c < 52; ++c) {
                    for (int d = c + 1; d < 52; ++d) {
                        for (int e = d + 1; e < 52; ++e) {
                            hand[1] = rank[a];
                            hand[2] = rank[b];
                            hand[3] = rank[c];
                            hand[4] = rank[d];
                            hand[5] = rank[e];
                            scoring::sortHand(hand);
                            const std::int16_t points = scoring::handPoints(
                                hand, {suit[a], suit[b], suit[c], suit[d], suit[e]});
                            if (points < 0 || points >= int(census_.size()))
                                QFAIL(qPrintable(QStringLiteral("points %1").arg(points)));
                            ++census_[points];
                        }
                    }
                }
            }
        }
    }

    void eachCategoryComesUpAsOftenAsInPoker_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("hands");

        QTest::newRow("nothing") << 0 << 1302540;
        QTest::newRow("one pair") << 1 << 1098240;
        QTest::newRow("two pair") << 3 << 123552;
        QTest::newRow("flush") << 5 << 5108;
        QTest::newRow("three of a kind") << 6 << 54912;
        QTest::newRow("full house") << 10 << 3744;
        QTest::newRow("straight") << 12 << 10200;
        QTest::newRow("four of a kind") << 16 << 624;
        QTest::newRow("straight flush") << 30 << 40;
    }

    void eachCategoryComesUpAsOftenAsInPoker()
    {
        QFETCH(int, points);
        QFETCH(int, hands);
        QCOMPARE(census_[points], hands);
    }

private:
    std::array<int, 31> census_ {}; // number of hands by their points, 0..30
};

QTEST_APPLESS_MAIN(HandCensusTest)
#include "tst_handcensus.moc"
