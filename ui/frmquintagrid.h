// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the board, the offered card, the score labels and the five commands.
#pragma once

#include "ui/controls.h"
#include "ui/framelesswindow.h"
#include "ui/frmcards.h"

#include "game/board.h"
#include "game/deal.h"
#include "scoring/scoring.h"

#include <array>

namespace ui {

class Forms;
struct Shared;

class frmQuintagrid final : public FramelessWindow
{
    Q_OBJECT

public:
    frmQuintagrid(Shared &shared, Forms &forms);
    ~frmQuintagrid() override;

    // Start-up, before the window is first shown: reads the high scores, seeds the random
    // source and clears the board.
    void Form_Load();

    // Empties the game: board, offered card, score labels, and the results of the last game.
    void clearall();
    // The game controller. Opens a game (the shuffle, the opening card top-left, the first
    // card to place), deals the next card after a placement, or scores the full board.
    void main();
    // Draws the next card and shows it beside the board.
    void deal();
    void landvalues();
    void checkhands();
    void displayscores();
    void showhighscores();

    void Command1_Click(); // Begin
    void Command2_Click(); // High Scores
    void Command3_Click(); // Exit
    void Command4_Click(); // Minimize
    void Command5_Click(); // About
    void picPlace_Click(int Index);
    void picPlace_MouseMove(int Index);
    void Form_MouseMove(Qt::MouseButtons buttons, float x, float y) override;
    // A close request from outside the program: save, close the other windows, end.
    void Form_QueryUnload();

    std::array<PictureBox *, game::CellCount> picPlace {};
    PictureBox *picDealt = nullptr;
    PictureButton *Command1 = nullptr;
    PictureButton *Command2 = nullptr;
    PictureButton *Command3 = nullptr;
    PictureButton *Command4 = nullptr;
    PictureButton *Command5 = nullptr;
    std::array<CaptionLabel *, game::BoardSide> riviarvo {};
    std::array<CaptionLabel *, game::BoardSide> Label1 {};
    std::array<CaptionLabel *, 8> Label2 {};
    std::array<CaptionLabel *, 8> Label3 {};
    CaptionLabel *Label4 = nullptr;
    CaptionLabel *Label5 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class TestAccess;

    // Makes the cell the keyboard's cell: the board's one stop in the Tab order, moved with
    // the arrow keys.
    void moveCursor(int Index);
    PictureButton *makeButton(std::string_view name, FacePair faces,
                              void (frmQuintagrid::*command)());
    void resetCellColours();
    void describeCells();
    void showCursorColour();
    // Whether a dealt card waits to be placed.
    [[nodiscard]] bool cardWaiting() const;
    // The name of the card on offer.
    [[nodiscard]] QString offeredName() const;
    void endProgram();

    Shared &shared_;
    Forms &forms_;
    game::Board board_;
    game::Dealing dealing_;
    bool firstdeal_ = true;
    scoring::Table8 cardvalues_ {};
    scoring::Table8 cardsuits_ {};
    scoring::Line8 rowscores_ {};
    scoring::Line8 colscores_ {};
    bool shuffling_ = false;
    bool scoring_ = false;
    bool ending_ = false; // from Exit or a close request on: nothing more of the game happens
    int cursor_ = 0;      // the keyboard's cell
};

} // namespace ui
