// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/deal.h"

namespace game {

void Dealing::clear()
{
    dealtcards.fill(NoCard);
    dealtcount = 0;
    offeredcard = NoCard;
    alreadydealt = false;
}

void deal(Dealing &dealing, const UniformDraw &draw)
{
    do {
        dealing.alreadydealt = false;
        dealing.offeredcard = cardForDraw(draw());
        // The entry at dealtcount is still 0, so comparing it too never matches.
        for (int k = 0; k <= dealing.dealtcount; ++k) {
            if (dealing.dealtcards[k] == dealing.offeredcard)
                dealing.alreadydealt = true;
        }
    } while (dealing.alreadydealt);

    dealing.dealtcards[dealing.dealtcount] = dealing.offeredcard;
    ++dealing.dealtcount;
}

} // namespace game
