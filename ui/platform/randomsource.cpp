// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/randomsource.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include <unistd.h>

namespace platform {

std::uint64_t clockSeed()
{
    using namespace std::chrono;
    const auto wall = static_cast<std::uint64_t>(
        duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count());
    const auto steady = static_cast<std::uint64_t>(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
    // Mix in the process id so that two programs started in the same nanosecond still differ.
    std::uint64_t x = wall ^ (steady << 17) ^ (static_cast<std::uint64_t>(::getpid()) << 40);
    // SplitMix64 finaliser: spreads the low-entropy bits of the clocks over the whole seed.
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    x ^= x >> 31;
    return x;
}

std::uint64_t startupSeed()
{
    const char *pinned = std::getenv("QUINTAGRID_SEED");
    if (pinned != nullptr && *pinned != '\0') {
        char *end = nullptr;
        errno = 0;
        const unsigned long long value = std::strtoull(pinned, &end, 10);
        if (errno == 0 && end != pinned && *end == '\0' && pinned[0] != '-')
            return value;
    }
    return clockSeed();
}

void SeededRandom::seedFromClock()
{
    seed(startupSeed());
}

} // namespace platform
