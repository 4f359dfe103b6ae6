// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The file that keeps the high-score table between runs. Nothing here is ever reported to the
// player: whatever happens to the file, the table in memory stays usable.
#pragma once

#include "highscores/table.h"

#include <QString>

namespace highscores {

inline const QString FileName = QStringLiteral("tavrinhs"); // in the current directory

// What loadhighscores found; start-up goes on the same way whatever it was.
enum class LoadOutcome {
    Read,         // ten records read
    Incomplete,   // reading stopped early; the items read so far replaced the old ones
    Unreadable,   // something is there but cannot be read (a directory, a FIFO, a socket, a
                  // device, no permission)
    Created,      // no file: created with ten default entries
    CreateFailed, // no file, and none could be created: the table holds the defaults
};

// Reads the table from the file as readHighScores() does, or, when there is no file, puts the
// default entries in the table and creates the file with them. A file that is there is never
// changed by loading.
LoadOutcome loadhighscores(HighScoreTable &table, const QString &path = FileName);

// Replaces the file's content with slots 1..10 of the table. The file on disk holds either
// its old records or the new ones, never a mix or a part, whenever the save is stopped (killed,
// a full disk, a file size limit). Where the old file may be written but not replaced (a
// read-only directory, or a sticky one and another user's file), it is rewritten in place:
// then the new records may be followed for a moment by the end of the old ones, which the
// reader never reaches. Anything at the path that is not a regular file, and a file without
// write permission, is left alone. A successful save removes what interrupted saves of this
// user left beside the file, which they name ".tavrinhs.quintagrid-save-" and six letters or
// digits. Returns false when the file was left as it was.
bool savehighscores(const HighScoreTable &table, const QString &path = FileName);

} // namespace highscores
