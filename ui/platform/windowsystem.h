// The few window-system operations that the program reaches through this layer, so that tests
// can stand in for them and platform-specific details stay here.
#pragma once

#include <QPoint>

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

    // Moves a window to the front of the stacking order without taking the focus.
    virtual void bringToFront(QWidget *window) = 0;

    // Ends the program: every window disappears and the event loop quits; no further game
    // step runs (the caller has already stopped the paced waits).
    virtual void endProcess() = 0;
};

class QtWindowSystem final : public WindowSystem
{
public:
    [[nodiscard]] int askYesNo(QWidget *owner, const QString &text, const QString &title) override;
    void bringToFront(QWidget *window) override;
    void endProcess() override;
};

// The hot spot to give QCursor for a pointer drawn at this device pixel ratio on this platform
// (QGuiApplication::platformName()), from the hot spot in logical pixels.
[[nodiscard]] QPoint cursorHotSpot(QPoint hotSpot, qreal devicePixelRatio, const QString &platform);

// Places a top-level window so that it is centred on the screen it is on (the primary screen
// before it is shown).
void centreOnScreen(QWidget *window);

// Under Wayland the program cannot place or raise its own windows, which dragging and
// keeping a window in front need; when XWayland is there and the user has not chosen a
// platform, run on it. Call before the application object is created.
void preferX11WhereAvailable();

// The decision behind it, from the environment's values (null when unset).
[[nodiscard]] bool shouldPreferX11(const char *qpaPlatform, const char *sessionType,
                                   const char *waylandDisplay, const char *x11Display);

} // namespace platform
