// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmabout.h"

#include "ui/artwork.h"
#include "ui/forms.h"
#include "ui/frmcards.h"

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace ui {

QString aboutText()
{
    return QStringLiteral(
        "Quintagrid 1.0\n"
        "\n"
        "A five-by-five poker patience.\n"
        "\n"
        "Begin deals a card to the top-left corner. Put each card offered beside the board on an "
        "empty cell next to a card already there, diagonals included.\n"
        "\n"
        "A full board scores every row and every column as a poker hand, from one pair (1) to a "
        "straight flush (30). Beat the lowest high score to enter your name.\n"
        "\n"
        "Instructions: quintagrid-guide.txt, beside the game.\n"
        "\n"
        "Made by Mossgrovity.");
}

frmAbout::frmAbout(Shared &shared, Forms &forms)
    : SecondaryWindow(layout::frmAbout, shared, forms)
{
    const layout::WindowLayout &table = layout::frmAbout;
    Text1 = new QPlainTextEdit(this);
    placeTextBox(Text1, table.at("Text1"));
    Text1->setReadOnly(true);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setFrameShape(QFrame::NoFrame);
    Text1->setPlainText(aboutText());
    Text1->setAccessibleName(QStringLiteral("About Quintagrid"));
    Text1->viewport()->setCursor(pointerCursor(art::Pointer::Open));
    // Read line by line with a caret from the keyboard; the caret shows only once the player
    // has used the keyboard, and a click does not take the focus.
    Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text1->setFocusPolicy(Qt::TabFocus);
    Text1->setTabChangesFocus(true);
    const auto showCaret = [this] { Text1->setCursorWidth(keyboardFocusShown() ? 1 : 0); };
    showCaret();
    connect(&KeyboardUse::instance(), &KeyboardUse::shownChanged, Text1, showCaret);
    Text1->installEventFilter(this);

    const frmCards &store = forms.cards();
    Picture1 = new PictureButton(this, table.at("Picture1"), store.picture(Face::OkReleased),
                                 store.picture(Face::OkPressed));
    Picture1->setAccessibleName(QStringLiteral("OK"));
    connect(Picture1, &PictureBox::click, this, &frmAbout::Picture1_Click);

    setAccessibleName(QStringLiteral("About Quintagrid"));
    setTabOrder(Text1, Picture1);
    Text1->setFocus();
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    // In the text, Enter, Space and Escape close the window as OK does.
    if (watched == Text1 && event->type() == QEvent::KeyPress
        && actsAsOk(static_cast<QKeyEvent *>(event))) {
        Picture1_Click();
        return true;
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (actsAsOk(event))
        Picture1_Click();
    else
        SecondaryWindow::keyPressEvent(event);
}

void frmAbout::Picture1_Click()
{
    backToMainWindow();
}

} // namespace ui
