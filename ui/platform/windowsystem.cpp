// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/windowsystem.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

namespace platform {

namespace {

bool onX11()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// X11 through a Wayland compositor's X server: one that offers the XWAYLAND extension
// (Xwayland 23.1 and later, which name their outputs after the compositor's) or, before that,
// names its outputs XWAYLAND0, XWAYLAND1...
bool onXWayland()
{
    static const bool xwayland = [] {
        auto *x11 =
            onX11() ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (x11 == nullptr)
            return false;
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (screen != nullptr && screen->name().startsWith(QLatin1String("XWAYLAND")))
            return true;
        constexpr std::string_view extension = "XWAYLAND";
        xcb_connection_t *connection = x11->connection();
        const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
            xcb_query_extension_reply(
                connection,
                xcb_query_extension(connection, std::uint16_t(extension.size()), extension.data()),
                nullptr),
            &std::free);
        return reply && reply->present;
    }();
    return xwayland;
}

// The name the X window manager gives itself (_NET_SUPPORTING_WM_CHECK), empty without one.
QByteArray windowManagerName(xcb_connection_t *connection)
{
    const auto atom = [connection](std::string_view name) -> xcb_atom_t {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(
                connection, xcb_intern_atom(connection, 0, std::uint16_t(name.size()), name.data()),
                nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    const auto property = [connection](xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(
                connection, xcb_get_property(connection, 0, window, name, type, 0, 64), nullptr),
            &std::free);
        if (!reply)
            return QByteArray();
        return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                          xcb_get_property_value_length(reply.get()));
    };
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const QByteArray check = property(root, atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() != sizeof(xcb_window_t))
        return {};
    xcb_window_t wm = 0;
    std::memcpy(&wm, check.constData(), sizeof wm);
    return property(wm, atom("_NET_WM_NAME"), atom("UTF8_STRING"));
}

// Whether weston runs the X server: its X window manager ("Weston WM", weston 14) never shows
// a window that names its owner (WM_TRANSIENT_FOR), and puts no window where the program asks
// but one without an owner.
bool westonManagesWindows(xcb_connection_t *connection)
{
    static const bool weston = windowManagerName(connection) == "Weston WM";
    return weston;
}

// Whether the compositor leaves an owned window behind its owner once the owner is clicked,
// and ignores a request to activate it: wlroots compositors such as sway (their X window
// manager calls itself "wlroots wm"; natively they mark the window urgent instead), and weston,
// where the game's windows have no owner for the X window manager.
bool ownedWindowsFallBehind(xcb_connection_t *connection)
{
    static const bool wlroots = windowManagerName(connection).startsWith("wlroots");
    return wlroots || westonManagesWindows(connection);
}

// Whether an owned window has to be an ordinary one for the X window manager, with its owner
// known only to the game.
bool ownerHiddenFromWindowManager()
{
    auto *x11 = onX11() ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr && onXWayland() && westonManagesWindows(x11->connection());
}

// Unmaps and maps the window again: a compositor gives a window that appears in the active
// workspace the focus and puts it in front. Only for a window whose owner has the keyboard.
// weston maps an X window again 32 pixels up and left of where it was, but a new one where it
// is created: there it comes back as a new X window, in the place it had.
void showAnew(QWidget *window, bool newNativeWindow)
{
    window->hide();
    if (newNativeWindow)
        window->windowHandle()->destroy();
    window->show();
}

// How long a compositor has to hand the focus to an owned window that asked for it.
constexpr int ActivationGrace = 250; // ms

// Tells a window's callback when its owner comes to the front: when the user activates the
// owner (a click on it, its taskbar entry, the window manager's switcher) and, on X11, when
// the owner is restacked. Lives as long as the window, as its child.
class OwnerWatch final : public QObject, public QAbstractNativeEventFilter
{
public:
    OwnerWatch(QWidget *window, QWidget *owner, std::function<void(bool)> cameForward)
        : QObject(window)
        , owner_(owner->windowHandle())
        , ownerId_(static_cast<xcb_window_t>(owner->winId()))
        , cameForward_(std::move(cameForward))
    {
        connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *focus) {
            if (focus != nullptr && focus == owner_)
                cameForward_(true);
        });
        if (onX11())
            QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        // Only what the server itself reports: a window manager's own notices come with the
        // sent-by-a-client bit set and tell of moves, not of restacking.
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if (event->response_type != XCB_CONFIGURE_NOTIFY)
            return false;
        const auto *configure = static_cast<const xcb_configure_notify_event_t *>(message);
        if (configure->window == ownerId_ && configure->event == ownerId_)
            QMetaObject::invokeMethod(this, [this] { cameForward_(false); }, Qt::QueuedConnection);
        return false;
    }

private:
    QPointer<QWindow> owner_;
    xcb_window_t ownerId_;
    std::function<void(bool)> cameForward_;
};

void stackDirectlyAbove(WId window, WId owner)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr)
        return;
    xcb_connection_t *connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window);
    const auto ownerId = static_cast<xcb_window_t>(owner);
    // The first screen's stack, bottom first. Both windows are in it only when no window
    // manager has framed them; a framed window is kept above its owner by the window manager.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, root), nullptr), &std::free);
    if (!tree)
        return;
    const xcb_window_t *begin = xcb_query_tree_children(tree.get());
    const xcb_window_t *end = begin + xcb_query_tree_children_length(tree.get());
    const xcb_window_t *own = std::find(begin, end, id);
    const xcb_window_t *below = std::find(begin, end, ownerId);
    if (own == end || below == end || own == below + 1)
        return; // framed, or already in place
    const std::uint32_t values[] = {ownerId, XCB_STACK_MODE_ABOVE};
    xcb_configure_window(connection, id, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
    xcb_flush(connection);
}

} // namespace

int QtWindowSystem::askYesNo(QWidget *owner, const QString &text, const QString &title)
{
    // Without an owner where the X window manager would not show a window that has one.
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No,
                    ownerHiddenFromWindowManager() ? nullptr : owner);
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes ? AnswerYes : AnswerNo;
}

void QtWindowSystem::setOwner(QWidget *window, QWidget *owner,
                              std::function<void(bool activated)> cameForward)
{
    // Qt names the owner of a tool window to the X window manager; an ordinary window does not.
    if (ownerHiddenFromWindowManager())
        window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    window->winId(); // the native windows, so that the ownership is there from the first map
    owner->winId();
    window->windowHandle()->setTransientParent(owner->windowHandle());
    new OwnerWatch(window, owner, std::move(cameForward));
}

void QtWindowSystem::bringToFront(QWidget *window)
{
    // Only requests: they dispatch no events, so no other handler can run inside a caller.
    QWindow *handle = window->windowHandle();
    QWindow *owner = handle != nullptr ? handle->transientParent() : nullptr;
    if (owner == nullptr)
        return;
    if (onX11())
        stackDirectlyAbove(handle->winId(), owner->winId());
    else
        window->raise(); // elsewhere a raise is all there is, and a compositor judges it
}

void QtWindowSystem::giveFocus(QWidget *window)
{
    auto *x11 = onX11() ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    QWindow *owner =
        window->windowHandle() != nullptr ? window->windowHandle()->transientParent() : nullptr;
    if (x11 == nullptr || owner == nullptr) {
        window->activateWindow();
        if (owner != nullptr && compositorMovesWindows(QGuiApplication::platformName()))
            // Activation is a request, which a compositor may turn into an urgency hint or
            // not offer at all; if the owner, just picked by the user, still has the keyboard,
            // the window is shown anew, and so comes in front with it.
            QTimer::singleShot(ActivationGrace, window, [window, owner = QPointer<QWindow>(owner)] {
                if (owner && QGuiApplication::focusWindow() == owner && window->isVisible())
                    showAnew(window, false);
            });
        return;
    }
    if (onXWayland() && ownedWindowsFallBehind(x11->connection())) {
        if (QGuiApplication::focusWindow() == owner)
            showAnew(window, westonManagesWindows(x11->connection()));
        return;
    }
    // Handed on directly rather than asked of the window manager, which may refuse a program
    // that passes the focus among its own windows; Qt follows when the focus arrives. With the
    // server held, only if the owner still has the focus: never taken from another program.
    xcb_connection_t *connection = x11->connection();
    xcb_grab_server(connection);
    const std::unique_ptr<xcb_get_input_focus_reply_t, decltype(&std::free)> focus(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr),
        &std::free);
    if (focus && focus->focus == static_cast<xcb_window_t>(owner->winId()))
        xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT,
                            static_cast<xcb_window_t>(window->winId()), XCB_CURRENT_TIME);
    xcb_ungrab_server(connection);
    xcb_flush(connection);
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

bool compositorMovesWindows(const QString &platform)
{
    return platform.startsWith(QLatin1String("wayland"));
}

bool startSystemMove(QWidget *window)
{
    if (!compositorMovesWindows(QGuiApplication::platformName()) && !onXWayland())
        return false;
    QWindow *handle = window->windowHandle();
    return handle != nullptr && handle->startSystemMove();
}

bool mutterScalesFractionally(std::string_view experimentalFeatures)
{
    return experimentalFeatures.find("'scale-monitor-framebuffer'") != std::string_view::npos;
}

QByteArray platformChoice(const char *qpaPlatform, const char *sessionType,
                          const char *waylandDisplay, const char *x11Display,
                          const char *currentDesktop,
                          const std::function<QByteArray()> &mutterFeatures)
{
    const auto set = [](const char *value) { return value != nullptr && *value != '\0'; };
    if (set(qpaPlatform))
        return {}; // the user's choice stands; Qt takes an empty value as unset
    const bool onWayland =
        (set(sessionType) && std::string_view(sessionType) == "wayland") || set(waylandDisplay);
    if (!onWayland)
        return {}; // X11 as always
    if (!set(x11Display))
        return "wayland";
    // XDG_CURRENT_DESKTOP is a list such as "ubuntu:GNOME".
    const bool gnome = set(currentDesktop)
        && QByteArray(currentDesktop).split(':').contains(QByteArrayLiteral("GNOME"));
    if (gnome && !mutterScalesFractionally(mutterFeatures().toStdString()))
        return "xcb;wayland";
    return "wayland;xcb";
}

QByteArray gnomeSetting(const char *schema, const char *key)
{
    // gsettings answers at once from the settings database; a second is ample, and without an
    // answer the setting counts as unset.
    constexpr std::chrono::seconds patience {1};
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char *const arguments[] = {"gsettings", "get", schema, key, nullptr};
    pid_t child = -1;
    const bool started = ::posix_spawnp(&child, "gsettings", &actions, nullptr,
                                        const_cast<char *const *>(arguments), environ)
        == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    QByteArray answer;
    if (started) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        pollfd readable {pipeEnds[0], POLLIN, 0};
        bool ended = false;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || ::poll(&readable, 1, int(left.count())) <= 0)
                break;
            char buffer[512];
            const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
            if (got > 0) {
                answer.append(buffer, got);
                continue;
            }
            ended = got == 0;
            if (ended || errno != EINTR)
                break;
        }
        if (!ended)
            ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            answer.clear();
    }
    ::close(pipeEnds[0]);
    return answer;
}

void choosePlatform()
{
    const QByteArray choice = platformChoice(
        std::getenv("QT_QPA_PLATFORM"), std::getenv("XDG_SESSION_TYPE"),
        std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"), std::getenv("XDG_CURRENT_DESKTOP"),
        [] { return gnomeSetting("org.gnome.mutter", "experimental-features"); });
    if (!choice.isEmpty())
        ::setenv("QT_QPA_PLATFORM", choice.constData(), 1);
}

} // namespace platform
