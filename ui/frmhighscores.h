// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score list, best first, with its close and clear buttons.
#pragma once

#include "ui/controls.h"
#include "ui/framelesswindow.h"

#include <array>

namespace ui {

class frmHighScores final : public SecondaryWindow
{
    Q_OBJECT

public:
    frmHighScores(Shared &shared, Forms &forms);
    ~frmHighScores() override;

    // Sorts the table, best first, and shows it.
    void Form_Load();
    // OK: enables the main window and closes.
    void Command1_Click();
    // Clear: asks, and on anything but No puts the default list in the table, the window and
    // the file.
    void Command2_Click();
    // After a name entry: the entry of this name and score is said to be new and takes the
    // focus, so that a screen reader says its place.
    void showNewEntry(const QString &name, int score);

    std::array<CaptionLabel *, 10> nimet {};
    std::array<CaptionLabel *, 10> scoret {};
    PictureButton *Command1 = nullptr;
    PictureButton *Command2 = nullptr;

protected:
    void ok() override { Command1_Click(); }
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showEntries();
    // Marks the entry the arrow keys are on, while the keyboard's place is shown.
    void showKeyboardEntry();

    int newEntry_ = 0;        // the place of the entry just made, 1..10, or 0
    bool arrowsUsed_ = false; // the arrow keys have gone through the entries
};

} // namespace ui
