// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmquintagrid.h"

#include "ui/accessibility.h"
#include "ui/forms.h"
#include "ui/frmcards.h"
#include "ui/look.h"
#include "ui/shared.h"
#include "ui/text.h"

#include "game/cues.h"
#include "game/numbertext.h"
#include "highscores/highscores.h"
#include "ui/platform/platform.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace ui {

namespace {

// How long a screen reader has to say the total before the name window opens, in ms.
constexpr std::uint32_t SpeakBeforeNameWindowMs = 1000;

} // namespace

frmQuintagrid::frmQuintagrid(Shared &shared, Forms &forms)
    : FramelessWindow(layout::frmQuintagrid, Qt::Window)
    , shared_(shared)
    , forms_(forms)
{
    const layout::WindowLayout &table = layout::frmQuintagrid;
    installAccessibility();
    setMouseTracking(true);
    setAccessibleName(QStringLiteral("Quintagrid"));

    // Created in index order, so a cell is drawn over the lower-numbered neighbours it overlaps.
    for (int i = 0; i < game::CellCount; ++i) {
        picPlace[i] = new PictureBox(this, table.at("picPlace", i));
        connect(picPlace[i], &PictureBox::click, this, &frmQuintagrid::picPlace_Click);
        connect(picPlace[i], &PictureBox::mouseMove, this, &frmQuintagrid::picPlace_MouseMove);
        connect(picPlace[i], &PictureBox::focusChanged, this, &frmQuintagrid::showCursorColour);
    }
    new BoardGrid(this, picPlace); // the cells as one table, for screen readers
    connect(&KeyboardUse::instance(), &KeyboardUse::shownChanged, this,
            &frmQuintagrid::showCursorColour);
    picDealt = new PictureBox(this, table.at("picDealt"));
    picDealt->setAccessibleName(QStringLiteral("Card to place"));

    Command1 = makeButton("Command1", BeginFaces, &frmQuintagrid::Command1_Click);
    Command2 = makeButton("Command2", HighScoresFaces, &frmQuintagrid::Command2_Click);
    Command3 = makeButton("Command3", ExitFaces, &frmQuintagrid::Command3_Click);
    Command4 = makeButton("Command4", MinimizeFaces, &frmQuintagrid::Command4_Click);
    Command5 = makeButton("Command5", AboutFaces, &frmQuintagrid::Command5_Click);

    for (int r = 0; r < game::BoardSide; ++r) {
        riviarvo[r] = new CaptionLabel(this, table.at("riviarvo", r));
        riviarvo[r]->setSpokenPrefix(QStringLiteral("Row %1 points").arg(r + 1));
    }
    for (int col = 0; col < game::BoardSide; ++col) {
        Label1[col] = new CaptionLabel(this, table.at("Label1", col));
        Label1[col]->setSpokenPrefix(QStringLiteral("Column %1 points").arg(col + 1));
    }
    for (int k = 0; k < 8; ++k) {
        Label2[k] = new CaptionLabel(this, table.at("Label2", k));
        Label2[k]->setSpokenSuffix(QStringLiteral(": ") + spokenPoints(scoring::legend[k].points));
        Label2[k]->setCaption(qtext(scoring::legend[k].caption));
        Label3[k] = new CaptionLabel(this, table.at("Label3", k));
        Label3[k]->setCaption(QString::number(scoring::legend[k].points));
    }
    Label4 = new CaptionLabel(this, table.at("Label4"));
    Label4->setSpokenPrefix(QStringLiteral("Total"));
    Label5 = new CaptionLabel(this, table.at("Label5"));
    Label5->setCaption(QStringLiteral("Quintagrid from Mossgrovity"));

    // Tab visits Begin, the board, High Scores, About, Minimize and Exit, and round again.
    // The total is reached only when the end of a game puts the focus there; Tab goes on to
    // Begin. Qt orders only controls that take the focus: the cells take it while they are
    // put in order, then all but the cursor's cell give it up.
    for (PictureBox *cell : picPlace)
        cell->setFocusPolicy(Qt::TabFocus);
    Label4->setFocusPolicy(Qt::TabFocus);
    setTabOrder(Label4, Command1);
    setTabOrder(Command1, picPlace[0]);
    for (int i = 1; i < game::CellCount; ++i)
        setTabOrder(picPlace[i - 1], picPlace[i]);
    setTabOrder(picPlace[game::CellCount - 1], Command2);
    setTabOrder(Command2, Command5);
    setTabOrder(Command5, Command4);
    setTabOrder(Command4, Command3);
    for (PictureBox *cell : picPlace) {
        if (cell->index() != cursor_)
            cell->setFocusPolicy(Qt::NoFocus);
    }
    Label4->setFocusPolicy(Qt::NoFocus);
    Command1->setFocus();
}

frmQuintagrid::~frmQuintagrid()
{
    // The board, which screen readers reach the cells through, goes before the cells.
    delete findChild<BoardGrid *>(QString(), Qt::FindDirectChildrenOnly);
    // The cells lose the focus while QWidget takes the window down, when this is no longer a
    // frmQuintagrid to tell.
    for (PictureBox *cell : picPlace)
        disconnect(cell, &PictureBox::focusChanged, this, nullptr);
    disconnect(&KeyboardUse::instance(), nullptr, this, nullptr);
}

PictureButton *frmQuintagrid::makeButton(std::string_view name, FacePair faces,
                                         void (frmQuintagrid::*command)())
{
    const frmCards &store = forms_.cards();
    auto *button = new PictureButton(this, layout::frmQuintagrid.at(name),
                                     store.picture(faces.released), store.picture(faces.pressed));
    button->setAccessibleName(button->picture()->description().section(u',', 0, 0));
    connect(button, &PictureBox::click, this, command);
    return button;
}

void frmQuintagrid::Form_Load()
{
    highscores::loadhighscores(shared_.module1.table);
    shared_.platform.random.seedFromClock();
    clearall();
}

void frmQuintagrid::clearall()
{
    highscores::Module1 &module1 = shared_.module1;
    module1.gamescore = -1;
    module1.enteredname.clear();
    module1.lowestslot = 0;
    dragx = 0;
    dragy = 0;
    firstdeal_ = true;
    dealing_.clear();
    for (int x = 0; x <= game::BoardSide; ++x) {
        for (int y = 0; y <= game::BoardSide; ++y) {
            cardvalues_[x][y] = 0;
            cardsuits_[x][y] = 0;
        }
        rowscores_[x] = 0;
        colscores_[x] = 0;
    }
    board_.clear();
    Command1->setEnabled(true);
    Label4->setCaption(QString());
    for (int j = 0; j < game::BoardSide; ++j) {
        riviarvo[j]->setCaption(QString());
        Label1[j]->setCaption(QString());
    }
    const PictureRef blank = forms_.cards().picture(Face::Blank);
    for (PictureBox *cell : picPlace) {
        cell->setPicture(blank);
        cell->cls();
    }
    picDealt->setPicture(blank);
    picDealt->cls();
    picDealt->setAccessibleName(QStringLiteral("Card to place"));
    Label4->setSpokenSuffix(QString());
    describeCells();
}

void frmQuintagrid::main()
{
    platform::Platform &platform = shared_.platform;
    if (firstdeal_) {
        shuffling_ = true;
        for (int frame = 0; frame < game::ShuffleFrames; ++frame) {
            const int k = game::shufflePictureForDraw(platform.random.uniform());
            picDealt->setPicture(forms_.cards().picCard(k));
            platform.sound.play(game::Cue::ShuffleFrame);
            if (!platform.pacer.wait(game::ShuffleFrameMs))
                return; // the program is ending
        }
        shuffling_ = false;
        deal();
        firstdeal_ = false;
        picPlace[0]->setPicture(picDealt->picture());
        board_.put(0, dealing_.offeredcard);
        // The keyboard's cell starts on one that takes the next card; Begin, about to be
        // disabled, hands its focus on to it.
        if (!board_.accepts(cursor_) || board_.occupied(cursor_)) {
            for (int i = 0; i < game::CellCount; ++i) {
                if (!board_.occupied(i) && board_.accepts(i)) {
                    moveCursor(i);
                    break;
                }
            }
        }
        describeCells();
        Command1->setEnabled(false);
        platform.sound.play(game::Cue::OpeningCard);
        main();
        announce(this, QStringLiteral("Next card: ") + offeredName());
    } else if (dealing_.dealtcount >= game::CardsPerGame) {
        picDealt->setAccessibleName(QStringLiteral("No card left to place: the board is full"));
        describeCells();
        scoring_ = true;
        landvalues();
        checkhands();
        displayscores();
        if (ending_)
            return;
        Command1->setEnabled(true);
        showhighscores();
        scoring_ = false;
        shared_.module1.gamescore = -1;
    } else {
        deal();
        describeCells();
    }
}

void frmQuintagrid::deal()
{
    platform::RandomSource &random = shared_.platform.random;
    game::deal(dealing_, [&random] { return random.uniform(); });
    picDealt->setPicture(forms_.cards().picCard(game::pictureIndex(dealing_.offeredcard)));
    picDealt->setAccessibleName(QStringLiteral("Card to place: ")
                                + qtext(game::cardName(dealing_.offeredcard)));
}

void frmQuintagrid::landvalues()
{
    scoring::landvalues(board_.cardgrid, cardvalues_, cardsuits_);
}

void frmQuintagrid::checkhands()
{
    scoring::checkhands(cardvalues_, cardsuits_, rowscores_, colscores_);
}

void frmQuintagrid::displayscores()
{
    // Shows the count-up on this window's labels, with the cues and paced waits.
    class Display final : public scoring::TallyDisplay
    {
    public:
        explicit Display(frmQuintagrid &window)
            : w(window)
        { }
        void showRowPoints(int row, std::int16_t value) override
        {
            w.riviarvo[row]->setCaption(qtext(game::numberText(value)));
            if (value == w.rowscores_[row])
                say(row, QStringLiteral("Row %1: ").arg(row + 1), value);
        }
        void showColumnPoints(int column, std::int16_t value) override
        {
            w.Label1[column]->setCaption(qtext(game::numberText(value)));
            if (value == w.colscores_[column])
                say(game::BoardSide + column, QStringLiteral("Column %1: ").arg(column + 1), value);
        }
        void showTotal(std::int16_t value) override
        {
            w.Label4->setCaption(qtext(game::numberText(value)));
        }
        void playCue(game::Cue cue) override { w.shared_.platform.sound.play(cue); }
        bool wait(int ms) override { return w.shared_.platform.pacer.wait(std::uint32_t(ms)); }

    private:
        // Each line's hand and points are said once, as its count reaches them.
        void say(int line, const QString &prefix, std::int16_t points)
        {
            if (said[std::size_t(line)])
                return;
            said[std::size_t(line)] = true;
            QString hand = QStringLiteral("no hand");
            for (const scoring::LegendEntry &entry : scoring::legend) {
                if (entry.points == points)
                    hand = qtext(entry.caption);
            }
            announce(&w, prefix + hand + QStringLiteral(", ") + spokenPoints(points));
        }

        frmQuintagrid &w;
        std::array<bool, 2 * game::BoardSide> said {};
    };

    // Disabled for the whole count-up, so that no click re-enters the game while the waits
    // dispatch events; the window still repaints and looks the same.
    setEnabled(false);
    Display display(*this);
    const std::optional<std::int16_t> total = scoring::countUp(rowscores_, colscores_, display);
    if (!total)
        return; // the program is ending
    shared_.module1.gamescore = *total;
    setEnabled(true);
}

void frmQuintagrid::showhighscores()
{
    const bool admitted = highscores::admitScore(shared_.module1);
    Label4->setSpokenSuffix(admitted ? QStringLiteral(", a new high score")
                                     : QStringLiteral(", not a high score"));
    if (!admitted) {
        // The focus moves to the total, so that a screen reader says it and what it made.
        Label4->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Said before the name window opens, which takes the focus at once.
    announce(this, Label4->accessibleName());
    setEnabled(false);
    // A screen reader takes a new window before anything else it has yet to say (Orca 48
    // does): while one listens, the total has a moment to be said first.
    if (QAccessible::isActive() && !shared_.platform.pacer.wait(SpeakBeforeNameWindowMs))
        return; // the program is ending
    shared_.platform.sound.play(game::Cue::HighScore);
    forms_.showEnterName();
}

void frmQuintagrid::Command1_Click()
{
    // A click while the opening shuffle runs would start a second opening inside the first.
    if (shuffling_ || ending_)
        return;
    clearall();
    main();
}

void frmQuintagrid::Command2_Click()
{
    setEnabled(false);
    forms_.showHighScores();
}

void frmQuintagrid::Command3_Click()
{
    highscores::savehighscores(shared_.module1.table);
    forms_.unloadForExit();
    endProgram();
}

void frmQuintagrid::Command4_Click()
{
    setWindowState(windowState() | Qt::WindowMinimized);
}

void frmQuintagrid::Command5_Click()
{
    setEnabled(false);
    forms_.showAbout();
}

void frmQuintagrid::picPlace_Click(int Index)
{
    if (board_.occupied(Index) || !board_.accepts(Index)) {
        // Nothing changes on the screen; a screen reader is told why.
        if (cardWaiting())
            announce(this,
                     board_.occupied(Index) ? QStringLiteral("Refused: the cell is taken")
                                            : QStringLiteral("Refused: must touch a card"));
        return;
    }
    const QString placed = offeredName()
        + QStringLiteral(" placed at row %1, column %2.")
              .arg(game::cellRow(Index) + 1)
              .arg(game::cellColumn(Index) + 1);
    picPlace[Index]->setPicture(picDealt->picture());
    board_.put(Index, dealing_.offeredcard);
    // The cells are described again once the next card is dealt (main): each renaming once.
    // The pointer is still on the cell, which now refuses: show that at once rather than
    // leave the "accepts" colour until the pointer moves.
    picPlace_MouseMove(Index);
    if (dealing_.dealtcount >= game::CardsPerGame) {
        announce(this, placed + QStringLiteral(" The board is full."));
        main();
        return;
    }
    main();
    announce(this, placed + QStringLiteral(" Next card: ") + offeredName());
}

QString frmQuintagrid::offeredName() const
{
    return qtext(game::cardName(dealing_.offeredcard));
}

void frmQuintagrid::picPlace_MouseMove(int Index)
{
    for (int i = 0; i < game::CellCount; ++i) {
        if (i != Index)
            picPlace[i]->setBackColor(game::NormalCellColour);
    }
    picPlace[Index]->setBackColor(board_.hoverColour(Index));
}

void frmQuintagrid::Form_MouseMove(Qt::MouseButtons buttons, float x, float y)
{
    resetCellColours();
    FramelessWindow::Form_MouseMove(buttons, x, y);
}

void frmQuintagrid::Form_QueryUnload()
{
    highscores::savehighscores(shared_.module1.table);
    forms_.unloadForExit();
}

void frmQuintagrid::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (ending_)
        return; // the program is closing itself
    Form_QueryUnload();
    endProgram();
}

void frmQuintagrid::leaveEvent(QEvent *)
{
    // The pointer may leave straight from a cell at the board's edge; leave no cell lit.
    resetCellColours();
}

void frmQuintagrid::keyPressEvent(QKeyEvent *event)
{
    // The arrow keys move the keyboard's cell while the board has the focus, stopping at the
    // edges.
    int row = game::cellRow(cursor_);
    int column = game::cellColumn(cursor_);
    switch (event->key()) {
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        FramelessWindow::keyPressEvent(event);
        return;
    }
    event->accept();
    if (focusWidget() != picPlace[cursor_] || !picPlace[cursor_]->hasFocus())
        return;
    if (game::onBoard(row, column))
        moveCursor(game::cellIndex(row, column));
}

void frmQuintagrid::moveCursor(int Index)
{
    if (Index == cursor_)
        return;
    PictureBox *from = picPlace[cursor_];
    PictureBox *to = picPlace[Index];
    cursor_ = Index;
    // Only the keyboard's cell is a Tab stop, so the board is one stop however it is entered.
    to->setFocusPolicy(Qt::TabFocus);
    describeCells(); // before the focus moves, so that a screen reader says the new cell whole
    if (from->hasFocus())
        to->setFocus(Qt::OtherFocusReason);
    from->setFocusPolicy(Qt::NoFocus);
    if (!from->underMouse())
        from->setBackColor(game::NormalCellColour);
    showCursorColour();
}

void frmQuintagrid::showCursorColour()
{
    // The keyboard's cell shows what the pointer would show on it, while it has the focus
    // and the player uses the keyboard.
    PictureBox *cell = picPlace[cursor_];
    if (cell->hasFocus() && keyboardFocusShown())
        picPlace_MouseMove(cursor_);
    else if (!cell->underMouse())
        cell->setBackColor(game::NormalCellColour);
}

void frmQuintagrid::changeEvent(QEvent *event)
{
    FramelessWindow::changeEvent(event);
    // Enabled again after a secondary window: the keyboard goes on from Begin, or from the
    // board during a game. Not at the end of the count-up, which puts it on the total.
    if (event->type() != QEvent::EnabledChange || !isEnabled() || scoring_ || ending_)
        return;
    if (!focusWidget() || !focusWidget()->isEnabled() || focusWidget() == Label4) {
        if (Command1->isEnabled())
            Command1->setFocus(Qt::OtherFocusReason);
        else
            picPlace[cursor_]->setFocus(Qt::OtherFocusReason);
    }
    // The keyboard comes back with the game, also where no window manager hands it over;
    // never taken from another program while the player is there.
    if (isVisible() && !isActiveWindow() && QApplication::activeWindow() != nullptr)
        activateWindow();
}

void frmQuintagrid::resetCellColours()
{
    for (PictureBox *cell : picPlace)
        cell->setBackColor(game::NormalCellColour);
}

bool frmQuintagrid::cardWaiting() const
{
    int placed = 0;
    for (int i = 0; i < game::CellCount; ++i)
        placed += board_.occupied(i) ? 1 : 0;
    return !shuffling_ && !firstdeal_ && dealing_.dealtcount == placed + 1;
}

void frmQuintagrid::describeCells()
{
    // A screen reader hears every renaming: only what changed is set. The name says, in the
    // one short line a screen reader speaks as the cursor arrives, what a cell holds and,
    // while a card waits, whether the cell takes it. What changes on a placement is announced.
    const bool waiting = cardWaiting();
    for (int i = 0; i < game::CellCount; ++i) {
        QString name = QStringLiteral("Row %1, column %2, ")
                           .arg(game::cellRow(i) + 1)
                           .arg(game::cellColumn(i) + 1);
        if (board_.occupied(i))
            name += qtext(game::cardName(board_.card(i)));
        else if (!waiting)
            name += QStringLiteral("empty");
        else if (board_.accepts(i))
            name += QStringLiteral("empty, takes the card");
        else
            name += QStringLiteral("empty, does not take the card");
        if (picPlace[i]->accessibleName() != name)
            picPlace[i]->setAccessibleName(name);
    }
}

void frmQuintagrid::endProgram()
{
    // From here on nothing more of the game happens: every running wait returns at once and
    // the code after it sees ending_ and stops.
    ending_ = true;
    shared_.platform.pacer.stop();
    shared_.platform.windows.endProcess();
}

} // namespace ui
