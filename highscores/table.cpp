// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "highscores/table.h"

#include <utility>

namespace highscores {

void resethighscores(HighScoreTable &table)
{
    for (int k = 1; k <= Slots; ++k) {
        table.hsscores[k] = 0;
        table.hsnames[k] = DefaultName;
    }
}

void sortHighScores(HighScoreTable &table)
{
    for (int gap = 5; gap > 0; gap /= 2) {
        for (int i = gap; i <= 9; ++i) {
            for (int j = i - gap + 1; j >= 1; j -= gap) {
                if (table.hsscores[j] >= table.hsscores[j + gap])
                    break;
                std::swap(table.hsscores[j], table.hsscores[j + gap]);
                std::swap(table.hsnames[j], table.hsnames[j + gap]);
            }
        }
    }
}

} // namespace highscores
