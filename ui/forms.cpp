// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/forms.h"

#include "ui/frmabout.h"
#include "ui/frmcards.h"
#include "ui/frmentername.h"
#include "ui/frmhighscores.h"
#include "ui/frmquintagrid.h"
#include "ui/shared.h"

#include "ui/platform/platform.h"

#include <QApplication>

namespace ui {

Forms::Forms(Shared &shared)
    : shared_(shared)
    , main_(std::make_unique<frmQuintagrid>(shared, *this))
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

namespace {

void present(QWidget *window, platform::WindowSystem &windows)
{
    window->show();
    windows.bringToFront(window);
    window->activateWindow();
}

// Shows a loaded window once the player is back in the game, its main window active again.
class ShowOnReturn final : public QObject
{
public:
    ShowOnReturn(SecondaryWindow *window, Forms &forms, platform::WindowSystem &windows)
        : QObject(window)
        , window_(window)
        , forms_(forms)
        , windows_(windows)
    {
        forms.mainWindow().installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        // A window unloaded meanwhile has its timer stopped and stays hidden.
        if (event->type() == QEvent::WindowActivate && window_->Timer1.isActive()
            && !forms_.exiting()) {
            present(window_, windows_);
            deleteLater();
        }
        return false;
    }

private:
    SecondaryWindow *window_;
    Forms &forms_;
    platform::WindowSystem &windows_;
};

template<typename Window>
void showLoaded(QPointer<Window> &window, Forms &forms, Shared &shared)
{
    platform::WindowSystem &windows = shared.platform.windows;
    if (!window) {
        window = new Window(shared, forms);
        // Placed before its native window exists: some X window managers (weston's) place a
        // window where it was created and ignore a later move.
        platform::centreOnScreen(window);
        windows.setOwner(window, &forms.mainWindow(),
                         [opened = QPointer<Window>(window)](bool activated) {
                             if (opened)
                                 opened->ownerCameForward(activated);
                         });
        window->Form_Load();
    }
    // A window that opens while the player is in another program (the count-up ended
    // meanwhile) waits, loaded, until the game is picked again: shown at once, a window
    // manager could stack it over that program or hand it the keyboard.
    if (QApplication::activeWindow() == nullptr) {
        new ShowOnReturn(window, forms, windows);
        return;
    }
    present(window, windows);
}

} // namespace

frmHighScores *Forms::highScores() const
{
    return highScores_;
}

void Forms::showHighScores()
{
    showLoaded(highScores_, *this, shared_);
}
void Forms::showEnterName()
{
    showLoaded(enterName_, *this, shared_);
}
void Forms::showAbout()
{
    showLoaded(about_, *this, shared_);
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

void Forms::unloadWindow(const SecondaryWindow *window)
{
    if (window == highScores_.data())
        unload(highScores_);
    else if (window == enterName_.data())
        unload(enterName_);
    else if (window == about_.data())
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
