// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/rig.h"

#include <QDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace support {

Rig::Rig(std::uint64_t seed)
    : random(seed)
    , platform(clock, clock, random, sound, windows)
    , shared(platform)
    , previousDirectory_(QDir::currentPath())
{
    QDir::setCurrent(directory.path());
    forms = std::make_unique<ui::Forms>(shared);
    main().Form_Load();
    main().show();
    if (!QTest::qWaitForWindowExposed(&main()))
        qWarning("main window not exposed");
}

Rig::~Rig()
{
    forms.reset();
    QDir::setCurrent(previousDirectory_);
}

void Rig::click(QWidget *control)
{
    QWidget *window = control->window();
    const QPoint at = control->mapTo(window, control->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

void Rig::hover(QWidget *control)
{
    QWidget *window = control->window();
    hover(window, control->mapTo(window, control->rect().center()));
}

void Rig::hover(QWidget *window, QPoint at)
{
    QTest::mouseMove(window->windowHandle(), at);
}

std::vector<int> Rig::acceptingCells()
{
    std::vector<int> cells;
    for (int i = 0; i < game::CellCount; ++i) {
        if (board().accepts(i))
            cells.push_back(i);
    }
    return cells;
}

void Rig::fillBoard()
{
    for (std::vector<int> cells = acceptingCells(); !cells.empty(); cells = acceptingCells())
        click(main().picPlace[cells.front()]);
}

} // namespace support
