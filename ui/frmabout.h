// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What the program is and how to play it.
#pragma once

#include "ui/controls.h"
#include "ui/framelesswindow.h"

class QPlainTextEdit;

namespace ui {

class frmAbout final : public SecondaryWindow
{
    Q_OBJECT

public:
    frmAbout(Shared &shared, Forms &forms);

    void Form_Load() { }
    // OK: enables the main window and closes.
    void Picture1_Click();

    QPlainTextEdit *Text1 = nullptr;
    PictureButton *Picture1 = nullptr;

protected:
    void ok() override { Picture1_Click(); }
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The About text, line by line.
[[nodiscard]] QString aboutText();

} // namespace ui
