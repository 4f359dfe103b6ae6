#include "windowsystem.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

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
    window->raise();
    // Under X11 a raise request can sit in the connection's buffer until some other traffic
    // flushes it; with no pointer activity the window would then stay behind. Push it out.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        QGuiApplication::sync();
}

void QtWindowSystem::endProcess()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(0);
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

void preferX11WhereAvailable()
{
    if (std::getenv("QT_QPA_PLATFORM") != nullptr)
        return;
    const char *session = std::getenv("XDG_SESSION_TYPE");
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    const char *x11 = std::getenv("DISPLAY");
    const bool onWayland = (session != nullptr && std::string_view(session) == "wayland")
        || (wayland != nullptr && *wayland != '\0');
    if (onWayland && x11 != nullptr && *x11 != '\0')
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
}

} // namespace platform
