// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmhighscores.h"

#include "ui/forms.h"
#include "ui/frmcards.h"
#include "ui/shared.h"
#include "ui/text.h"

#include "game/numbertext.h"
#include "highscores/highscores.h"
#include "ui/platform/platform.h"

#include <QKeyEvent>
#include <QPointer>

namespace ui {

frmHighScores::frmHighScores(Shared &shared, Forms &forms)
    : SecondaryWindow(layout::frmHighScores, shared, forms)
{
    const layout::WindowLayout &table = layout::frmHighScores;
    for (int i = 0; i < highscores::Slots; ++i) {
        nimet[i] = new CaptionLabel(this, table.at("nimet", i));
        scoret[i] = new CaptionLabel(this, table.at("scoret", i));
    }
    const frmCards &store = forms.cards();
    Command1 = new PictureButton(this, table.at("Command1"), store.picture(Face::OkReleased),
                                 store.picture(Face::OkPressed));
    Command1->setAccessibleName(QStringLiteral("OK"));
    connect(Command1, &PictureBox::click, this, &frmHighScores::Command1_Click);
    Command2 = new PictureButton(this, table.at("Command2"), store.picture(Face::ClearReleased),
                                 store.picture(Face::ClearPressed));
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
    highscores::sortHighScores(shared_.module1.table);
    showEntries();
}

void frmHighScores::showEntries()
{
    const highscores::HighScoreTable &table = shared_.module1.table;
    for (int k = 1; k <= highscores::Slots; ++k) {
        nimet[k - 1]->setCaption(table.hsnames[k]);
        scoret[k - 1]->setCaption(qtext(game::numberText(table.hsscores[k])));
    }
}

void frmHighScores::Command1_Click()
{
    backToMainWindow();
}

void frmHighScores::Command2_Click()
{
    // Paused so that the question stays in front of this window.
    Timer1.stop();
    const QPointer<frmHighScores> self(this);
    const int answer = shared_.platform.windows.askYesNo(
        this, QStringLiteral("Do you really want to delete High Scores?"),
        QStringLiteral("Tavrin 1.0 Warning!"));
    if (!self || forms_.exiting())
        return; // the program ended while the question was open
    Timer1.start();
    if (answer == platform::AnswerNo)
        return;
    highscores::resethighscores(shared_.module1.table);
    showEntries();
    highscores::savehighscores(shared_.module1.table);
}

} // namespace ui
