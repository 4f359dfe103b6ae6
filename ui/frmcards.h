// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The image store: every card face and button face the windows swap at run time.
#pragma once

#include "picture.h"

#include <array>

namespace ui {

// Never shown. Card picture k (0..51) is suit block k div 13 (Hearts, Spades, Diamonds,
// Clubs) and rank k mod 13 + 1; Picture1 is the blank and Picture2..Picture15 are the
// released and pressed faces of the seven kinds of picture button.
class frmCards
{
public:
    frmCards();

    [[nodiscard]] PictureRef picCard(int index) const { return picCard_.at(index); }

    // Picture1..Picture15. Picture1 holds no picture: a box given it shows its back colour.
    [[nodiscard]] PictureRef picture(int number) const { return pictures_.at(number); }

private:
    std::array<PictureRef, 52> picCard_;
    std::array<PictureRef, 16> pictures_; // 0 unused, 1 blank
};

} // namespace ui
