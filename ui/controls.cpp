#include "controls.h"

#include "artwork.h"
#include "look.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ui {

QString controlName(const layout::Control &control)
{
    QString name = QString::fromLatin1(control.name.data(), qsizetype(control.name.size()));
    if (control.index >= 0)
        name += QStringLiteral("(%1)").arg(control.index);
    return name;
}

namespace {

void place(QWidget *widget, const layout::Control &control)
{
    widget->setObjectName(controlName(control));
    widget->setGeometry(control.rect());
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
}

} // namespace

PictureBox::PictureBox(QWidget *parent, const layout::Control &control)
    : QWidget(parent)
    , index_(control.index)
{
    place(this, control);
    setMouseTracking(true);
    setCursor(pointerCursor(control.kind == layout::Kind::Cell         ? art::Pointer::Place
                                : control.kind == layout::Kind::Button ? art::Pointer::Point
                                                                       : art::Pointer::Open));
}

void PictureBox::setPicture(PictureRef picture)
{
    if (picture == picture_)
        return;
    picture_ = std::move(picture);
    update();
}

void PictureBox::setBackColor(std::uint32_t bgr)
{
    if (bgr == backColor_)
        return;
    backColor_ = bgr;
    update();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), bgrColour(backColor_));
    if (picture_)
        picture_->draw(painter, 0, 0);
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        leftPressed_ = true;
    emit mouseDown(index_, event->button());
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseUp(index_, event->button());
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        if (rect().contains(event->position().toPoint()))
            emit click(index_);
    }
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMove(index_, event->buttons());
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A quick second click is a click like any other.
    mousePressEvent(event);
}

PictureButton::PictureButton(QWidget *parent, const layout::Control &control, PictureRef released,
                             PictureRef pressed)
    : PictureBox(parent, control)
    , released_(std::move(released))
    , pressed_(std::move(pressed))
{
    setPicture(released_);
    connect(this, &PictureBox::mouseDown, this, [this] { setPicture(pressed_); });
    connect(this, &PictureBox::mouseUp, this, [this] { setPicture(released_); });
}

CaptionLabel::CaptionLabel(QWidget *parent, const layout::Control &control)
    : QWidget(parent)
{
    place(this, control);
    setFont(controlFont(control.font));
    setCursor(pointerCursor(art::Pointer::Open));
}

void CaptionLabel::setCaption(const QString &caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    describe();
    update();
}

void CaptionLabel::setSpokenPrefix(const QString &prefix)
{
    spokenPrefix_ = prefix;
    describe();
}

void CaptionLabel::describe()
{
    const QString caption = caption_.trimmed();
    if (spokenPrefix_.isEmpty())
        setAccessibleName(caption);
    else
        setAccessibleName(caption.isEmpty() ? spokenPrefix_
                                            : spokenPrefix_ + QStringLiteral(": ") + caption);
}

void CaptionLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), bgrColour(ControlBackColour));
    painter.setPen(bgrColour(ControlTextColour));
    // A caption wider than its label, in a face broader than the designed one, is narrowed
    // just enough to fit rather than cut off at both ends.
    const int room = width() - 2;
    const int advance = fontMetrics().horizontalAdvance(caption_);
    if (advance > room) {
        QFont narrowed = font();
        narrowed.setStretch(std::max(75, 100 * room / advance));
        painter.setFont(narrowed);
    }
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop, caption_);
}

void CaptionLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}
void CaptionLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}
// A move after a press on the label would otherwise reach the window and drag it.
void CaptionLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void CaptionLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

} // namespace ui
