#include "qtsoundplayer.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

#include <map>

namespace platform {

namespace {

[[nodiscard]] QString pathOf(const char *fileName)
{
    return QDir::current().absoluteFilePath(QString::fromLocal8Bit(fileName));
}

// A sound read from a file, with the file's size and time as they were just before reading.
struct Loaded
{
    std::unique_ptr<QSoundEffect> effect;
    qint64 size = -1;
    QDateTime modified;
};

} // namespace

struct QtSoundPlayer::Cues
{
    std::function<void()> alert;
    std::map<QString, Loaded> loaded; // by absolute path
    // The latest cue's sound, the only one that may be heard; `waiting` while it has not
    // started yet because it is still loading.
    QSoundEffect *current = nullptr;
    bool waiting = false;
    int loads = 0;

    // Runs at the cue and at each change of the sound's loading status.
    void start(QSoundEffect *effect)
    {
        if (effect != current || !waiting)
            return;
        switch (effect->status()) {
        case QSoundEffect::Loading:
            return;
        case QSoundEffect::Ready:
            waiting = false;
            effect->play();
            return;
        case QSoundEffect::Null:
        case QSoundEffect::Error:
            waiting = false;
            current = nullptr;
            alert();
            return;
        }
    }

    void load(Loaded &sound, const QString &path, const QFileInfo &file)
    {
        sound.size = file.size();
        sound.modified = file.lastModified();
        sound.effect = std::make_unique<QSoundEffect>();
        QSoundEffect *effect = sound.effect.get();
        QObject::connect(effect, &QSoundEffect::statusChanged, effect,
                         [this, effect] { start(effect); });
        // Qt keeps the samples it has read by URL and hands a kept one to a new sound, even
        // when the file has changed since; Qt 6.4 also keeps a sample that failed and never
        // tries it again. A URL of its own for every reading makes each one read the file.
        QUrl url = QUrl::fromLocalFile(path);
        url.setQuery(QStringLiteral("reading=%1").arg(++loads));
        effect->setSource(url);
    }
};

QtSoundPlayer::QtSoundPlayer(std::function<void()> alert)
    : cues_(std::make_unique<Cues>())
{
    cues_->alert = alert ? std::move(alert) : [] { QApplication::beep(); };
}

QtSoundPlayer::~QtSoundPlayer()
{
    cues_->current = nullptr;
    cues_->loaded.clear();
}

void QtSoundPlayer::play(const char *fileName)
{
    Cues &cues = *cues_;
    if (cues.current != nullptr)
        cues.current->stop();
    cues.current = nullptr;

    const QString path = pathOf(fileName);
    const QFileInfo file(path);
    if (!file.isFile()) {
        cues.loaded.erase(path);
        cues.alert();
        return;
    }
    Loaded &sound = cues.loaded[path];
    if (!sound.effect || sound.size != file.size() || sound.modified != file.lastModified())
        cues.load(sound, path, file);
    cues.current = sound.effect.get();
    cues.waiting = true;
    cues.start(cues.current);
}

int QtSoundPlayer::loads() const
{
    return cues_->loads;
}

const QSoundEffect *QtSoundPlayer::soundFor(const char *fileName) const
{
    const auto found = cues_->loaded.find(pathOf(fileName));
    return found == cues_->loaded.end() ? nullptr : found->second.effect.get();
}

} // namespace platform
