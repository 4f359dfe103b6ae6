// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// How a number is written on a label: one position for the sign, then the digits.
#pragma once

#include <string>

namespace game {

// " 12" for 12, " 0" for 0, "-3" for -3.
[[nodiscard]] inline std::string numberText(int value)
{
    std::string text = std::to_string(value);
    if (value >= 0)
        text.insert(text.begin(), ' ');
    return text;
}

} // namespace game
