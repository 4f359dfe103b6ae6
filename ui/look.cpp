// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look.h"

#include <QPalette>
#include <QWidget>

namespace ui {

void paintWhiteOnGreen(QWidget *textBox)
{
    QPalette palette = textBox->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, bgrColour(ControlBackColour));
        palette.setColor(group, QPalette::Text, bgrColour(ControlTextColour));
    }
    textBox->setPalette(palette);
}

QFont controlFont(layout::Font font)
{
    // The designed face where the system has it, otherwise a sans that every Debian desktop
    // has. Qt takes the first family it finds, without listing every font first.
    QFont result;
    result.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    result.setStyleHint(QFont::SansSerif);
    switch (font) {
    case layout::Font::Large: // 13.5 pt at 96 dpi
        result.setPixelSize(18);
        result.setWeight(QFont::Bold);
        break;
    case layout::Font::Small: // 9.75 pt at 96 dpi
        result.setPixelSize(13);
        result.setWeight(QFont::Bold);
        break;
    case layout::Font::Default:
        result.setPixelSize(11);
        result.setWeight(QFont::Normal);
        break;
    }
    return result;
}

} // namespace ui
