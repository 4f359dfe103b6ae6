// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The few window-system operations that the program reaches through this layer, so that tests
// can stand in for them and platform-specific details stay here.
#pragma once

#include <QPoint>

#include <functional>
#include <string_view>

class QByteArray;
class QString;
class QWidget;

namespace platform {

// Answers of askYesNo.
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;

class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // A modal question with the buttons Yes and No, Yes the default, no icon.
    // Returns AnswerYes or AnswerNo (No also when the box is closed another way).
    [[nodiscard]] virtual int askYesNo(QWidget *owner, const QString &text,
                                       const QString &title) = 0;

    // Makes a top-level window belong to its owner window, before it is shown: window
    // managers keep it above the owner, minimise it with it and leave it out of taskbars.
    // weston's X window manager, which would never show it, is not told: there the window is
    // an ordinary one, which the game keeps in front itself.
    // cameForward(activated) runs whenever the owner comes to the front: activated when the
    // user has given it the focus, not activated when it has only been raised.
    virtual void setOwner(QWidget *window, QWidget *owner,
                          std::function<void(bool activated)> cameForward) = 0;

    // Puts an owned window directly above its owner, without taking the focus and never in
    // front of another program's window. Under a window manager, which keeps an owned window
    // above its owner itself, nothing needs asking.
    virtual void bringToFront(QWidget *window) = 0;

    // Moves the keyboard focus to an owned window while its owner has it. On X11 it is handed
    // on directly, and only if the owner still has it: never taken from another program. Under
    // Wayland it is asked for by activation; where the compositor does not hand it on, the
    // window is shown anew while the owner still has the keyboard.
    virtual void giveFocus(QWidget *window) = 0;

    // Ends the program: every window disappears and the event loop quits; no further game
    // step runs (the caller has already stopped the paced waits).
    virtual void endProcess() = 0;
};

class QtWindowSystem final : public WindowSystem
{
public:
    [[nodiscard]] int askYesNo(QWidget *owner, const QString &text, const QString &title) override;
    void setOwner(QWidget *window, QWidget *owner,
                  std::function<void(bool activated)> cameForward) override;
    void bringToFront(QWidget *window) override;
    void giveFocus(QWidget *window) override;
    void endProcess() override;
};

// The hot spot to give QCursor for a pointer drawn at this device pixel ratio on this platform
// (QGuiApplication::platformName()), from the hot spot in logical pixels.
[[nodiscard]] QPoint cursorHotSpot(QPoint hotSpot, qreal devicePixelRatio, const QString &platform);

// Places a top-level window so that it is centred on the screen it is on (the primary screen
// before it is shown).
void centreOnScreen(QWidget *window);

// Hands a press on a window's background to the compositor, which then moves the window with
// the pointer, where the program cannot place its own windows: native Wayland, and X11 windows
// under XWayland, whose own moves a compositor may ignore. False where the program moves its
// windows itself (an X server of its own).
bool startSystemMove(QWidget *window);

// Whether windows are moved by the compositor rather than placed by the program on this
// platform (QGuiApplication::platformName()).
[[nodiscard]] bool compositorMovesWindows(const QString &platform);

// Picks the platform for this session before the application object is created, with the
// other one behind it, so that a platform that cannot connect never ends the program: XWayland
// first under GNOME, where it keeps every window where the game puts it, unless mutter scales
// fractionally; native Wayland first in every other Wayland session. A non-empty
// QT_QPA_PLATFORM is the user's choice and stays.
void choosePlatform();

// The decision behind it, from the environment's values (null when unset) and, asked only
// under GNOME, mutter's experimental features as gsettings prints them: the value for
// QT_QPA_PLATFORM, platforms separated by ';', first choice first; empty to leave it alone.
[[nodiscard]] QByteArray platformChoice(const char *qpaPlatform, const char *sessionType,
                                        const char *waylandDisplay, const char *x11Display,
                                        const char *currentDesktop,
                                        const std::function<QByteArray()> &mutterFeatures);

// Whether mutter, with these experimental features, scales the desktop fractionally
// ("scale-monitor-framebuffer"). It then draws X programs at 1x and stretches them, or with
// "xwayland-native-scaling" (mutter 47 and later) has them draw at the next whole scale and
// shrinks them, while a Wayland program draws at the display's own scale.
[[nodiscard]] bool mutterScalesFractionally(std::string_view experimentalFeatures);

// A GNOME setting as `gsettings get` prints it ("@as []", "['a', 'b']"); empty when gsettings
// is missing, fails or does not answer within a second.
[[nodiscard]] QByteArray gnomeSetting(const char *schema, const char *key);

} // namespace platform
