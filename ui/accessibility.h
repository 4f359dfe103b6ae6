// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers see of the windows: push buttons with a press action, the board as a
// table of cells that place the card, labels, a frame and dialogs.
#pragma once

namespace ui {

// Tells Qt's accessibility layer about the program's own controls. Safe to call again.
void installAccessibility();

} // namespace ui
