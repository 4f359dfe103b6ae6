// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Shared artwork outside the image store: window backgrounds, hand pointers, the program icon.
#pragma once

#include "ui/art/art.h"
#include "ui/layout.h"
#include "ui/picture.h"

#include <QCursor>
#include <QIcon>

namespace ui {

// The background picture of a visible window, built once and shared.
[[nodiscard]] PictureRef backgroundPicture(const layout::WindowLayout &window);

// A hand pointer as a cursor, drawn at the primary screen's device pixel ratio.
[[nodiscard]] const QCursor &pointerCursor(art::Pointer pointer);

// Gives the widget the hand pointer when the mouse first enters it, so that no pointer is
// drawn before a window's first paint, and none that the mouse never shows.
void setPointerOnEntry(QWidget *widget, art::Pointer pointer);

// The program icon, drawn at each size when first asked for, one for the whole program.
[[nodiscard]] const QIcon &programIcon();
// A program icon of its own, nothing drawn yet.
[[nodiscard]] QIcon makeProgramIcon();

} // namespace ui
