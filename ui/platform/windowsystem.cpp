#include "windowsystem.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace platform {

int QtWindowSystem::askYesNo(QWidget *owner, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes ? AnswerYes : AnswerNo;
}

void QtWindowSystem::bringToFront(QWidget *window)
{
    // Only a request: it dispatches no events, so no other handler can run inside a caller.
    // The request reaches the X server when the event loop next flushes, which it does before
    // it waits; the end-to-end tests check the stacking with the pointer still.
    window->raise();
}

void QtWindowSystem::endProcess()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
}

QPoint cursorHotSpot(QPoint hotSpot, qreal devicePixelRatio, const QString &platform)
{
    // QCursor takes the hot spot in device-independent pixels, but the X11 back end hands it
    // to the server unchanged beside the device-pixel image; there it has to name the image's
    // own pixel: the one at the centre of the hot spot's logical pixel.
    if (platform != QLatin1String("xcb"))
        return hotSpot;
    return {int(std::floor((hotSpot.x() + 0.5) * devicePixelRatio)),
            int(std::floor((hotSpot.y() + 0.5) * devicePixelRatio))};
}

void centreOnScreen(QWidget *window)
{
    QScreen *screen =
        window->screen() != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - window->height()) / 2);
}

bool shouldPreferX11(const char *qpaPlatform, const char *sessionType, const char *waylandDisplay,
                     const char *x11Display)
{
    const auto set = [](const char *value) { return value != nullptr && *value != '\0'; };
    if (qpaPlatform != nullptr)
        return false; // the user's choice stands
    const bool onWayland =
        (set(sessionType) && std::string_view(sessionType) == "wayland") || set(waylandDisplay);
    return onWayland && set(x11Display);
}

void preferX11WhereAvailable()
{
    if (shouldPreferX11(std::getenv("QT_QPA_PLATFORM"), std::getenv("XDG_SESSION_TYPE"),
                        std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY")))
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

} // namespace platform
