// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmcards.h"
#include "ui/text.h"

#include "ui/art/art.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace ui {

namespace {

// The word on each button's two faces, in the order of ButtonFaces.
constexpr std::array<const char *, ButtonFaces.size()> buttonWords = {
    "Begin", "Exit", "High Scores", "Minimize", "About", "OK", "Clear"};

// Draws the store's card faces ahead of need, once the window has been painted.
class CardsAhead final : public QObject
{
public:
    CardsAhead(const frmCards &store, QWidget *window)
        : QObject(window)
        , store_(store)
        , window_(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            window_->removeEventFilter(this);
            // A turn after the paint, the frame is on screen and what the paint queued has run.
            QTimer::singleShot(0, this,
                               [this] { QTimer::singleShot(0, this, [this] { draw(); }); });
        }
        return false;
    }

private:
    // A few faces a turn keep the window quick to answer a click meanwhile.
    static constexpr int PerTurn = 4;

    void draw()
    {
        if (!window_->isVisible()) { // the game has ended
            deleteLater();
            return;
        }
        const qreal ratio = window_->devicePixelRatioF();
        for (int n = 0; n < PerTurn && next_ < game::DeckSize; ++n, ++next_)
            (void)store_.picCard(next_)->pixmap(ratio);
        if (next_ < game::DeckSize)
            QTimer::singleShot(0, this, [this] { draw(); });
        else
            deleteLater();
    }

    const frmCards &store_;
    QWidget *window_;
    int next_ = 0;
};

} // namespace

void frmCards::drawCardsAfterFirstPaint(QWidget *window) const
{
    new CardsAhead(*this, window); // owned by the window
}

frmCards::frmCards()
{
    for (int index = 0; index < game::DeckSize; ++index) {
        const auto id = static_cast<game::CardId>(index + 1);
        picCard_[index] = std::make_shared<Picture>(qtext(game::cardName(id)), art::CardSize,
                                                    [id](QPainter &p) { art::paintCard(p, id); });
    }
    for (std::size_t button = 0; button < ButtonFaces.size(); ++button) {
        const char *word = buttonWords[button];
        // The outline is made here, where the fonts are used, so that the faces can be drawn
        // ahead on a worker.
        const QPainterPath lettering = art::buttonLettering(word);
        for (const bool pressed : {false, true}) {
            const Face face = pressed ? ButtonFaces[button].pressed : ButtonFaces[button].released;
            const QString description = qtext(word)
                + (pressed ? QStringLiteral(", pressed") : QStringLiteral(", released"));
            pictures_[static_cast<std::size_t>(face)] = std::make_shared<Picture>(
                description, art::FaceSize, [word, lettering, pressed](QPainter &p) {
                    art::paintButtonFace(p, word, lettering, pressed);
                });
        }
    }
}

} // namespace ui
