// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The controls the windows are built from. They paint themselves, so that a disabled window
// or control looks exactly as an enabled one, and they take every press themselves, so that a
// press on a control never reaches the window's background.
#pragma once

#include "ui/layout.h"
#include "ui/look.h"
#include "ui/picture.h"

#include "game/board.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>

class QKeyEvent;
class QPainter;

namespace ui {

// A box that shows a shared picture over its back colour. An element of a control array
// reports its index with every event.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(QWidget *parent, const layout::Control &control);

    [[nodiscard]] int index() const { return index_; }
    // Whether the box is a cell of the board.
    [[nodiscard]] bool isCell() const { return isCell_; }

    // Shows the picture another box or the image store holds; a null picture shows none.
    void setPicture(PictureRef picture);
    [[nodiscard]] const PictureRef &picture() const { return picture_; }

    void setBackColor(std::uint32_t bgr);

    // Erases whatever was drawn on the box beyond its picture.
    void cls() { update(); }

    // What a click does, for a screen reader's press action: nothing when disabled.
    void press();

signals:
    void mouseDown(int index, Qt::MouseButton button);
    void mouseUp(int index, Qt::MouseButton button);
    void mouseMove(int index, Qt::MouseButtons buttons);
    // A left-button press and release on the box, or Space or Enter pressed and released
    // while it has the keyboard focus.
    void click(int index);
    // The box took or lost the keyboard focus.
    void focusChanged(int index);

protected:
    // Shows the face of a button held down, from a key; a plain box has none.
    virtual void showDown(bool) { }

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    friend class TestAccess;

    int index_;
    bool isCell_;
    PictureRef picture_;
    std::uint32_t backColor_ = ControlBackColour;
    bool leftPressed_ = false;
    bool keyDown_ = false;
};

// A picture box that acts as a push button: it shows its pressed face from a press until the
// release, and its released face otherwise. The face is back to released before the click's
// command runs.
class PictureButton final : public PictureBox
{
    Q_OBJECT

public:
    PictureButton(QWidget *parent, const layout::Control &control, PictureRef released,
                  PictureRef pressed);

protected:
    void showDown(bool down) override;

private:
    PictureRef released_;
    PictureRef pressed_;
};

// A label: centred text, white on dark green, in the control's font.
class CaptionLabel final : public QWidget
{
    Q_OBJECT

public:
    CaptionLabel(QWidget *parent, const layout::Control &control);

    void setCaption(const QString &caption);
    [[nodiscard]] const QString &caption() const { return caption_; }

    // What a screen reader says before the caption, such as "Row 2 points", and after it.
    void setSpokenPrefix(const QString &prefix);
    void setSpokenSuffix(const QString &suffix);

    // Shows the label as the keyboard's place in a list: black on the focus indicator's yellow.
    void setHighlighted(bool highlighted);
    [[nodiscard]] bool highlighted() const { return highlighted_; }

    // The control this label names for a screen reader, or null.
    void setLabelFor(QWidget *control) { labelFor_ = control; }
    [[nodiscard]] QWidget *labelFor() const { return labelFor_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void describe();

    QString caption_;
    QString spokenPrefix_;
    QString spokenSuffix_;
    QPointer<QWidget> labelFor_;
    bool highlighted_ = false;
};

// The board's 25 cells as one whole for screen readers: a table of five rows of five.
class BoardGrid final : public QObject
{
    Q_OBJECT

public:
    BoardGrid(QWidget *window, const std::array<PictureBox *, game::CellCount> &cells);

    [[nodiscard]] QWidget *window() const { return window_; }
    [[nodiscard]] const std::array<PictureBox *, game::CellCount> &cells() const { return cells_; }
    // The cell's index, or -1 for a widget that is not a cell.
    [[nodiscard]] int indexOf(const QObject *widget) const;

private:
    QWidget *window_;
    std::array<PictureBox *, game::CellCount> cells_;
};

// Whether a key press acts as a secondary window's OK: Escape, Enter or Space, unmodified
// and not repeated.
[[nodiscard]] bool actsAsOk(const QKeyEvent *event);

// Whether the focused control shows where the focus is: from the player's first key press
// until their next mouse press, so that a player who uses only the mouse never sees it.
[[nodiscard]] bool keyboardFocusShown();

// Tells when keyboardFocusShown() changes, and knows which keys a screen reader holds.
class KeyboardUse final : public QObject
{
    Q_OBJECT

public:
    [[nodiscard]] static KeyboardUse &instance();
    [[nodiscard]] bool shown() const { return shown_; }
    // Whether this key comes while Insert or Caps Lock, a screen reader's own modifier, is held:
    // by the keyboard itself where the window system says, or by the presses and releases the
    // program has seen. A press whose release never came counts for two seconds.
    [[nodiscard]] bool withReaderModifier(const QKeyEvent *event) const;

signals:
    void shownChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KeyboardUse();
    void setShown(bool shown);

    bool shown_ = false;
    // The time stamp of the press of a reader modifier not yet released, or none.
    std::optional<quint64> readerModifierDownAt_;
};

// Draws the focus indicator inside a control's rectangle: a yellow band edged in black, clear
// on the green table, on a card and on a button. On a cell it leaves out the two corners
// that hold a card's indexes.
void paintFocusIndicator(QPainter &painter, QRect rect, bool cell);

// The object name a control gets: "picPlace(3)" for an array element, "Command1" otherwise.
[[nodiscard]] QString controlName(const layout::Control &control);

// Places a text box of the table: its control's name, place and font, white text on dark green.
void placeTextBox(QWidget *box, const layout::Control &control);

} // namespace ui
