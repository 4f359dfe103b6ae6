// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmhighscores.h"

#include "forms.h"
#include "frmcards.h"
#include "frmquintagrid.h"

#include "game/numbertext.h"
#include "highscores/highscores.h"
#include "platform/platform.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>

namespace ui {

frmHighScores::frmHighScores(Forms &forms)
    : SecondaryWindow(layout::frmHighScores, forms.platform.windows)
    , forms_(forms)
{
    const layout::WindowLayout &table = layout::frmHighScores;
    for (int i = 0; i < highscores::Slots; ++i) {
        nimet[i] = new CaptionLabel(this, table.at("nimet", i));
        scoret[i] = new CaptionLabel(this, table.at("scoret", i));
    }
    const frmCards &store = forms.cards();
    Command1 = new PictureButton(this, table.at("Command1"), store.picture(12), store.picture(13));
    Command1->setAccessibleName(QStringLiteral("OK"));
    connect(Command1, &PictureBox::click, this, &frmHighScores::Command1_Click);
    Command2 = new PictureButton(this, table.at("Command2"), store.picture(14), store.picture(15));
    Command2->setAccessibleName(QStringLiteral("Clear"));
    connect(Command2, &PictureBox::click, this, &frmHighScores::Command2_Click);

    setAccessibleName(QStringLiteral("High Scores"));
    setTabOrder(Command1, Command2);
    Command1->setFocus();
}

void frmHighScores::keyPressEvent(QKeyEvent *event)
{
    // Escape closes as OK does; Enter and Space reach here only when no button has the focus.
    if (actsAsOk(event))
        Command1_Click();
    else
        SecondaryWindow::keyPressEvent(event);
}

void frmHighScores::Form_Load()
{
    highscores::sortHighScores(forms_.module1.table);
    showEntries();
}

void frmHighScores::showEntries()
{
    const highscores::HighScoreTable &table = forms_.module1.table;
    for (int k = 1; k <= highscores::Slots; ++k) {
        nimet[k - 1]->setCaption(table.hsnames[k]);
        scoret[k - 1]->setCaption(QString::fromStdString(game::numberText(table.hsscores[k])));
    }
}

void frmHighScores::Command1_Click()
{
    forms_.mainWindow().setEnabled(true);
    forms_.unloadHighScores();
}

void frmHighScores::Command2_Click()
{
    // Paused so that the question stays in front of this window.
    Timer1.stop();
    const QPointer<frmHighScores> self(this);
    const int answer = forms_.platform.windows.askYesNo(
        this, QStringLiteral("Do you really want to delete High Scores?"),
        QStringLiteral("Tavrin 1.0 Warning!"));
    if (!self || forms_.exiting())
        return; // the program ended while the question was open
    Timer1.start();
    if (answer == platform::AnswerNo)
        return;
    highscores::resethighscores(forms_.module1.table);
    showEntries();
    highscores::savehighscores(forms_.module1.table);
}

void frmHighScores::closeEvent(QCloseEvent *event)
{
    // Closed by the desktop rather than by OK: close as OK does, so that the main window is
    // never left disabled with nothing to close.
    event->ignore();
    if (!forms_.exiting())
        Command1_Click();
}

} // namespace ui
