// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own plain texts (control names, captions, card names) as Qt strings.
#pragma once

#include <QString>

#include <string_view>

namespace ui {

// Every such text is plain ASCII, so one byte is one character.
[[nodiscard]] inline QString qtext(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace ui
