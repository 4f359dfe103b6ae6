// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "highscores/fileformat.h"

#include <QBuffer>
#include <QIODevice>

#include <limits>
#include <optional>

namespace highscores {

namespace {

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

qsizetype skipBlanks(const QByteArray &line, qsizetype at)
{
    while (at < line.size() && isBlank(line[at]))
        ++at;
    return at;
}

// The next record without its line end; nothing when the input has ended or the line is
// longer than a record may be. Never takes more than one record's worth of bytes.
std::optional<QByteArray> readRecordLine(QIODevice &in)
{
    // readLine(n) returns at most n - 1 bytes: a whole record and its CR LF.
    QByteArray line = in.readLine(MaxRecordBytes + 3);
    if (line.isEmpty())
        return std::nullopt;
    if (line.endsWith('\n'))
        line.chop(1);
    else if (!in.atEnd())
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.size() > MaxRecordBytes)
        return std::nullopt;
    return line;
}

// The score item in line[at..], blanks after it allowed.
std::optional<std::int16_t> scoreItem(const QByteArray &line, qsizetype at)
{
    qsizetype end = line.size();
    while (end > at && isBlank(line[end - 1]))
        --end;
    const bool negative = at < end && line[at] == '-';
    if (negative)
        ++at;
    if (end - at < 1 || end - at > 5)
        return std::nullopt;
    int value = 0;
    for (; at < end; ++at) {
        if (line[at] < '0' || line[at] > '9')
            return std::nullopt;
        value = value * 10 + (line[at] - '0');
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int16_t>::min()
        || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

// Reads one record's items into slot k. Returns how many it read: 2, or fewer when an item
// was bad, which ends the reading.
int readRecord(const QByteArray &line, HighScoreTable &table, int k)
{
    qsizetype at = skipBlanks(line, 0);
    QByteArray name;
    if (at < line.size() && line[at] == '"') {
        const qsizetype close = line.indexOf('"', at + 1);
        if (close < 0)
            return 0;
        name = line.sliced(at + 1, close - at - 1);
        at = close + 1;
    } else {
        const qsizetype comma = line.indexOf(',', at);
        if (comma < 0)
            return 0;
        name = line.sliced(at, comma - at);
        while (!name.isEmpty() && isBlank(name.back()))
            name.chop(1);
        // A quote here would not survive being written back between quotes.
        if (name.contains('"'))
            return 0;
        at = comma;
    }
    if (name.size() > MaxNameBytes)
        return 0;
    table.hsnames[k] = QString::fromLatin1(name);

    at = skipBlanks(line, at);
    if (at >= line.size() || line[at] != ',')
        return 1;
    const std::optional<std::int16_t> score = scoreItem(line, skipBlanks(line, at + 1));
    if (!score)
        return 1;
    table.hsscores[k] = *score;
    return 2;
}

} // namespace

QByteArray formatHighScores(const HighScoreTable &table)
{
    QByteArray content;
    for (int k = 1; k <= Slots; ++k) {
        content += '"';
        content += table.hsnames[k].toLatin1();
        content += "\",";
        content += QByteArray::number(table.hsscores[k]);
        content += "\r\n";
    }
    return content;
}

int readHighScores(QIODevice &in, HighScoreTable &table)
{
    int items = 0;
    for (int k = 1; k <= Slots; ++k) {
        const std::optional<QByteArray> line = readRecordLine(in);
        if (!line)
            return items;
        const int read = readRecord(*line, table, k);
        items += read;
        if (read < 2)
            return items;
    }
    return items;
}

int parseHighScores(const QByteArray &content, HighScoreTable &table)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    return readHighScores(buffer, table);
}

} // namespace highscores
