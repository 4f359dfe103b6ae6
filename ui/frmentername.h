// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Asks the player who made the new high score for a name.
#pragma once

#include "ui/controls.h"
#include "ui/framelesswindow.h"

class QLineEdit;

namespace ui {

class frmEnterName final : public SecondaryWindow
{
    Q_OBJECT

public:
    frmEnterName(Shared &shared, Forms &forms);

    static constexpr int EnterKeyAscii = 13; // the character code Enter types

    void Form_Load() { }
    // Every key reaches the window before the name box, as its character code; Enter accepts
    // the name. Returns true when the key was used up.
    bool Form_KeyPress(int KeyAscii);
    // OK: stores the typed name, shows the list, closes.
    void Command2_Click();

    CaptionLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    PictureButton *Command2 = nullptr;

protected:
    // Closed by the desktop too: the name as typed is taken, so the list still follows and the
    // main window is enabled again from there.
    void ok() override { Command2_Click(); }
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace ui
