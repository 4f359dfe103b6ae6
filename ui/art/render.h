// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// A painter of ui/art drawn into an image, for programs that draw the artwork without windows.
#pragma once

#include <QImage>
#include <QSize>

#include <functional>

class QPainter;

namespace art {

// paint drawn in logical pixels within (0, 0, size) on a transparent image at the given device
// pixel ratio, with the render hints the windows' pictures are drawn with.
[[nodiscard]] QImage renderImage(QSize size, qreal devicePixelRatio,
                                 const std::function<void(QPainter &)> &paint);

} // namespace art
