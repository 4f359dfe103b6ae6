// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "frmcards.h"
#include "frmquintagrid.h"

#include "highscores/highscores.h"

namespace ui {

Application::Application()
    : platform_(ticks_, pump_, random_, sound_, windows_)
    , shared_(platform_)
    , forms_(shared_)
{ }

void Application::start()
{
    frmQuintagrid &main = forms_.mainWindow();
    main.Form_Load();
    forms_.cards().drawCardsAfterFirstPaint(&main);
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
    highscores::savehighscores(shared_.module1.table);
}

} // namespace ui
