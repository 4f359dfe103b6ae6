// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows, as the design names them. The main window lives for the whole run;
// a secondary window exists only while it is open, so every opening starts afresh; the image
// store is built the first time a picture is taken from it.
#pragma once

#include <QPointer>

#include <memory>
#include <vector>

class QWidget;

namespace ui {

struct Shared;
class SecondaryWindow;
class frmAbout;
class frmCards;
class frmEnterName;
class frmHighScores;
class frmQuintagrid;

class Forms
{
public:
    explicit Forms(Shared &shared);
    ~Forms();
    Forms(const Forms &) = delete;
    Forms &operator=(const Forms &) = delete;

    [[nodiscard]] frmQuintagrid &mainWindow() { return *main_; }
    [[nodiscard]] const frmCards &cards();
    // The high-score window while it is loaded, else null.
    [[nodiscard]] frmHighScores *highScores() const;

    // Loads the window if needed and shows it without making it modal.
    void showHighScores();
    void showEnterName();
    void showAbout();

    // Closes the window and discards it.
    void unloadHighScores();
    void unloadEnterName();
    void unloadAbout();
    // Unloads whichever of the three the window is.
    void unloadWindow(const SecondaryWindow *window);

    // On the way out: closes the high-score window, the name entry, the image store and the
    // About window, in that order. None of them runs its own close behaviour.
    void unloadForExit();
    [[nodiscard]] bool exiting() const { return exiting_; }

private:
    friend class TestAccess;

    template<typename Window>
    void unload(QPointer<Window> &window);

    Shared &shared_;
    std::unique_ptr<frmCards> cards_; // before the main window, which takes pictures from it
    std::unique_ptr<frmQuintagrid> main_;
    QPointer<frmHighScores> highScores_;
    QPointer<frmEnterName> enterName_;
    QPointer<frmAbout> about_;
    // Unloaded windows whose deletion waits for their own handlers to return.
    std::vector<QPointer<QWidget>> unloaded_;
    bool exiting_ = false;
};

} // namespace ui
