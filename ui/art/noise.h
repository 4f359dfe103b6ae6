// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The noise all the artwork draws from: the same seed draws the same picture on every run and
// every platform.
#pragma once

#include <cstdint>
#include <string_view>

namespace art::drawing {

// A small deterministic generator.
class Noise
{
public:
    explicit Noise(std::uint32_t seed)
        : state_(seed * 2654435761u + 0x9E3779B9u)
    { }
    [[nodiscard]] std::uint32_t next();
    // Uniform in [low, high).
    [[nodiscard]] double uniform(double low = 0.0, double high = 1.0);

private:
    std::uint32_t state_;
};

// A seed taken from a word, so that each button's plate has its own grain.
[[nodiscard]] std::uint32_t seedOf(std::string_view word);

} // namespace art::drawing
