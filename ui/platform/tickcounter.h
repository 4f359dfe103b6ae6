// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The millisecond tick counter.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// Milliseconds since some fixed moment, as a 32-bit value that wraps to 0 after about
// 49.7 days. Only the difference of two readings, taken modulo 2^32, means anything.
class TickCounter
{
public:
    virtual ~TickCounter() = default;
    [[nodiscard]] virtual std::uint32_t now() = 0;
};

// The system's monotonic clock, which never jumps when the wall clock is set.
class SteadyTickCounter final : public TickCounter
{
public:
    [[nodiscard]] std::uint32_t now() override
    {
        using namespace std::chrono;
        const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch());
        return static_cast<std::uint32_t>(ms.count());
    }
};

} // namespace platform
