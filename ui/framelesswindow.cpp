// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/framelesswindow.h"

#include "ui/artwork.h"
#include "ui/forms.h"
#include "ui/frmquintagrid.h"
#include "ui/shared.h"
#include "ui/text.h"

#include "ui/platform/platform.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace ui {

namespace {

constexpr float twips(qreal pixels)
{
    return static_cast<float>(pixels * layout::TwipsPerPixel);
}

} // namespace

FramelessWindow::FramelessWindow(const layout::WindowLayout &window, Qt::WindowFlags kind)
    : QWidget(nullptr, kind | Qt::FramelessWindowHint)
    , background_(backgroundPicture(window))
{
    background_->drawAhead(devicePixelRatioF());
    setObjectName(qtext(window.name));
    setWindowTitle(QStringLiteral("Quintagrid"));
    setFixedSize(window.size());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPointerOnEntry(this, art::Pointer::Grab);
}

float FramelessWindow::leftTwips() const
{
    return twips(x());
}
float FramelessWindow::topTwips() const
{
    return twips(y());
}

void FramelessWindow::setLeftTwips(float left)
{
    move(int(std::lround(left / layout::TwipsPerPixel)), y());
}

void FramelessWindow::setTopTwips(float top)
{
    move(x(), int(std::lround(top / layout::TwipsPerPixel)));
}

void FramelessWindow::Form_MouseDown(Qt::MouseButton, float x, float y)
{
    // Round to nearest, a half to the even neighbour (the default rounding mode).
    dragx = static_cast<std::int16_t>(std::nearbyint(x));
    dragy = static_cast<std::int16_t>(std::nearbyint(y));
}

void FramelessWindow::Form_MouseMove(Qt::MouseButtons buttons, float x, float y)
{
    if (buttons != Qt::LeftButton)
        return;
    const float left = leftTwips();
    setLeftTwips(left - dragx + x);
    const float top = topTwips();
    setTopTwips(top - dragy + y);
}

void FramelessWindow::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    background_->draw(painter, event->region());
    // The icon is given just after the first paint: the window system may have every size of
    // it drawn at once, and that must not hold back the window's first picture.
    if (!iconGiven_) {
        iconGiven_ = true;
        QTimer::singleShot(0, this, [this] { setWindowIcon(programIcon()); });
    }
}

void FramelessWindow::mousePressEvent(QMouseEvent *event)
{
    const QPointF at = event->globalPosition() - QPointF(pos());
    Form_MouseDown(event->button(), twips(at.x()), twips(at.y()));
    // Where the program cannot place its windows, the compositor moves it instead.
    movedByCompositor_ = event->button() == Qt::LeftButton && platform::startSystemMove(this);
}

void FramelessWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Measured from the pointer's place on the screen, not from the event's window-relative
    // position, which lags behind while the window moves and would make it jitter.
    if (movedByCompositor_)
        return;
    const QPointF at = event->globalPosition() - QPointF(pos());
    Form_MouseMove(event->buttons(), twips(at.x()), twips(at.y()));
}

SecondaryWindow::SecondaryWindow(const layout::WindowLayout &window, Shared &shared, Forms &forms)
    : FramelessWindow(window, Qt::Tool)
    , shared_(shared)
    , forms_(forms)
{
    Timer1.setInterval(KeepInFrontInterval);
    connect(&Timer1, &QTimer::timeout, this, &SecondaryWindow::Timer1_Timer);
    Timer1.start();
}

void SecondaryWindow::Timer1_Timer()
{
    shared_.platform.windows.bringToFront(this);
}

void SecondaryWindow::ownerCameForward(bool activated)
{
    if (!Timer1.isActive())
        return; // paused for a question, or closing
    Timer1_Timer();
    if (activated)
        shared_.platform.windows.giveFocus(this);
}

void SecondaryWindow::backToMainWindow()
{
    forms_.mainWindow().setEnabled(true);
    forms_.unloadWindow(this);
}

void SecondaryWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!forms_.exiting())
        ok();
}

} // namespace ui
