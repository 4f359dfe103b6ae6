// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/scoring.h"

namespace scoring {

void landvalues(const game::CardGrid &cardgrid, Table8 &cardvalues, Table8 &cardsuits)
{
    for (int r = 0; r < game::BoardSide; ++r) {
        for (int c = 0; c < game::BoardSide; ++c) {
            const game::CardId id = cardgrid[c + 1][r + 1];
            cardsuits[c][r] = static_cast<std::int16_t>(game::suitBlock(id));
            cardvalues[c][r] = static_cast<std::int16_t>(game::rankNumber(id));
        }
    }
}

void sortHand(std::array<std::int16_t, 8> &hand)
{
    for (int gap = 2; gap > 0; gap /= 2) {
        for (int i = gap; i <= 4; ++i) {
            for (int j = i - gap + 1; j >= 1; j -= gap) {
                if (hand[j] <= hand[j + gap])
                    break;
                std::swap(hand[j], hand[j + gap]);
            }
        }
    }
}

namespace {

bool isFlush(const std::array<std::int16_t, 5> &suits)
{
    return suits[1] == suits[0] && suits[2] == suits[0] && suits[3] == suits[0]
        && suits[4] == suits[0];
}

bool isStraight(std::int16_t x1, std::int16_t x2, std::int16_t x3, std::int16_t x4, std::int16_t x5)
{
    return (x2 == x1 + 1 && x3 == x1 + 2 && x4 == x1 + 3 && x5 == x1 + 4)
        || (x1 == 1 && x2 == 10 && x3 == 11 && x4 == 12 && x5 == 13);
}

} // namespace

std::int16_t handPoints(const std::array<std::int16_t, 8> &sortedRanks,
                        const std::array<std::int16_t, 5> &suits)
{
    const std::int16_t x1 = sortedRanks[1], x2 = sortedRanks[2], x3 = sortedRanks[3],
                       x4 = sortedRanks[4], x5 = sortedRanks[5];
    // Every test that holds overwrites the points; the last one that holds wins. In this
    // order the result is always the line's standard poker category.
    std::int16_t points = Nothing;
    if (x1 == x2 || x2 == x3 || x3 == x4 || x4 == x5)
        points = OnePair;
    if ((x2 == x3 && x4 == x5) || (x1 == x2 && x3 == x4) || (x1 == x2 && x4 == x5))
        points = TwoPair;
    if (isFlush(suits))
        points = Flush;
    if ((x1 == x2 && x2 == x3) || (x2 == x3 && x3 == x4) || (x3 == x4 && x4 == x5))
        points = ThreeOfAKind;
    if ((x1 == x2 && x3 == x4 && x4 == x5) || (x1 == x2 && x2 == x3 && x4 == x5))
        points = FullHouse;
    if (isStraight(x1, x2, x3, x4, x5))
        points = Straight;
    if ((x1 == x2 && x2 == x3 && x3 == x4) || (x2 == x3 && x3 == x4 && x4 == x5))
        points = FourOfAKind;
    if (isStraight(x1, x2, x3, x4, x5) && isFlush(suits))
        points = StraightFlush;
    return points;
}

void checkhands(const Table8 &cardvalues, const Table8 &cardsuits, Line8 &rowscores,
                Line8 &colscores)
{
    Table8 rowhands {};
    Table8 colhands {};
    for (int r = 0; r < game::BoardSide; ++r) {
        for (int k = 0; k < game::BoardSide; ++k) {
            rowhands[r][k + 1] = cardvalues[k][r];
            colhands[k][r + 1] = cardvalues[k][r];
        }
    }
    for (int r = 0; r < game::BoardSide; ++r)
        sortHand(rowhands[r]);
    for (int col = 0; col < game::BoardSide; ++col)
        sortHand(colhands[col]);

    for (int r = 0; r < game::BoardSide; ++r) {
        const std::array<std::int16_t, 5> suits = {
            cardsuits[0][r], cardsuits[1][r], cardsuits[2][r], cardsuits[3][r], cardsuits[4][r]};
        rowscores[r] = handPoints(rowhands[r], suits);
    }
    for (int col = 0; col < game::BoardSide; ++col) {
        const std::array<std::int16_t, 5> suits = {cardsuits[col][0], cardsuits[col][1],
                                                   cardsuits[col][2], cardsuits[col][3],
                                                   cardsuits[col][4]};
        colscores[col] = handPoints(colhands[col], suits);
    }
}

std::optional<std::int16_t> countUp(const Line8 &rowscores, const Line8 &colscores,
                                    TallyDisplay &display)
{
    std::int16_t total = 0;

    // One line: every value from 0 up to its points, a tick after showing each, then the
    // final value once more and a knock.
    const auto countLine = [&](std::int16_t points, auto show) {
        for (std::int16_t k = 0; k <= points; ++k) {
            show(k);
            display.playCue(game::Cue::CountStep);
            if (!display.wait(CountStepMs))
                return false;
        }
        show(points);
        total = static_cast<std::int16_t>(total + points);
        display.playCue(game::Cue::CountDone);
        return display.wait(LinePauseMs);
    };

    for (int r = 0; r < game::BoardSide; ++r) {
        if (!countLine(rowscores[r], [&](std::int16_t v) { display.showRowPoints(r, v); }))
            return std::nullopt;
    }
    for (int col = 0; col < game::BoardSide; ++col) {
        if (!countLine(colscores[col], [&](std::int16_t v) { display.showColumnPoints(col, v); }))
            return std::nullopt;
    }

    // The total waits before its tick, the other way round from the lines.
    for (std::int16_t k = 0; k <= total; ++k) {
        display.showTotal(k);
        if (!display.wait(CountStepMs))
            return std::nullopt;
        display.playCue(game::Cue::CountStep);
    }
    display.playCue(game::Cue::CountDone);
    if (!display.wait(LinePauseMs))
        return std::nullopt;
    display.showTotal(total);
    return total;
}

} // namespace scoring
