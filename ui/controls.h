// The controls the windows are built from. They paint themselves, so that a disabled window
// or control looks exactly as an enabled one, and they take every press themselves, so that a
// press on a control never reaches the window's background.
#pragma once

#include "layout.h"
#include "picture.h"

#include <QWidget>

#include <cstdint>

namespace ui {

// A box that shows a shared picture over its back colour. An element of a control array
// reports its index with every event.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    PictureBox(QWidget *parent, const layout::Control &control);

    [[nodiscard]] int index() const { return index_; }

    // Shows the picture another box or the image store holds; a null picture shows none.
    void setPicture(PictureRef picture);
    [[nodiscard]] const PictureRef &picture() const { return picture_; }

    void setBackColor(std::uint32_t bgr);
    [[nodiscard]] std::uint32_t backColor() const { return backColor_; }

    // Erases whatever was drawn on the box beyond its picture.
    void cls() { update(); }

signals:
    void mouseDown(int index, Qt::MouseButton button);
    void mouseUp(int index, Qt::MouseButton button);
    void mouseMove(int index, Qt::MouseButtons buttons);
    // A left-button press and release on the box.
    void click(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int index_;
    PictureRef picture_;
    std::uint32_t backColor_ = 0x00008000;
    bool leftPressed_ = false;
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

    // What a screen reader says before the caption, such as "Row 2 points".
    void setSpokenPrefix(const QString &prefix);

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
};

// The object name a control gets: "picPlace(3)" for an array element, "Command1" otherwise.
[[nodiscard]] QString controlName(const layout::Control &control);

} // namespace ui
