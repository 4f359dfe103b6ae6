// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The uniform pseudo-random source behind the deal and the opening shuffle.
#pragma once

#include <cstdint>
#include <random>

namespace platform {

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Seeds the source once, at start-up, so that two starts normally deal differently.
    virtual void seedFromClock() = 0;
    // A value u with 0 <= u < 1, uniformly distributed.
    [[nodiscard]] virtual double uniform() = 0;
};

// Our own generator: the 64-bit Mersenne Twister, whose output the C++ standard fixes, turned
// into a double by its top 53 bits. The same seed gives the same values on every platform.
class SeededRandom final : public RandomSource
{
public:
    explicit SeededRandom(std::uint64_t value = 0) { seed(value); }

    void seed(std::uint64_t value) { engine_.seed(value); }

    // Seeds from a fine-grained clock. Tests that start the real executable may pin the deal
    // with the environment variable QUINTAGRID_SEED (a decimal number); when it is unset or
    // unparsable the clock is used.
    void seedFromClock() override;

    [[nodiscard]] double uniform() override
    {
        return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
    }

private:
    std::mt19937_64 engine_;
};

// A seed that differs between two starts of the program, even within the same second.
[[nodiscard]] std::uint64_t clockSeed();

// The seed a start of the program uses: QUINTAGRID_SEED when set to a decimal number, else
// clockSeed().
[[nodiscard]] std::uint64_t startupSeed();

} // namespace platform
