// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Where every control of every window sits: the one table that places the controls and cuts
// the openings into the window backgrounds. Positions and sizes are in twips (15 to the pixel
// at 96 dots per inch), measured from the window's top-left corner.
#pragma once

#include "game/board.h"

#include <QRect>

#include <array>
#include <span>
#include <string_view>

namespace ui::layout {

inline constexpr int TwipsPerPixel = 15;

[[nodiscard]] constexpr int pixels(int twips)
{
    return twips / TwipsPerPixel;
}

enum class Kind { Cell, Picture, Button, Label, TextBox, TextArea };

// The three text styles: bold 13.5 pt, bold 9.75 pt, and the window's regular default.
enum class Font { Default, Small, Large };

struct Control
{
    std::string_view name;
    int index;                    // element of a control array, or -1
    int left, top, width, height; // twips
    Kind kind;
    Font font = Font::Default;

    [[nodiscard]] constexpr QRect rect() const
    {
        return {pixels(left), pixels(top), pixels(width), pixels(height)};
    }
};

struct WindowLayout
{
    std::string_view name;
    int width, height; // client size, twips
    std::span<const Control> controls;

    [[nodiscard]] constexpr QSize size() const { return {pixels(width), pixels(height)}; }

    // The control with this name and index; an unknown name is a programming error.
    [[nodiscard]] constexpr const Control &at(std::string_view controlName, int index = -1) const
    {
        for (const Control &control : controls) {
            if (control.name == controlName && control.index == index)
                return control;
        }
        throw "no such control";
    }
};

inline constexpr int ButtonWidth = 1215;
inline constexpr int ButtonHeight = 375;

namespace detail {

constexpr std::array<Control, 59> mainControls()
{
    std::array<Control, 59> c {};
    int n = 0;
    for (int i = 0; i < game::CellCount; ++i) {
        const int left = 240 + 720 * game::cellColumn(i), top = 240 + 960 * game::cellRow(i);
        c[n++] = {"picPlace", i, left, top, 735, 975, Kind::Cell};
    }
    c[n++] = {"picDealt", -1, 5040, 240, 735, 975, Kind::Picture};
    c[n++] = {"Command1", -1, 4800, 1440, ButtonWidth, ButtonHeight, Kind::Button};
    c[n++] = {"Command2", -1, 6120, 1440, ButtonWidth, ButtonHeight, Kind::Button};
    c[n++] = {"Command3", -1, 6120, 240, ButtonWidth, ButtonHeight, Kind::Button};
    c[n++] = {"Command4", -1, 6120, 840, ButtonWidth, ButtonHeight, Kind::Button};
    c[n++] = {"Command5", -1, 6120, 5640, ButtonWidth, ButtonHeight, Kind::Button};
    for (int r = 0; r < game::BoardSide; ++r)
        c[n++] = {"riviarvo", r, 3960, 600 + 960 * r, 495, 255, Kind::Label, Font::Small};
    for (int col = 0; col < game::BoardSide; ++col)
        c[n++] = {"Label1", col, 360 + 720 * col, 5160, 495, 255, Kind::Label, Font::Small};
    for (int k = 0; k < 8; ++k)
        c[n++] = {"Label2", k, 4800, 2040 + 360 * k, 1215, 255, Kind::Label};
    for (int k = 0; k < 8; ++k)
        c[n++] = {"Label3", k, 6120, 2040 + 360 * k, 1215, 255, Kind::Label};
    c[n++] = {"Label4", -1, 5520, 5040, 1095, 375, Kind::Label, Font::Large};
    c[n++] = {"Label5", -1, 240, 5640, 5775, 375, Kind::Label, Font::Large};
    return c;
}

constexpr std::array<Control, 22> highScoreControls()
{
    std::array<Control, 22> c {};
    int n = 0;
    for (int i = 0; i < 10; ++i)
        c[n++] = {"nimet", i, 240, 240 + 360 * i, 2415, 255, Kind::Label};
    for (int i = 0; i < 10; ++i)
        c[n++] = {"scoret", i, 2760, 240 + 360 * i, 1215, 255, Kind::Label};
    c[n++] = {"Command1", -1, 2760, 3960, ButtonWidth, ButtonHeight, Kind::Button};
    c[n++] = {"Command2", -1, 240, 3960, ButtonWidth, ButtonHeight, Kind::Button};
    return c;
}

inline constexpr auto mainTable = mainControls();
inline constexpr auto highScoreTable = highScoreControls();

inline constexpr std::array<Control, 3> enterNameTable = {{
    {"Label2", -1, 240, 240, 3615, 375, Kind::Label, Font::Large},
    {"Text1", -1, 240, 840, 3615, 375, Kind::TextBox, Font::Large},
    {"Command2", -1, 1440, 1440, ButtonWidth, ButtonHeight, Kind::Button},
}};

inline constexpr std::array<Control, 2> aboutTable = {{
    {"Text1", -1, 4560, 1200, 3855, 3735, Kind::TextArea},
    {"Picture1", -1, 5880, 5160, ButtonWidth, ButtonHeight, Kind::Button},
}};

} // namespace detail

inline constexpr WindowLayout frmQuintagrid {"frmQuintagrid", 7575, 6255, detail::mainTable};
inline constexpr WindowLayout frmHighScores {"frmHighScores", 4215, 4575, detail::highScoreTable};
inline constexpr WindowLayout frmEnterName {"frmEnterName", 4095, 2055, detail::enterNameTable};
inline constexpr WindowLayout frmAbout {"frmAbout", 8760, 5895, detail::aboutTable};

// The About window's decoration outside the controls: the title banner and the fan of cards.
inline constexpr QRect AboutBanner {16, 16, 552, 48};
inline constexpr QRect AboutFan {16, 80, 272, 297};

} // namespace ui::layout
