// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The image store: every card face and button face the windows swap at run time.
#pragma once

#include "ui/picture.h"

#include "game/card.h"

#include <array>

class QWidget;

namespace ui {

// The store's other pictures, by their numbers Picture1..Picture15: the blank, and the released
// and pressed faces of the seven kinds of picture button.
enum class Face {
    Blank = 1,
    BeginReleased = 2,
    ExitReleased = 3,
    HighScoresReleased = 4,
    MinimizeReleased = 5,
    BeginPressed = 6,
    ExitPressed = 7,
    HighScoresPressed = 8,
    MinimizePressed = 9,
    AboutReleased = 10,
    AboutPressed = 11,
    OkReleased = 12,
    OkPressed = 13,
    ClearReleased = 14,
    ClearPressed = 15,
};

// A picture button's two faces.
struct FacePair
{
    Face released;
    Face pressed;
};

inline constexpr FacePair BeginFaces {Face::BeginReleased, Face::BeginPressed};
inline constexpr FacePair ExitFaces {Face::ExitReleased, Face::ExitPressed};
inline constexpr FacePair HighScoresFaces {Face::HighScoresReleased, Face::HighScoresPressed};
inline constexpr FacePair MinimizeFaces {Face::MinimizeReleased, Face::MinimizePressed};
inline constexpr FacePair AboutFaces {Face::AboutReleased, Face::AboutPressed};
inline constexpr FacePair OkFaces {Face::OkReleased, Face::OkPressed};
inline constexpr FacePair ClearFaces {Face::ClearReleased, Face::ClearPressed};

// Every button's faces, in the order the store numbers the released ones.
inline constexpr std::array<FacePair, 7> ButtonFaces = {
    BeginFaces, ExitFaces, HighScoresFaces, MinimizeFaces, AboutFaces, OkFaces, ClearFaces};

// Never shown. Card picture k (0..51) is suit block k div 13 (Hearts, Spades, Diamonds,
// Clubs) and rank k mod 13 + 1, as game::pictureIndex() numbers them.
class frmCards
{
public:
    frmCards();

    [[nodiscard]] PictureRef picCard(int index) const { return picCard_.at(index); }

    // The blank holds no picture: a box given it shows its back colour.
    [[nodiscard]] PictureRef picture(Face face) const
    {
        return pictures_.at(static_cast<std::size_t>(face));
    }

    // Draws every card face at the window's device pixel ratio, a few at each turn of the event
    // loop, starting once the window's first frame is painted; so that a face is only shown,
    // not drawn, when the game first needs it. Stops for good when the window is closed.
    void drawCardsAfterFirstPaint(QWidget *window) const;

private:
    std::array<PictureRef, game::DeckSize> picCard_;
    std::array<PictureRef, 16> pictures_; // 0 unused, 1 blank
};

} // namespace ui
