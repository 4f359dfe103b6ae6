// The whole program on the real platform operations: what `main` starts.
#pragma once

#include "forms.h"

#include "highscores/highscores.h"
#include "platform/platform.h"
#include "platform/backgroundsoundplayer.h"

namespace ui {

class frmQuintagrid;

// Needs the application object to exist first.
class Game
{
public:
    Game();

    // Reads the high scores, seeds the random source, clears the board, and shows the main
    // window centred on the screen.
    void start();

    [[nodiscard]] frmQuintagrid &mainWindow() { return forms_.mainWindow(); }

private:
    platform::SteadyTickCounter ticks_;
    platform::QtEventPump pump_;
    platform::SeededRandom random_;
    platform::BackgroundSoundPlayer sound_;
    platform::QtWindowSystem windows_;
    platform::Platform platform_;
    highscores::Module1 module1_;
    Forms forms_;
};

} // namespace ui
