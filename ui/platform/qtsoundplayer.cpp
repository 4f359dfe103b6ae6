// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/qtsoundplayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioSink>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <map>

#include <sys/stat.h>

namespace platform {

namespace {

// A larger file is not taken as a cue: reading it would hold up the game.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

// How much sound the stream asks the server to hold ahead of what is heard, about as long as a
// cue may lag behind its picture. Qt feeds the stream 20 ms at a time: with 50 ms the server
// granted too little room for the fill it waits for before it starts, and stayed silent.
constexpr int AheadMs = 80;

// Wave format tags.
constexpr int IntegerPcm = 1;
constexpr int FloatPcm = 3;
constexpr int Extensible = 0xfffe;

[[nodiscard]] QByteArray pathOf(Cue cue)
{
    return QFile::encodeName(QDir::currentPath()) + '/' + fileNameOf(cue);
}

// What tells one version of a file from another, from one system call: a cue costs no more.
struct Stamp
{
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    bool operator==(const Stamp &) const = default;
};

// The stamp of the regular file at `path`; nothing when there is none.
[[nodiscard]] std::optional<Stamp> stampOf(const QByteArray &path)
{
    struct stat file;
    if (::stat(path.constData(), &file) != 0 || !S_ISREG(file.st_mode))
        return {};
    return Stamp {qint64(file.st_size),
                  qint64(file.st_mtim.tv_sec) * 1'000'000'000 + file.st_mtim.tv_nsec,
                  quint64(file.st_ino)};
}

[[nodiscard]] std::optional<WaveSamples> samplesOf(int tag, int channels, quint32 rate, int bits,
                                                   int blockAlign, QByteArrayView data)
{
    if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000
        || blockAlign != channels * ((bits + 7) / 8))
        return {};
    WaveSamples wave;
    wave.format.setSampleRate(int(rate));
    wave.format.setChannelCount(channels);
    data = data.first(data.size() - data.size() % blockAlign);
    if (tag == IntegerPcm && bits == 24) {
        // Each sample goes to the top three bytes of a 32-bit one.
        wave.format.setSampleFormat(QAudioFormat::Int32);
        wave.samples.resize(data.size() / 3 * 4);
        char *out = wave.samples.data();
        for (qsizetype at = 0; at < data.size(); at += 3, out += 4) {
            const quint32 sample = quint32(quint8(data[at])) << 8
                | quint32(quint8(data[at + 1])) << 16 | quint32(quint8(data[at + 2])) << 24;
            qToLittleEndian(sample, out);
        }
        return wave;
    }
    if (tag == IntegerPcm && bits == 8)
        wave.format.setSampleFormat(QAudioFormat::UInt8);
    else if (tag == IntegerPcm && bits == 16)
        wave.format.setSampleFormat(QAudioFormat::Int16);
    else if (tag == IntegerPcm && bits == 32)
        wave.format.setSampleFormat(QAudioFormat::Int32);
    else if (tag == FloatPcm && bits == 32)
        wave.format.setSampleFormat(QAudioFormat::Float);
    else
        return {};
    wave.samples = data.toByteArray();
    return wave;
}

// What the stream reads: the rest of the current cue, then silence, so that the stream never
// runs dry between cues and a new cue is heard after no more than the sound held ahead.
class CueStream final : public QIODevice
{
public:
    CueStream() { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }

    void start(QByteArray samples, QAudioFormat::SampleFormat format)
    {
        samples_ = std::move(samples);
        at_ = 0;
        silence_ = format == QAudioFormat::UInt8 ? char(0x80) : char(0);
        emit readyRead(); // a stream that has run dry reads again
    }
    void stop() { samples_.clear(), at_ = 0; }
    [[nodiscard]] bool playing() const { return at_ < samples_.size(); }
    [[nodiscard]] bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 cue = std::min(maxSize, qint64(samples_.size()) - at_);
        std::memcpy(data, samples_.constData() + at_, std::size_t(cue));
        std::memset(data + cue, silence_, std::size_t(maxSize - cue));
        at_ += cue;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray samples_;
    qint64 at_ = 0;
    char silence_ = 0;
};

// What was read from one file, with the file's stamp as it was just before.
struct Loaded
{
    Stamp stamp;
    std::optional<WaveSamples> wave; // nothing when the file is no playable wave
};

} // namespace

std::optional<WaveSamples> decodeWave(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    int tag = 0;
    int channels = 0;
    quint32 rate = 0;
    int blockAlign = 0;
    int bits = 0;
    bool format = false;
    for (qint64 at = 12; at + 8 <= bytes.size();) {
        const char *chunk = bytes.constData() + at;
        const qint64 size = qFromLittleEndian<quint32>(chunk + 4);
        if (at + 8 + size > bytes.size())
            return {};
        const QByteArrayView id(chunk, 4);
        if (id == "data") {
            if (!format)
                return {};
            return samplesOf(tag, channels, rate, bits, blockAlign, {chunk + 8, size});
        }
        if (id == "fmt " && size >= 16) {
            tag = qFromLittleEndian<quint16>(chunk + 8);
            channels = qFromLittleEndian<quint16>(chunk + 10);
            rate = qFromLittleEndian<quint32>(chunk + 12);
            blockAlign = qFromLittleEndian<quint16>(chunk + 20);
            bits = qFromLittleEndian<quint16>(chunk + 22);
            if (tag == Extensible && size >= 40)
                tag = qFromLittleEndian<quint16>(chunk + 8 + 24); // the sub-format's tag
            format = true;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

struct QtSoundPlayer::Cues
{
    std::function<void()> alert;
    std::map<QByteArray, Loaded> loaded; // by absolute path
    CueStream stream;                    // outlives the sink that reads it
    std::unique_ptr<QAudioSink> sink;    // the open stream, or nullptr
    QTimer idle; // closes the stream once the last cue has been over for a while
    int idleMs = 0;
    QByteArray playing; // the path of the current cue's file
    int loads = 0;
    int openings = 0;

    void load(Loaded &sound, const QByteArray &path, const Stamp &stamp)
    {
        sound.stamp = stamp;
        sound.wave.reset();
        ++loads;
        QFile in(QFile::decodeName(path));
        if (stamp.size <= MaxFileBytes && in.open(QIODevice::ReadOnly))
            sound.wave = decodeWave(in.readAll());
    }

    // Opens the stream for `format` unless it is open for it already. A stream that the
    // server has dropped is opened anew.
    void open(const QAudioFormat &format)
    {
        if (sink && sink->format() == format && sink->state() != QAudio::StoppedState)
            return;
        close();
        const QAudioDevice output = QMediaDevices::defaultAudioOutput();
        if (output.isNull())
            return; // no sound server: silence
        sink = std::make_unique<QAudioSink>(output, format);
        sink->setBufferSize(format.bytesForDuration(AheadMs * 1000));
        sink->start(&stream);
        ++openings;
        if (sink->state() == QAudio::StoppedState)
            sink.reset(); // the server refused the stream: silence
    }

    void close()
    {
        if (!sink)
            return;
        sink->stop();
        sink.reset();
    }
};

QtSoundPlayer::QtSoundPlayer(std::function<void()> alert, int idleMs)
    : cues_(std::make_unique<Cues>())
{
    cues_->alert = alert ? std::move(alert) : [] { QApplication::beep(); };
    cues_->idleMs = idleMs;
    cues_->idle.setSingleShot(true);
    QObject::connect(&cues_->idle, &QTimer::timeout, &cues_->idle, [cues = cues_.get()] {
        if (cues->stream.playing())
            cues->idle.start(); // the server has not taken the whole cue yet
        else
            cues->close();
    });
}

QtSoundPlayer::~QtSoundPlayer()
{
    cues_->close();
}

void QtSoundPlayer::play(Cue cue)
{
    Cues &cues = *cues_;
    cues.stream.stop();
    cues.playing.clear();

    const QByteArray path = pathOf(cue);
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp) {
        cues.loaded.erase(path);
        cues.alert();
        return;
    }
    Loaded &sound = cues.loaded[path];
    if (sound.stamp != *stamp)
        cues.load(sound, path, *stamp);
    if (!sound.wave) {
        cues.alert();
        return;
    }
    const WaveSamples &wave = *sound.wave;
    cues.open(wave.format);
    cues.stream.start(wave.samples, wave.format.sampleFormat());
    cues.playing = path;
    cues.idle.start(AheadMs + cues.idleMs);
}

int QtSoundPlayer::loads() const
{
    return cues_->loads;
}

QString QtSoundPlayer::playing() const
{
    return cues_->stream.playing() ? QFile::decodeName(cues_->playing) : QString();
}

int QtSoundPlayer::streamOpenings() const
{
    return cues_->openings;
}

bool QtSoundPlayer::streamOpen() const
{
    return cues_->sink != nullptr;
}

} // namespace platform
