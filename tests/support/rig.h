// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program with fake platform operations, in a fresh current directory.
#pragma once

#include "tests/support/fakes.h"
#include "tests/support/testaccess.h"

#include "highscores/highscores.h"
#include "ui/forms.h"
#include "ui/frmquintagrid.h"
#include "ui/platform/platform.h"
#include "ui/shared.h"

#include <QPoint>
#include <QTemporaryDir>

#include <memory>

class QWidget;

namespace support {

class Rig
{
public:
    // Loads and shows the main window in a new empty directory, deal pinned by seed.
    explicit Rig(std::uint64_t seed = 1);
    ~Rig();

    FakeClock clock;
    RecordingSoundPlayer sound;
    PinnedRandom random;
    FakeWindowSystem windows;
    platform::Platform platform;
    ui::Shared shared;
    highscores::Module1 &module1 = shared.module1;
    QTemporaryDir directory;
    std::unique_ptr<ui::Forms> forms;

    [[nodiscard]] ui::frmQuintagrid &main() { return forms->mainWindow(); }

    // The main window's game state, and the open secondary windows (null when closed).
    [[nodiscard]] const game::Board &board() { return ui::TestAccess::board(main()); }
    [[nodiscard]] const game::Dealing &dealing() { return ui::TestAccess::dealing(main()); }
    [[nodiscard]] int cursor() { return ui::TestAccess::cursor(main()); }
    void moveCursor(int cell) { ui::TestAccess::moveCursor(main(), cell); }
    [[nodiscard]] bool ending() { return ui::TestAccess::ending(main()); }
    [[nodiscard]] ui::frmHighScores *highScores() { return ui::TestAccess::highScores(*forms); }
    [[nodiscard]] ui::frmEnterName *enterName() { return ui::TestAccess::enterName(*forms); }
    [[nodiscard]] ui::frmAbout *about() { return ui::TestAccess::about(*forms); }

    // A real left click through the window system at the centre of a control.
    static void click(QWidget *control);
    // The pointer moves onto a control (or to a point of a window).
    static void hover(QWidget *control);
    static void hover(QWidget *window, QPoint at);

    // Places every remaining card on the first cell that accepts it.
    void fillBoard();
    // The cell indexes that accept the offered card now.
    [[nodiscard]] std::vector<int> acceptingCells();

private:
    QString previousDirectory_;
};

} // namespace support
