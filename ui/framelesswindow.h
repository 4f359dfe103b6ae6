// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// What every visible window provides for itself, having no frame: its background picture, the
// program icon, moving by dragging the background, and, for the secondary windows, staying in
// front.
#pragma once

#include "ui/layout.h"
#include "ui/picture.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>

namespace ui {

class Forms;
struct Shared;

class FramelessWindow : public QWidget
{
    Q_OBJECT

public:
    // The grab point: where the last press on the background was, in twips.
    std::int16_t dragx = 0;
    std::int16_t dragy = 0;

    // The window's position on the screen, in twips.
    [[nodiscard]] float leftTwips() const;
    [[nodiscard]] float topTwips() const;
    void setLeftTwips(float left);
    void setTopTwips(float top);

    // A press on the background with any button: remember where, nothing else.
    void Form_MouseDown(Qt::MouseButton button, float x, float y);
    // The pointer moved over the background, or anywhere after a press on it. With the left
    // button alone held, the window follows the pointer. x, y: twips from the window's corner.
    virtual void Form_MouseMove(Qt::MouseButtons buttons, float x, float y);

protected:
    FramelessWindow(const layout::WindowLayout &window, Qt::WindowFlags kind);

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    PictureRef background_;
    bool movedByCompositor_ = false; // since the last press: the window follows it alone
    bool iconGiven_ = false;
};

// A window opened over the disabled main window, which owns it. It stays in front of the main
// window, never of other programs: when the main window comes to the front, it comes back in
// front of it at once, and with the keyboard focus when the user has picked the main window.
// Timer1 repeats that once a second while the window is open; paused, it pauses it all.
// A close request from the desktop does what the window's OK does, so that the main window is
// never left disabled with nothing to close.
class SecondaryWindow : public FramelessWindow
{
    Q_OBJECT

public:
    static constexpr int KeepInFrontInterval = 1000; // ms

    QTimer Timer1;

    void Timer1_Timer();
    // The owner, the main window, has come to the front; activated: given the focus.
    void ownerCameForward(bool activated);

protected:
    SecondaryWindow(const layout::WindowLayout &window, Shared &shared, Forms &forms);

    // What the window's OK does.
    virtual void ok() = 0;
    // Enables the main window again and unloads this window.
    void backToMainWindow();

    void closeEvent(QCloseEvent *event) override;

    Shared &shared_;
    Forms &forms_;
};

} // namespace ui
