// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What the tests read of the windows' private state; the product classes let only this in.
#pragma once

#include "ui/controls.h"
#include "ui/forms.h"
#include "ui/frmabout.h"
#include "ui/frmentername.h"
#include "ui/frmhighscores.h"
#include "ui/frmquintagrid.h"

namespace ui {

class TestAccess
{
public:
    static const game::Board &board(const frmQuintagrid &window) { return window.board_; }
    static const game::Dealing &dealing(const frmQuintagrid &window) { return window.dealing_; }
    // The keyboard's cell.
    static int cursor(const frmQuintagrid &window) { return window.cursor_; }
    static void moveCursor(frmQuintagrid &window, int cell) { window.moveCursor(cell); }
    // True from Exit or a close request on.
    static bool ending(const frmQuintagrid &window) { return window.ending_; }

    // The open secondary windows, or null.
    static frmHighScores *highScores(const Forms &forms) { return forms.highScores_; }
    static frmEnterName *enterName(const Forms &forms) { return forms.enterName_; }
    static frmAbout *about(const Forms &forms) { return forms.about_; }

    static std::uint32_t backColor(const PictureBox &box) { return box.backColor_; }
};

} // namespace ui
