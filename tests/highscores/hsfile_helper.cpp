// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Loads and saves the high-score file through the real code, in a process of its own, so
// that tests can run it as another user, under a file size limit, or kill it mid-save.
//
//   hsfile_helper [--file-size-limit BYTES] DIRECTORY load
//       prints the load outcome on one line, then the table as file records
//   hsfile_helper [--file-size-limit BYTES] DIRECTORY save a|b
//       saves table a or b; exit status 0 when saved, 3 when not
//   hsfile_helper DIRECTORY stress
//       saves tables a and b in turn until killed, printing a line after each save
#include "tests/highscores/savetables.h"

#include "highscores/highscores.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int SaveFailed = 3;

int usage()
{
    std::fputs(
        "usage: hsfile_helper [--file-size-limit BYTES] DIRECTORY load|save a|save b|stress\n",
        stderr);
    return 2;
}

// Every later write that would make a file longer than this is cut short, as on a full disk.
// SIGXFSZ keeps its default action: a write begun past the limit ends the helper, as it would
// end the game.
bool limitFileSize(const char *bytes)
{
    const rlim_t limit = std::strtoull(bytes, nullptr, 10);
    const rlimit value {limit, limit};
    return setrlimit(RLIMIT_FSIZE, &value) == 0;
}

const char *outcomeName(highscores::LoadOutcome outcome)
{
    switch (outcome) {
    case highscores::LoadOutcome::Read:
        return "Read";
    case highscores::LoadOutcome::Incomplete:
        return "Incomplete";
    case highscores::LoadOutcome::Unreadable:
        return "Unreadable";
    case highscores::LoadOutcome::Created:
        return "Created";
    case highscores::LoadOutcome::CreateFailed:
        return "CreateFailed";
    }
    return "?";
}

} // namespace

int main(int argc, char *argv[])
{
    int at = 1;
    if (argc > at + 1 && std::string_view(argv[at]) == "--file-size-limit") {
        if (!limitFileSize(argv[at + 1]))
            return usage();
        at += 2;
    }
    if (argc < at + 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[at])))
        return usage();
    const std::string_view command = argv[at + 1];

    if (command == "load" && argc == at + 2) {
        highscores::HighScoreTable table;
        const highscores::LoadOutcome outcome = highscores::loadhighscores(table);
        std::printf("%s\n", outcomeName(outcome));
        const QByteArray records = highscores::formatHighScores(table);
        std::fwrite(records.data(), 1, size_t(records.size()), stdout);
        return 0;
    }
    if (command == "save" && argc == at + 3) {
        const std::string_view which = argv[at + 2];
        if (which != "a" && which != "b")
            return usage();
        return highscores::savehighscores(savetables::table(which[0])) ? 0 : SaveFailed;
    }
    if (command == "stress" && argc == at + 2) {
        const highscores::HighScoreTable tables[] = {savetables::table('a'),
                                                     savetables::table('b')};
        for (unsigned long n = 0;; ++n) {
            if (!highscores::savehighscores(tables[n % 2]))
                return SaveFailed;
            // Unbuffered, so the test sees each save as soon as it is done.
            const char line[] = "saved\n";
            if (write(STDOUT_FILENO, line, sizeof line - 1) < 0)
                return 1;
        }
    }
    return usage();
}
