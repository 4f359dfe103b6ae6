// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls.h"

#include "ui/artwork.h"
#include "ui/look.h"
#include "ui/text.h"

#include "ui/platform/readerkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ui {

QString controlName(const layout::Control &control)
{
    QString name = qtext(control.name);
    if (control.index >= 0)
        name += QStringLiteral("(%1)").arg(control.index);
    return name;
}

namespace {

// Space, Return or keypad Enter, unmodified. A screen reader takes keys for itself, and a
// press it answers late for still reaches the program; so on a cell keypad Enter (the reader's
// where-am-I) is left out, and a press while the reader's modifier is held does nothing.
bool isActivationKey(const QKeyEvent *event, bool cell = false)
{
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier)
        return false;
    return event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
        || (event->key() == Qt::Key_Enter && !cell);
}

bool isActivationPress(const QKeyEvent *event, bool cell = false)
{
    return isActivationKey(event, cell) && !KeyboardUse::instance().withReaderModifier(event);
}

bool isReaderModifier(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Insert || event->key() == Qt::Key_CapsLock;
}

// The focus indicator's colour, on the green table as on a card or a button.
constexpr QColor FocusYellow(255, 224, 0);

void place(QWidget *widget, const layout::Control &control)
{
    widget->setObjectName(controlName(control));
    widget->setGeometry(control.rect());
}

// One of the program's own controls, which paints all of itself.
void placeOpaque(QWidget *widget, const layout::Control &control)
{
    place(widget, control);
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
}

} // namespace

void placeTextBox(QWidget *box, const layout::Control &control)
{
    place(box, control);
    box->setFont(controlFont(control.font));
    paintWhiteOnGreen(box);
}

PictureBox::PictureBox(QWidget *parent, const layout::Control &control)
    : QWidget(parent)
    , index_(control.index)
    , isCell_(control.kind == layout::Kind::Cell)
{
    placeOpaque(this, control);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    connect(&KeyboardUse::instance(), &KeyboardUse::shownChanged, this, [this] {
        if (hasFocus())
            update();
    });
    setPointerOnEntry(this,
                      control.kind == layout::Kind::Cell         ? art::Pointer::Place
                          : control.kind == layout::Kind::Button ? art::Pointer::Point
                                                                 : art::Pointer::Open);
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
    if (hasFocus() && keyboardFocusShown())
        paintFocusIndicator(painter, rect(), isCell_);
}

void PictureBox::press()
{
    if (isEnabled())
        emit click(index_);
}

void PictureBox::keyPressEvent(QKeyEvent *event)
{
    if (!isActivationPress(event, isCell_)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat()) {
        keyDown_ = true;
        showDown(true);
    }
}

void PictureBox::keyReleaseEvent(QKeyEvent *event)
{
    if (!isActivationKey(event, isCell_)) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    // A release whose press went elsewhere (the Enter that closed the window before) is not
    // a click.
    if (event->isAutoRepeat() || !keyDown_)
        return;
    keyDown_ = false;
    showDown(false);
    emit click(index_);
}

void PictureBox::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
    emit focusChanged(index_);
}

void PictureBox::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (keyDown_) {
        keyDown_ = false;
        showDown(false);
    }
    update();
    emit focusChanged(index_);
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
    released_->drawAhead(devicePixelRatioF()); // the face it shows first
    setPicture(released_);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &PictureBox::mouseDown, this, [this] { setPicture(pressed_); });
    connect(this, &PictureBox::mouseUp, this, [this] { setPicture(released_); });
}

void PictureButton::showDown(bool down)
{
    setPicture(down ? pressed_ : released_);
}

CaptionLabel::CaptionLabel(QWidget *parent, const layout::Control &control)
    : QWidget(parent)
{
    placeOpaque(this, control);
    setFont(controlFont(control.font));
    setPointerOnEntry(this, art::Pointer::Open);
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

void CaptionLabel::setSpokenSuffix(const QString &suffix)
{
    spokenSuffix_ = suffix;
    describe();
}

void CaptionLabel::describe()
{
    const QString caption = caption_.trimmed();
    QString name;
    if (spokenPrefix_.isEmpty())
        name = caption;
    else
        name = caption.isEmpty() ? spokenPrefix_ : spokenPrefix_ + QStringLiteral(": ") + caption;
    name += spokenSuffix_;
    // A screen reader hears every renaming, so a name that stays is not set again.
    if (name != accessibleName())
        setAccessibleName(name);
}

void CaptionLabel::setHighlighted(bool highlighted)
{
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    update();
}

void CaptionLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), highlighted_ ? FocusYellow : bgrColour(ControlBackColour));
    if (caption_.isEmpty())
        return; // most are, until a game is scored: no text to lay out
    painter.setPen(highlighted_ ? QColor(Qt::black) : bgrColour(ControlTextColour));
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

BoardGrid::BoardGrid(QWidget *window, const std::array<PictureBox *, game::CellCount> &cells)
    : QObject(window)
    , window_(window)
    , cells_(cells)
{
    setObjectName(QStringLiteral("board"));
}

int BoardGrid::indexOf(const QObject *widget) const
{
    const auto found = std::find(cells_.begin(), cells_.end(), widget);
    return found == cells_.end() ? -1 : int(found - cells_.begin());
}

bool actsAsOk(const QKeyEvent *event)
{
    return !event->isAutoRepeat()
        && (isActivationPress(event)
            || (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier));
}

KeyboardUse::KeyboardUse()
{
    qApp->installEventFilter(this);
}

KeyboardUse &KeyboardUse::instance()
{
    static auto *use = new KeyboardUse; // lives with the application, which it watches
    return *use;
}

bool keyboardFocusShown()
{
    return KeyboardUse::instance().shown();
}

void KeyboardUse::setShown(bool shown)
{
    if (shown == shown_)
        return;
    shown_ = shown;
    emit shownChanged();
}

bool KeyboardUse::withReaderModifier(const QKeyEvent *event) const
{
    constexpr quint64 StaleAfterMs = 2000;
    if (readerModifierDownAt_ && event->timestamp() - *readerModifierDownAt_ < StaleAfterMs)
        return true;
    return platform::readerModifierHeld();
}

bool KeyboardUse::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        setShown(true);
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (isReaderModifier(key) && !key->isAutoRepeat())
            readerModifierDownAt_ = key->timestamp();
    } else if (event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        if (isReaderModifier(key) && !key->isAutoRepeat())
            readerModifierDownAt_.reset();
    } else if (event->type() == QEvent::MouseButtonPress) {
        setShown(false);
    }
    return QObject::eventFilter(watched, event);
}

void paintFocusIndicator(QPainter &painter, QRect rect, bool cell)
{
    // Whole logical pixels without smoothing: as sharp at twice the scale as at once.
    constexpr int Band = 2; // yellow, outside
    constexpr int Edge = 2; // black, inside it
    // A card's index fills its top-left 14 x 22 pixels and, turned, the bottom-right ones.
    const int skipX = cell ? 15 : 0;
    const int skipY = cell ? 23 : 0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto bands = [&](int inset, int width, const QColor &colour) {
        const QRect r = rect.adjusted(inset, inset, -inset, -inset);
        // Top and left stop short of the top-left index; bottom and right of the other.
        painter.fillRect(QRect(r.left() + skipX, r.top(), r.width() - skipX, width), colour);
        painter.fillRect(QRect(r.left(), r.top() + skipY, width, r.height() - skipY), colour);
        painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width() - skipX, width), colour);
        painter.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height() - skipY), colour);
    };
    bands(0, Band, FocusYellow);
    bands(Band, Edge, Qt::black);
    painter.restore();
}

} // namespace ui
