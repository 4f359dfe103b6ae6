// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmentername.h"

#include "ui/forms.h"
#include "ui/frmcards.h"
#include "ui/frmhighscores.h"
#include "ui/shared.h"

#include "highscores/highscores.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace ui {

namespace {

// Lets through only what the high-score file can hold and read back unchanged; anything else,
// typed or pasted, is dropped without a word. The length limit is applied here too, after the
// dropping, so a pasted quote never costs a character that fits: what goes over the limit is
// cut from the end of what was just typed or pasted, which ends at the cursor.
class StorableNameValidator final : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override
    {
        QString before = highscores::storableName(input.left(pos));
        const QString after = highscores::storableName(input.mid(pos));
        const qsizetype over = before.size() + after.size() - highscores::MaxNameLength;
        if (over > 0)
            before.chop(std::min(over, before.size()));
        input = (before + after).left(highscores::MaxNameLength);
        pos = int(before.size());
        return Acceptable;
    }
};

} // namespace

frmEnterName::frmEnterName(Shared &shared, Forms &forms)
    : SecondaryWindow(layout::frmEnterName, shared, forms)
{
    const layout::WindowLayout &table = layout::frmEnterName;
    Label2 = new CaptionLabel(this, table.at("Label2"));
    Label2->setCaption(QStringLiteral("High Score! Enter Name"));

    Text1 = new QLineEdit(this);
    placeTextBox(Text1, table.at("Text1"));
    Text1->setAlignment(Qt::AlignCenter);
    Text1->setFrame(false);
    Text1->setValidator(new StorableNameValidator(Text1));
    // Named by its prompt; the window says the score it is for, once.
    Text1->setAccessibleName(Label2->caption());
    Label2->setLabelFor(Text1);
    const QString score = QStringLiteral("Your score: %1").arg(shared.module1.gamescore);
    Text1->installEventFilter(this);

    const frmCards &store = forms.cards();
    Command2 = new PictureButton(this, table.at("Command2"), store.picture(Face::OkReleased),
                                 store.picture(Face::OkPressed));
    Command2->setAccessibleName(QStringLiteral("OK"));
    connect(Command2, &PictureBox::click, this, &frmEnterName::Command2_Click);

    setAccessibleName(Label2->caption());
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Orca 48 says a dialog's description twice as the dialog opens: the name box says it.
    Text1->setAccessibleDescription(score);
#else
    setAccessibleDescription(score);
#endif
    setTabOrder(Text1, Command2);
    setFocusProxy(Text1);
    Text1->setFocus();
}

bool frmEnterName::Form_KeyPress(int KeyAscii)
{
    if (KeyAscii != EnterKeyAscii)
        return false;
    Command2_Click();
    return true;
}

bool frmEnterName::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Enter with a screen reader's modifier held is the reader's key, answered late.
        if (enter && KeyboardUse::instance().withReaderModifier(key))
            return true;
        const int code =
            enter ? EnterKeyAscii : (key->text().isEmpty() ? 0 : key->text().at(0).unicode());
        if (Form_KeyPress(code))
            return true;
    }
    return SecondaryWindow::eventFilter(watched, event);
}

void frmEnterName::Command2_Click()
{
    highscores::Module1 &module1 = shared_.module1;
    highscores::acceptName(module1, Text1->text());
    const bool stored = module1.lowestslot >= 1 && module1.lowestslot <= highscores::Slots;
    const int score = stored ? module1.table.hsscores[module1.lowestslot] : -1;
    forms_.showHighScores();
    if (frmHighScores *list = forms_.highScores(); list && stored)
        list->showNewEntry(module1.enteredname, score);
    // Saved at once, as the list now shows it: from here on no way the program ends, however
    // abrupt, costs this score.
    highscores::savehighscores(shared_.module1.table);
    forms_.unloadEnterName();
}

} // namespace ui
