// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on the real platform operations: what `main` starts.
#pragma once

#include "ui/forms.h"
#include "ui/shared.h"

#include "ui/platform/backgroundsoundplayer.h"
#include "ui/platform/platform.h"

#include <functional>

namespace ui {

class frmQuintagrid;

// Needs the application object to exist first.
class Application
{
public:
    Application();

    // Reads the high scores, seeds the random source, clears the board, and shows the main
    // window centred on the screen.
    void start();

    [[nodiscard]] frmQuintagrid &mainWindow() { return forms_.mainWindow(); }

    // Ends the game as a close request from outside does, whatever it is doing: for the
    // signals that ask the program to end.
    void closeAsRequested();

    // Writes the high-score table now, for a desktop session that is about to end.
    void saveHighScores();

private:
    platform::SteadyTickCounter ticks_;
    platform::QtEventPump pump_;
    platform::SeededRandom random_;
    platform::BackgroundSoundPlayer sound_;
    platform::QtWindowSystem windows_;
    platform::Platform platform_;
    Shared shared_;
    Forms forms_;
};

// The program from its start to its end, as `main` runs it; returns the exit status. A start in
// a directory where a game already runs only brings that game to the front. `beforeStart` is
// given the main window before it is first shown.
int runProgram(int argc, char *argv[],
               const std::function<void(frmQuintagrid &)> &beforeStart = {});

} // namespace ui
