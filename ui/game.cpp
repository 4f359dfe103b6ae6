#include "game.h"

#include "frmquintagrid.h"

namespace ui {

Game::Game()
    : platform_(ticks_, pump_, random_, sound_, windows_)
    , forms_(platform_, module1_)
{ }

void Game::start()
{
    frmQuintagrid &main = forms_.mainWindow();
    main.Form_Load();
    platform::centreOnScreen(&main);
    main.show();
    // Asked for, so that the keyboard reaches Begin also where no window manager gives it.
    main.activateWindow();
}

} // namespace ui
