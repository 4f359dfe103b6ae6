// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// How long the game takes from being started to a painted board, and how much memory it needs
// by then (see firstpaint.h). Run by bench/report.py under an X server, in turn with bench_bare.
#include "bench/firstpaint.h"

#include "ui/application.h"
#include "ui/frmquintagrid.h"

// The game's own start, with the first paint of its main window watched.
int main(int argc, char *argv[])
{
    bench::FirstPaint firstPaint;
    const int status = ui::runProgram(argc, argv, [&firstPaint](ui::frmQuintagrid &window) {
        window.installEventFilter(&firstPaint);
    });
    if (status != 0 || firstPaint.at == 0)
        return 1; // another game runs in this directory, or the window was never painted
    firstPaint.print();
    return 0;
}
