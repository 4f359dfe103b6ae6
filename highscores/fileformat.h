// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score file's content: ten records, one a line, each a quoted name, a comma and a
// score. Written exactly one way; read leniently, the way people edit such files by hand.
#pragma once

#include "highscores/table.h"

#include <QByteArray>

class QIODevice;

namespace highscores {

// The longest record line read, without its line end. Anything longer ends the reading.
inline constexpr int MaxRecordBytes = 4096;
// The longest name read: one that still fits a record when written back with any score, with
// its two quotes, the comma and "-32768".
inline constexpr int MaxNameBytes = MaxRecordBytes - 9;
// A name item and a score item per slot.
inline constexpr int ItemCount = 2 * Slots;

// The file content for slots 1..10: per slot `"name",score` and CR LF, nothing before or after.
// Names are written one byte per character (Latin-1), as they stand; a name only reads back
// unchanged when it holds what storableName() lets through.
[[nodiscard]] QByteArray formatHighScores(const HighScoreTable &table);

// Reads slots 1..10 in order, a name item then a score item each, from one record a line:
// - a line ends with LF or CR LF, and the last one may have no line end at all;
// - blanks and tabs may stand before the name, around the comma and after the score;
// - a name in double quotes is everything up to the next double quote on the same line;
//   an unquoted name runs to the first comma, without the blanks around it, and holds no
//   double quote; a name has at most MaxNameBytes characters;
// - a score is an optional minus sign and 1 to 5 digits, within -32768..32767;
// - bytes 0x80..0xFF are Latin-1 characters.
// The first item that breaks these rules, or that a record line over MaxRecordBytes or the
// end of the input leaves unread, ends the reading: every item before it keeps its new value,
// that item and all later ones keep their old values. Nothing after the tenth record is read.
// Returns the number of items read, ItemCount when all ten records were read.
int readHighScores(QIODevice &in, HighScoreTable &table);

// readHighScores() on content in memory.
int parseHighScores(const QByteArray &content, HighScoreTable &table);

} // namespace highscores
