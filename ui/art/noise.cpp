// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/art/noise.h"

namespace art::drawing {

std::uint32_t Noise::next()
{
    // xorshift32: portable, and good enough for grain.
    std::uint32_t x = state_;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state_ = x;
    return x;
}

double Noise::uniform(double low, double high)
{
    return low + (high - low) * (double(next() >> 8) / double(1u << 24));
}

std::uint32_t seedOf(std::string_view word)
{
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (char c : word)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

} // namespace art::drawing
