// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// How many full boards per second the rule code scores: card ids to rank numbers and suit
// blocks, then the ten lines' hand points.
#include "game/board.h"
#include "scoring/scoring.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

namespace {

constexpr int BoardCount = 100'000;
constexpr int Rounds = 7;

// Boards of 25 different cards, dealt from a fixed seed so that every run scores the same ones.
std::vector<game::CardGrid> randomBoards()
{
    std::mt19937_64 engine(20260101);
    std::array<game::CardId, 52> deck {};
    std::iota(deck.begin(), deck.end(), game::CardId(1));
    std::vector<game::CardGrid> boards(BoardCount);
    for (game::CardGrid &grid : boards) {
        // The first 25 steps of a Fisher-Yates shuffle give 25 distinct cards.
        for (int k = 0; k < game::CellCount; ++k) {
            std::uniform_int_distribution<int> pick(k, 51);
            std::swap(deck[k], deck[pick(engine)]);
        }
        game::Board board;
        for (int cell = 0; cell < game::CellCount; ++cell)
            board.put(cell, deck[cell]);
        grid = board.cardgrid;
    }
    return boards;
}

} // namespace

int main()
{
    const std::vector<game::CardGrid> boards = randomBoards();

    std::printf("Scoring full boards: landvalues + checkhands on %d random boards per round\n",
                BoardCount);
#ifdef __OPTIMIZE__
    std::printf("build: optimised\n\n");
#else
    std::printf("build: NOT optimised; figures mean little\n\n");
#endif
    std::printf("%-6s %12s %14s %12s\n", "round", "seconds", "boards/s", "ns/board");

    std::vector<double> rates;
    long long points = 0; // keeps the work observable, and shows the same each round
    for (int round = 1; round <= Rounds; ++round) {
        points = 0;
        const auto start = std::chrono::steady_clock::now();
        for (const game::CardGrid &grid : boards) {
            scoring::Table8 cardvalues {};
            scoring::Table8 cardsuits {};
            scoring::Line8 rowscores {};
            scoring::Line8 colscores {};
            scoring::landvalues(grid, cardvalues, cardsuits);
            scoring::checkhands(cardvalues, cardsuits, rowscores, colscores);
            for (int k = 0; k <= 4; ++k)
                points += rowscores[k] + colscores[k];
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        const double rate = BoardCount / elapsed.count();
        rates.push_back(rate);
        std::printf("%-6d %12.4f %14.0f %12.1f\n", round, elapsed.count(), rate, 1e9 / rate);
    }

    std::sort(rates.begin(), rates.end());
    std::printf("\nmedian %.0f boards/s, best %.0f boards/s\n", rates[rates.size() / 2],
                rates.back());
    std::printf("mean points per board: %.3f\n", double(points) / BoardCount);
    return 0;
}
