// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Two different tables that the save helper writes and the tests expect, so that a file
// holding anything but one of them whole is caught.
#pragma once

#include "highscores/table.h"

#include <QByteArray>

namespace savetables {

[[nodiscard]] inline highscores::HighScoreTable table(char which)
{
    highscores::HighScoreTable table;
    for (int k = 1; k <= highscores::Slots; ++k) {
        if (which == 'a') {
            table.hsnames[k] = QStringLiteral("Ann %1").arg(k);
            table.hsscores[k] = static_cast<std::int16_t>(300 - k);
        } else {
            table.hsnames[k] = QStringLiteral("Bartholomew");
            table.hsscores[k] = static_cast<std::int16_t>(-k * 1000);
        }
    }
    return table;
}

} // namespace savetables
