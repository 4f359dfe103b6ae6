// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's artwork, drawn by code. Every painter works in logical pixels on a painter
// that may be scaled for the screen's device pixel ratio, so the result is crisp at any ratio.
#pragma once

#include "game/card.h"
#include "ui/layout.h"

#include <QColor>
#include <QPainterPath>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <string_view>

class QPainter;

namespace art {

// A colour written 0x00BBGGRR, as the board's and the controls' colours are.
[[nodiscard]] constexpr QColor bgrColour(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline constexpr QSize CardSize {48, 64};
inline constexpr QSize FaceSize {81, 25};
inline constexpr QSize PointerSize {32, 32};

// A card face: white card with rounded corners on a dark green surround, corner indexes,
// pips or a court figure.
void paintCard(QPainter &painter, game::CardId id);

// A picture button's word as an outline, in the lettering face, narrowed to fit the plate.
// It takes the font: made on the GUI thread, which has the font at hand for its captions, it
// lets the face itself be drawn on any thread.
[[nodiscard]] QPainterPath buttonLettering(std::string_view word);

// A picture button's face: a wooden plate with its word, outlined by buttonLettering.
// Released faces look raised, pressed faces pushed in.
void paintButtonFace(QPainter &painter, std::string_view word, const QPainterPath &lettering,
                     bool pressed);
// The same, with the word's outline made on the spot.
void paintButtonFace(QPainter &painter, std::string_view word, bool pressed);

// A window's background: a wooden board with a bevelled opening where each control sits.
void paintBackground(QPainter &painter, const ui::layout::WindowLayout &window);

enum class Pointer { Grab, Point, Place, Open };

// A hand pointer, 32 x 32, and the pixel of it that points.
void paintPointer(QPainter &painter, Pointer pointer);
[[nodiscard]] QPoint pointerHotSpot(Pointer pointer);

// The program icon, a miniature card grid on green, in a square of the given side.
void paintIcon(QPainter &painter, int side);

} // namespace art
