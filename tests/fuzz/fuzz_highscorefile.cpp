// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the high-score file reader. Whatever the input, the reader may only
// change slots 1..10, item by item in order, and everything it reads must survive being
// written back and read again.
#include "highscores/highscores.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool holds, const char *what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// Marks in every slot, the unused ones included, so that any change shows.
highscores::HighScoreTable marked()
{
    highscores::HighScoreTable table;
    for (int k = 0; k <= 12; ++k) {
        table.hsnames[k] = QStringLiteral("mark%1").arg(k);
        table.hsscores[k] = static_cast<std::int16_t>(-1000 - k);
    }
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace highscores;
    const QByteArray content =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const HighScoreTable before = marked();
    HighScoreTable table = before;
    const int items = parseHighScores(content, table);
    check(items >= 0 && items <= ItemCount, "item count within 0..20");

    for (int k : {0, 11, 12}) {
        check(table.hsnames[k] == before.hsnames[k], "no name outside slots 1..10 changes");
        check(table.hsscores[k] == before.hsscores[k], "no score outside slots 1..10 changes");
    }
    for (int k = 1; k <= Slots; ++k) {
        const int nameItem = 2 * k - 1;
        if (items < nameItem)
            check(table.hsnames[k] == before.hsnames[k], "names after the stop keep old values");
        if (items < nameItem + 1)
            check(table.hsscores[k] == before.hsscores[k], "scores after the stop keep old values");
        check(table.hsnames[k].size() <= MaxNameBytes, "names fit a record");
        for (const QChar c : table.hsnames[k])
            check(c.unicode() <= 0xFF && c != u'"' && c != u'\n', "names are storable");
        check(table.hsscores[k] >= -32768 && table.hsscores[k] <= 32767, "scores are 16-bit");
    }

    HighScoreTable again;
    check(parseHighScores(formatHighScores(table), again) == ItemCount,
          "what was read is written back as ten whole records");
    for (int k = 1; k <= Slots; ++k) {
        check(again.hsnames[k] == table.hsnames[k], "names read back unchanged");
        check(again.hsscores[k] == table.hsscores[k], "scores read back unchanged");
    }
    return 0;
}
