// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmhighscores.h"

#include "ui/accessibility.h"
#include "ui/forms.h"
#include "ui/frmcards.h"
#include "ui/shared.h"
#include "ui/text.h"

#include "game/numbertext.h"
#include "highscores/highscores.h"
#include "ui/platform/platform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>

namespace ui {

frmHighScores::frmHighScores(Shared &shared, Forms &forms)
    : SecondaryWindow(layout::frmHighScores, shared, forms)
{
    const layout::WindowLayout &table = layout::frmHighScores;
    for (int i = 0; i < highscores::Slots; ++i) {
        nimet[i] = new CaptionLabel(this, table.at("nimet", i));
        scoret[i] = new CaptionLabel(this, table.at("scoret", i));
        // Each entry is one stop for the Up and Down keys, said with its place and score.
        nimet[i]->setSpokenPrefix(QStringLiteral("Place %1").arg(i + 1));
        // It names its score, so a screen reader does not read the list out whole as the
        // window opens.
        nimet[i]->setLabelFor(scoret[i]);
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
    connect(qApp, &QApplication::focusChanged, this, &frmHighScores::showKeyboardEntry);
    connect(&KeyboardUse::instance(), &KeyboardUse::shownChanged, this,
            &frmHighScores::showKeyboardEntry);
}

frmHighScores::~frmHighScores()
{
    // The window gives up the focus as its base class hides it, after this part is gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void frmHighScores::keyPressEvent(QKeyEvent *event)
{
    // Escape closes as OK does; Enter and Space reach here only when no button has the focus.
    // Up and Down go through the entries, which a screen reader then reads one by one.
    if (actsAsOk(event)) {
        Command1_Click();
        return;
    }
    if (event->modifiers() != Qt::NoModifier
        || (event->key() != Qt::Key_Up && event->key() != Qt::Key_Down)) {
        SecondaryWindow::keyPressEvent(event);
        return;
    }
    const auto current = std::find(nimet.begin(), nimet.end(), focusWidget());
    int next = event->key() == Qt::Key_Down ? 0 : highscores::Slots - 1;
    if (current != nimet.end())
        next = std::clamp(int(current - nimet.begin()) + (event->key() == Qt::Key_Down ? 1 : -1), 0,
                          highscores::Slots - 1);
    arrowsUsed_ = true;
    nimet[std::size_t(next)]->setFocus(Qt::OtherFocusReason);
    showKeyboardEntry();
}

void frmHighScores::showKeyboardEntry()
{
    // Only the arrow keys show it, so the new entry that takes the focus after a name looks
    // as the rest of the list until the player goes through it.
    const bool shown = arrowsUsed_ && keyboardFocusShown();
    for (std::size_t i = 0; i < nimet.size(); ++i) {
        const bool here = shown && focusWidget() == nimet[i];
        nimet[i]->setHighlighted(here);
        scoret[i]->setHighlighted(here);
    }
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
        nimet[k - 1]->setSpokenSuffix(
            QStringLiteral(", ") + spokenPoints(table.hsscores[k])
            + (k == newEntry_ ? QStringLiteral(", new entry") : QString()));
    }
}

void frmHighScores::showNewEntry(const QString &name, int score)
{
    const highscores::HighScoreTable &table = shared_.module1.table;
    for (int k = 1; k <= highscores::Slots; ++k) {
        if (table.hsnames[k] == name && table.hsscores[k] == score) {
            newEntry_ = k;
            showEntries();
            nimet[std::size_t(k - 1)]->setFocus(Qt::OtherFocusReason);
            return;
        }
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
    newEntry_ = 0;
    showEntries();
    highscores::savehighscores(shared_.module1.table);
}

} // namespace ui
