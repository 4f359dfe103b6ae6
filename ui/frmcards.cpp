// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmcards.h"
#include "ui/text.h"

#include "ui/art/art.h"

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

} // namespace

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
