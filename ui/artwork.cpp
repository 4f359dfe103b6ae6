#include "artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <cmath>
#include <map>

namespace ui {

PictureRef backgroundPicture(const layout::WindowLayout &window)
{
    static std::map<std::string_view, PictureRef> backgrounds;
    PictureRef &picture = backgrounds[window.name];
    if (!picture) {
        picture = std::make_shared<Picture>(
            QString::fromLatin1(window.name.data(), qsizetype(window.name.size()))
                + QStringLiteral(" background"),
            window.size(), [&window](QPainter &p) { art::paintBackground(p, window); });
    }
    return picture;
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

const QCursor &pointerCursor(art::Pointer pointer)
{
    static std::map<art::Pointer, QCursor> cursors;
    auto found = cursors.find(pointer);
    if (found == cursors.end()) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
        const QPixmap pixmap = renderPixmap(art::PointerSize, ratio,
                                            [pointer](QPainter &p) { art::paintPointer(p, pointer); });
        const QPoint hot =
            cursorHotSpot(art::pointerHotSpot(pointer), ratio, QGuiApplication::platformName());
        found = cursors.emplace(pointer, QCursor(pixmap, hot.x(), hot.y())).first;
    }
    return found->second;
}

const QIcon &programIcon()
{
    static const QIcon icon = [] {
        QIcon built;
        for (int side : {16, 24, 32, 48, 64, 128, 256})
            built.addPixmap(renderPixmap(QSize(side, side), 1.0,
                                         [side](QPainter &p) { art::paintIcon(p, side); }));
        return built;
    }();
    return icon;
}

} // namespace ui
