// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/artwork.h"
#include "ui/text.h"

#include "ui/platform/windowsystem.h"

#include <QEvent>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>

namespace ui {

namespace {

// The program icon, drawn at a size only when that size is first asked for. A platform may ask
// for every size the icon offers as soon as a window is given it (X11 does, to list them all
// for the window manager): the sizes offered are those a desktop commonly shows.
class ProgramIconEngine final : public QIconEngine
{
public:
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        if (side <= 0)
            return {};
        auto found = drawn_.find(side);
        if (found == drawn_.end()) {
            found = drawn_
                        .emplace(side,
                                 renderPixmap(QSize(side, side), 1.0,
                                              [side](QPainter &p) { art::paintIcon(p, side); }))
                        .first;
        }
        if (size.width() == size.height())
            return found->second;
        QPixmap centred(size);
        centred.fill(Qt::transparent);
        QPainter painter(&centred);
        painter.drawPixmap((size.width() - side) / 2, (size.height() - side) / 2, found->second);
        return centred;
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        // The size comes in device-independent pixels.
        QPixmap drawn = pixmap(size * scale, mode, state);
#else
        // The size comes in device pixels already.
        QPixmap drawn = pixmap(size, mode, state);
#endif
        drawn.setDevicePixelRatio(scale);
        return drawn;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), drawn);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
    }

    [[nodiscard]] QIconEngine *clone() const override { return new ProgramIconEngine(*this); }
    [[nodiscard]] QString key() const override { return QStringLiteral("QuintagridProgramIcon"); }

private:
    std::map<int, QPixmap> drawn_; // by side, in pixels
};

} // namespace

PictureRef backgroundPicture(const layout::WindowLayout &window)
{
    static std::map<std::string_view, PictureRef> backgrounds;
    PictureRef &picture = backgrounds[window.name];
    if (!picture) {
        picture = std::make_shared<Picture>(
            qtext(window.name) + QStringLiteral(" background"), window.size(),
            [&window](QPainter &p) { art::paintBackground(p, window); });
    }
    return picture;
}

const QCursor &pointerCursor(art::Pointer pointer)
{
    static std::map<art::Pointer, QCursor> cursors;
    auto found = cursors.find(pointer);
    if (found == cursors.end()) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
        const QPixmap pixmap = renderPixmap(
            art::PointerSize, ratio, [pointer](QPainter &p) { art::paintPointer(p, pointer); });
        const QPoint hot = platform::cursorHotSpot(art::pointerHotSpot(pointer), ratio,
                                                   QGuiApplication::platformName());
        found = cursors.emplace(pointer, QCursor(pixmap, hot.x(), hot.y())).first;
    }
    return found->second;
}

namespace {

// Sets the pointer as the mouse enters; Qt shows a widget's cursor only after the widgets
// entered have had their enter events.
class PointerOnEntry final : public QObject
{
public:
    PointerOnEntry(QWidget *widget, art::Pointer pointer)
        : QObject(widget)
        , pointer_(pointer)
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Enter) {
            static_cast<QWidget *>(watched)->setCursor(pointerCursor(pointer_));
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    art::Pointer pointer_;
};

} // namespace

void setPointerOnEntry(QWidget *widget, art::Pointer pointer)
{
    new PointerOnEntry(widget, pointer);
}

QIcon makeProgramIcon()
{
    return QIcon(new ProgramIconEngine);
}

const QIcon &programIcon()
{
    static const QIcon icon = makeProgramIcon();
    return icon;
}

} // namespace ui
