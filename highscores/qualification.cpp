// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "highscores/qualification.h"

namespace highscores {

bool admitScore(Module1 &module1)
{
    std::int16_t lowest = LowestSearchStart;
    for (int k = 1; k <= Slots; ++k) {
        if (module1.table.hsscores[k] < lowest) {
            lowest = module1.table.hsscores[k];
            module1.lowestslot = static_cast<std::int16_t>(k);
        }
    }
    if (module1.gamescore <= lowest)
        return false;
    module1.table.hsscores[module1.lowestslot] = module1.gamescore;
    return true;
}

void acceptName(Module1 &module1, const QString &typed)
{
    module1.enteredname = typed;
    if (module1.lowestslot >= 1 && module1.lowestslot <= Slots)
        module1.table.hsnames[module1.lowestslot] = module1.enteredname;
}

QString storableName(const QString &typed)
{
    QString name;
    for (const QChar c : typed) {
        if (c.unicode() > 0xFF || c == u'"' || c == u'\r' || c == u'\n')
            continue;
        name += c;
    }
    return name;
}

} // namespace highscores
