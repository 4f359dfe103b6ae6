#include "highscores/storage.h"

#include "highscores/fileformat.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace highscores {

LoadOutcome loadhighscores(HighScoreTable &table, const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return readHighScores(file, table) == ItemCount ? LoadOutcome::Read
                                                        : LoadOutcome::Incomplete;
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return LoadOutcome::Unreadable;
    resethighscores(table);
    return savehighscores(table, path) ? LoadOutcome::Created : LoadOutcome::CreateFailed;
}

bool savehighscores(const HighScoreTable &table, const QString &path)
{
    // Written to a new file beside the old one and renamed over it, never truncated first:
    // dying or running out of disk half-way through must not cost the player every score.
    QSaveFile file(path);
    // A read-only directory may still hold a writable file: that one is rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray content = formatHighScores(table);
    // QSaveFile would commit a short write (a full disk) as if it were whole; flushing first
    // shows it.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

} // namespace highscores
