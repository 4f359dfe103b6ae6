// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "frmquintagrid.h"

#include "highscores/highscores.h"

namespace ui {

Application::Application()
    : platform_(ticks_, pump_, random_, sound_, windows_)
    , forms_(platform_, module1_)
{ }

void Application::start()
{
    frmQuintagrid &main = forms_.mainWindow();
    main.Form_Load();
    platform::centreOnScreen(&main);
    main.show();
    // Asked for, so that the keyboard reaches Begin also where no window manager gives it.
    main.activateWindow();
}

void Application::closeAsRequested()
{
    // The main window's own close request: it saves, closes the other windows and ends,
    // also from inside the shuffle, the count-up or the delete question.
    forms_.mainWindow().close();
}

void Application::saveHighScores()
{
    highscores::savehighscores(module1_.table);
}

} // namespace ui
