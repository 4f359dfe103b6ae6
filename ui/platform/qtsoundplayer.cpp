// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtsoundplayer.h"

#include <QApplication>
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QString>
#include <QUrl>
#include <QtEndian>

#include <map>

namespace platform {

namespace {

// A larger file is not taken as a cue: reading it would hold up the game.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

// Numbers every file reading in the process, as Qt's store of samples serves the whole process.
int readingsInProcess = 0;

[[nodiscard]] QString pathOf(const char *fileName)
{
    return QDir::current().absoluteFilePath(QString::fromLocal8Bit(fileName));
}

// True when `bytes` hold a RIFF wave with a format chunk and every byte up to the end of its
// sample data. Qt waits for ever for the missing end of a cut-short file, and while one load
// waits, letting go of any other sound hangs the thread that does it.
[[nodiscard]] bool isWholeWave(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    bool format = false;
    for (qint64 at = 12; at + 8 <= bytes.size();) {
        const qint64 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        if (at + 8 + size > bytes.size())
            return false;
        const QByteArray id = bytes.mid(at, 4);
        if (id == "data")
            return format;
        format = format || id == "fmt ";
        at += 8 + size + (size & 1);
    }
    return false;
}

// What was read from one file, with the file's size and time as they were just before.
struct Loaded
{
    qint64 size = -1;
    QDateTime modified;
    std::unique_ptr<QSoundEffect> effect; // nullptr when the file is no whole wave
};

} // namespace

struct QtSoundPlayer::Cues
{
    std::function<void()> alert;
    std::map<QString, Loaded> loaded; // by absolute path
    // The latest cue's sound, the only one that may be heard; `waiting` while it has not
    // started yet because it is still loading.
    Loaded *current = nullptr;
    bool waiting = false;
    int loads = 0;

    // Runs at the cue and whenever the sound's loading status changes.
    void start(Loaded &sound)
    {
        if (&sound != current || !waiting)
            return;
        switch (sound.effect->status()) {
        case QSoundEffect::Loading:
            return;
        case QSoundEffect::Ready:
            waiting = false;
            sound.effect->play();
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
        sound.effect.reset();
        ++loads;
        QFile in(path);
        if (file.size() > MaxFileBytes || !in.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = in.readAll();
        if (!isWholeWave(bytes))
            return;
        sound.effect = std::make_unique<QSoundEffect>();
        QObject::connect(sound.effect.get(), &QSoundEffect::statusChanged, sound.effect.get(),
                         [this, &sound] { start(sound); });
        // Qt gets the very bytes checked above, which no later change to the file can cut
        // short. The reading's number makes the URL new: Qt hands a new sound the sample it
        // already holds for a URL, and Qt 6.4 never tries a sample that failed again.
        QUrl url(QStringLiteral("data:audio/wav;base64,") + QString::fromLatin1(bytes.toBase64()));
        url.setFragment(QStringLiteral("reading=%1").arg(++readingsInProcess));
        sound.effect->setSource(url);
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
        cues.current->effect->stop();
    cues.current = nullptr;

    const QString path = pathOf(fileName);
    const QFileInfo file(path);
    if (!file.isFile()) {
        cues.loaded.erase(path);
        cues.alert();
        return;
    }
    Loaded &sound = cues.loaded[path];
    if (sound.size != file.size() || sound.modified != file.lastModified())
        cues.load(sound, path, file);
    if (!sound.effect) {
        cues.alert();
        return;
    }
    cues.current = &sound;
    cues.waiting = true;
    cues.start(sound);
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
