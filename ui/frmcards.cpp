// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmcards.h"

#include "art/art.h"

namespace ui {

namespace {

struct Face
{
    int number;
    const char *word;
    bool pressed;
};

// Which word and which state each store entry shows.
constexpr std::array<Face, 14> faces = {{
    {2, "Begin", false},
    {3, "Exit", false},
    {4, "High Scores", false},
    {5, "Minimize", false},
    {6, "Begin", true},
    {7, "Exit", true},
    {8, "High Scores", true},
    {9, "Minimize", true},
    {10, "About", false},
    {11, "About", true},
    {12, "OK", false},
    {13, "OK", true},
    {14, "Clear", false},
    {15, "Clear", true},
}};

} // namespace

frmCards::frmCards()
{
    for (int index = 0; index < 52; ++index) {
        const auto id = static_cast<game::CardId>(index + 1);
        picCard_[index] =
            std::make_shared<Picture>(QString::fromStdString(game::cardName(id)), art::CardSize,
                                      [id](QPainter &p) { art::paintCard(p, id); });
    }
    for (const Face &face : faces) {
        const QString description = QString::fromLatin1(face.word)
            + (face.pressed ? QStringLiteral(", pressed") : QStringLiteral(", released"));
        pictures_[face.number] =
            std::make_shared<Picture>(description, art::FaceSize, [face](QPainter &p) {
                art::paintButtonFace(p, face.word, face.pressed);
            });
    }
}

} // namespace ui
