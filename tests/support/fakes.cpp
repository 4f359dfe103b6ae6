// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/fakes.h"

#include <QCoreApplication>

#include <algorithm>

namespace support {

void FakeClock::dispatch(std::uint32_t maxWaitMs)
{
    ++dispatches;
    waitsAsked.push_back(maxWaitMs);
    QCoreApplication::processEvents();
    if (onDispatch)
        onDispatch(dispatches);
    now_ += maxWaitMs;
}

int RecordingSoundPlayer::count(platform::Cue cue) const
{
    return int(std::count(played.begin(), played.end(), cue));
}

int FakeWindowSystem::askYesNo(QWidget *, const QString &text, const QString &title)
{
    questions << title + QStringLiteral(": ") + text;
    if (whileAsking)
        whileAsking();
    if (answers.empty())
        return platform::AnswerYes;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace support
