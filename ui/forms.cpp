#include "forms.h"

#include "frmabout.h"
#include "frmcards.h"
#include "frmentername.h"
#include "frmhighscores.h"
#include "frmquintagrid.h"
#include "platform/platform.h"

#include <QApplication>
#include <QWindow>

namespace ui {

Forms::Forms(platform::Platform &platformOps, highscores::Module1 &shared)
    : platform(platformOps)
    , module1(shared)
    , main_(std::make_unique<frmQuintagrid>(*this))
{ }

Forms::~Forms()
{
    exiting_ = true;
    delete highScores_;
    delete enterName_;
    delete about_;
    for (const QPointer<QWidget> &window : unloaded_)
        delete window;
}

const frmCards &Forms::cards()
{
    if (!cards_)
        cards_ = std::make_unique<frmCards>();
    return *cards_;
}

frmHighScores *Forms::highScores() const
{
    return highScores_;
}
frmEnterName *Forms::enterName() const
{
    return enterName_;
}
frmAbout *Forms::about() const
{
    return about_;
}

namespace {

template<typename Window>
void showLoaded(QPointer<Window> &window, Forms &forms)
{
    if (!window) {
        window = new Window(forms);
        forms.platform.windows.setOwner(window, &forms.mainWindow(),
                                        [opened = QPointer<Window>(window)](bool activated) {
                                            if (opened)
                                                opened->ownerCameForward(activated);
                                        });
        platform::centreOnScreen(window);
        window->Form_Load();
    }
    // A window that opens while the player is in another program (the count-up ended
    // meanwhile) leaves that program the keyboard; it takes it when the game is picked again.
    const bool gameActive = QApplication::activeWindow() != nullptr;
    window->setAttribute(Qt::WA_ShowWithoutActivating, !gameActive);
    // The native window exists already, and Qt reads the wish from it when it maps the window.
    if (QWindow *handle = window->windowHandle())
        handle->setProperty("_q_showWithoutActivating", !gameActive);
    window->show();
    forms.platform.windows.bringToFront(window);
    if (gameActive)
        window->activateWindow();
}

} // namespace

void Forms::showHighScores()
{
    showLoaded(highScores_, *this);
}
void Forms::showEnterName()
{
    showLoaded(enterName_, *this);
}
void Forms::showAbout()
{
    showLoaded(about_, *this);
}

template<typename Window>
void Forms::unload(QPointer<Window> &window)
{
    if (!window)
        return;
    // The window may be running one of its own handlers right now: it disappears at once and
    // is deleted when control is back in the event loop.
    window->Timer1.stop();
    window->hide();
    window->deleteLater();
    unloaded_.emplace_back(window.data());
    window = nullptr;
}

void Forms::unloadHighScores()
{
    unload(highScores_);
}
void Forms::unloadEnterName()
{
    unload(enterName_);
}
void Forms::unloadAbout()
{
    unload(about_);
}

void Forms::unloadForExit()
{
    exiting_ = true;
    unload(highScores_);
    unload(enterName_);
    cards_.reset();
    unload(about_);
}

} // namespace ui
