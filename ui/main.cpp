// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Quintagrid: a five-by-five poker patience.
#include "ui/application.h"

int main(int argc, char *argv[])
{
    return ui::runProgram(argc, argv);
}
