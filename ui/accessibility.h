// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What screen readers see of the windows: push buttons with a press action, the board as a
// table of cells that place the card, labels, a frame and dialogs.
#pragma once

#include <QStringList>

class QWidget;

namespace ui {

// Tells Qt's accessibility layer about the program's own controls. Safe to call again.
void installAccessibility();

// Has a screen reader say `text` at once: from Qt 6.8 on as Qt's announcement; with an older
// Qt the window's announcement line, a status bar that draws nothing, shows it as a new
// notification, which screen readers speak as it appears.
void announce(QWidget *window, const QString &text);

// A number of points as said: "1 point", "12 points".
[[nodiscard]] QString spokenPoints(int points);

// The texts the window announced lately, the latest last: the last 16 at most.
[[nodiscard]] QStringList recentAnnouncements(const QWidget *window);

} // namespace ui
