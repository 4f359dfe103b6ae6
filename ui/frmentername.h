// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Asks the player who made the new high score for a name.
#pragma once

#include "controls.h"
#include "framelesswindow.h"

class QLineEdit;

namespace ui {

class Forms;

class frmEnterName final : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit frmEnterName(Forms &forms);

    void Form_Load() { }
    // Every key reaches the window before the name box; Enter (13) accepts the name.
    // Returns true when the key was used up.
    bool Form_KeyPress(int KeyAscii);
    // OK: stores the typed name, shows the list, closes.
    void Command2_Click();

    CaptionLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    PictureButton *Command2 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Forms &forms_;
};

} // namespace ui
