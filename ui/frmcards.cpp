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

struct FaceArt
{
    Face face;
    const char *word;
    bool pressed;
};

// Which word and which state each store entry shows.
constexpr std::array<FaceArt, 14> faces = {{
    {Face::BeginReleased, "Begin", false},
    {Face::ExitReleased, "Exit", false},
    {Face::HighScoresReleased, "High Scores", false},
    {Face::MinimizeReleased, "Minimize", false},
    {Face::BeginPressed, "Begin", true},
    {Face::ExitPressed, "Exit", true},
    {Face::HighScoresPressed, "High Scores", true},
    {Face::MinimizePressed, "Minimize", true},
    {Face::AboutReleased, "About", false},
    {Face::AboutPressed, "About", true},
    {Face::OkReleased, "OK", false},
    {Face::OkPressed, "OK", true},
    {Face::ClearReleased, "Clear", false},
    {Face::ClearPressed, "Clear", true},
}};

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
    for (const FaceArt &face : faces) {
        const QString description = qtext(face.word)
            + (face.pressed ? QStringLiteral(", pressed") : QStringLiteral(", released"));
        pictures_[static_cast<std::size_t>(face.face)] =
            std::make_shared<Picture>(description, art::FaceSize, [face](QPainter &p) {
                art::paintButtonFace(p, face.word, face.pressed);
            });
    }
}

} // namespace ui
