#include "frmabout.h"

#include "artwork.h"
#include "forms.h"
#include "frmcards.h"
#include "frmquintagrid.h"
#include "look.h"
#include "platform/platform.h"

#include <QCloseEvent>
#include <QPlainTextEdit>

namespace ui {

QString aboutText()
{
    return QStringLiteral(
        "Quintagrid 1.0\n"
        "\n"
        "A five-by-five poker patience.\n"
        "\n"
        "Click Begin. The first card lands in the top-left corner; place each card offered "
        "beside the board on an empty cell that touches a card already there, diagonals "
        "included.\n"
        "\n"
        "When all 25 cells are full, each row and each column scores as a poker hand: one pair "
        "1, two pair 3, flush 5, three of a kind 6, full house 10, straight 12, four of a kind "
        "16, straight flush 30. Beat the lowest of the ten high scores to enter your name.\n"
        "\n"
        "The full instructions are in the file quintagrid-guide.txt beside the game.\n"
        "\n"
        "Made by Mossgrovity.");
}

frmAbout::frmAbout(Forms &forms)
    : SecondaryWindow(layout::frmAbout, forms.platform.windows)
    , forms_(forms)
{
    const layout::WindowLayout &table = layout::frmAbout;
    const layout::Control &area = table.at("Text1");
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(controlName(area));
    Text1->setGeometry(area.rect());
    Text1->setFont(controlFont(area.font));
    Text1->setReadOnly(true);
    Text1->setFrameShape(QFrame::NoFrame);
    Text1->setPlainText(aboutText());
    Text1->setAccessibleName(QStringLiteral("About Quintagrid"));
    Text1->viewport()->setCursor(pointerCursor(art::Pointer::Open));
    QPalette palette = Text1->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, bgrColour(ControlBackColour));
        palette.setColor(group, QPalette::Text, bgrColour(ControlTextColour));
    }
    Text1->setPalette(palette);

    const frmCards &store = forms.cards();
    Picture1 = new PictureButton(this, table.at("Picture1"), store.picture(12), store.picture(13));
    Picture1->setAccessibleName(QStringLiteral("OK"));
    connect(Picture1, &PictureBox::click, this, &frmAbout::Picture1_Click);
}

void frmAbout::Picture1_Click()
{
    forms_.mainWindow().setEnabled(true);
    forms_.unloadAbout();
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (!forms_.exiting())
        Picture1_Click();
}

} // namespace ui
