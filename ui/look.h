// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Colours and fonts of the windows.
#pragma once

#include "ui/layout.h"

#include "game/board.h"
#include "ui/art/art.h"

#include <QColor>
#include <QFont>

class QWidget;

#include <cstdint>

namespace ui {

using art::bgrColour;

inline constexpr std::uint32_t ControlBackColour = game::NormalCellColour; // dark green
inline constexpr std::uint32_t ControlTextColour = 0x00FFFFFF;             // white

// Gives a text box the controls' white text on dark green, in every state.
void paintWhiteOnGreen(QWidget *textBox);

// The font of a text style. Sizes are in pixels, so that the desktop's font setting cannot make
// text overflow the fixed controls; the text scales only with the whole window.
[[nodiscard]] QFont controlFont(layout::Font font);

} // namespace ui
