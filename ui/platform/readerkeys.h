// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The keys a screen reader holds down as its own modifier, read from the keyboard itself.
#pragma once

namespace platform {

// Whether Insert, keypad Insert or Caps Lock is held down on the keyboard at this moment, as
// the X server knows it. A screen reader takes these keys together with the next one for
// itself, and a key it answers late for may still reach the program. False where the window
// system cannot be asked (Wayland, the offscreen platform).
[[nodiscard]] bool readerModifierHeld();

} // namespace platform
