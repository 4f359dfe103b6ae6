#include "highscores.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace highscores {

void resethighscores(HighScoreTable &table)
{
    for (int k = 1; k <= Slots; ++k) {
        table.hsscores[k] = 0;
        table.hsnames[k] = DefaultName;
    }
}

void sortHighScores(HighScoreTable &table)
{
    for (int gap = 5; gap > 0; gap /= 2) {
        for (int i = gap; i <= 9; ++i) {
            for (int j = i - gap + 1; j >= 1; j -= gap) {
                if (table.hsscores[j] >= table.hsscores[j + gap])
                    break;
                std::swap(table.hsscores[j], table.hsscores[j + gap]);
                std::swap(table.hsnames[j], table.hsnames[j + gap]);
            }
        }
    }
}

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

int parseHighScores(const QByteArray &content, HighScoreTable &table)
{
    qsizetype at = 0;
    for (int k = 1; k <= Slots; ++k) {
        if (at >= content.size() || content[at] != '"')
            return k - 1;
        const qsizetype close = content.indexOf('"', at + 1);
        if (close < 0)
            return k - 1;
        table.hsnames[k] = QString::fromLatin1(content.mid(at + 1, close - at - 1));
        at = close + 1;
        if (at >= content.size() || content[at] != ',')
            return k - 1;
        ++at;
        const qsizetype end = content.indexOf("\r\n", at);
        bool ok = false;
        const int score = content.mid(at, end < 0 ? -1 : end - at).toInt(&ok);
        if (!ok || score < -32768 || score > 32767)
            return k - 1;
        table.hsscores[k] = static_cast<std::int16_t>(score);
        at = end < 0 ? content.size() : end + 2;
    }
    return Slots;
}

LoadOutcome loadhighscores(HighScoreTable &table, const QString &path)
{
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        resethighscores(table);
        return savehighscores(table, path) ? LoadOutcome::Created : LoadOutcome::CreateFailed;
    }
    if (!file.open(QIODevice::ReadOnly))
        return LoadOutcome::Incomplete;
    return parseHighScores(file.readAll(), table) == Slots ? LoadOutcome::Read
                                                           : LoadOutcome::Incomplete;
}

bool savehighscores(const HighScoreTable &table, const QString &path)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(formatHighScores(table));
    return file.commit();
}

bool admitScore(Module1 &module1)
{
    std::int16_t lowest = 10000;
    for (int k = 1; k <= Slots; ++k) {
        if (module1.table.hsscores[k] < lowest) {
            lowest = module1.table.hsscores[k];
            module1.lowestslot = static_cast<std::int16_t>(k);
        }
    }
    if (module1.gamescore <= lowest)
        return false;
    module1.table.hsscores[module1.lowestslot] = module1.gamescore;
    return true;
}

void acceptName(Module1 &module1, const QString &typed)
{
    module1.enteredname = typed;
    module1.table.hsnames[module1.lowestslot] = module1.enteredname;
}

QString storableName(const QString &typed)
{
    QString name;
    for (const QChar c : typed) {
        if (c.unicode() > 0xFF || c == u'"' || c == u'\r' || c == u'\n')
            continue;
        name += c;
    }
    return name;
}

} // namespace highscores
