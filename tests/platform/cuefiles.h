// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the sound tool, so the tests check the files that the build gives the game.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace support {

// Writes tick1.wav, tick2.wav and highscre.wav into `directory`; true when the tool succeeded.
[[nodiscard]] inline bool writeCueFiles(const QString &directory)
{
    QProcess tool;
    tool.start(QStringLiteral(QUINTAGRID_MAKESOUNDS), {directory});
    return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit
        && tool.exitCode() == 0;
}

} // namespace support
