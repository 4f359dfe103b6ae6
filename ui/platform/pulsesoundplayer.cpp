// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/pulsesoundplayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// A larger file is not taken as a cue: reading it would hold up the game.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

// How much sound the stream asks the server to hold ahead of what is heard, about as long as a
// cue may lag behind its picture; the writer feeds it `ChunkMs` at a time, as the server asks.
constexpr int AheadMs = 80;
constexpr int ChunkMs = 20;

// How long after finding no sound server a cue asks again. Asking costs a thread and the client
// library's whole setup: at every cue of the opening shuffle that was 1.5 % of a core.
constexpr std::chrono::milliseconds RetryAfter {1000};

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

// A playback stream for samples of `serverFormat` on the server's default output, asking it to
// hold `AheadMs` and to take `ChunkMs` at a time; null when there is no server or it refuses.
[[nodiscard]] pa_simple *openStream(const pa_sample_spec &serverFormat)
{
    const auto bytesFor = [&serverFormat](int ms) {
        return std::uint32_t(pa_usec_to_bytes(ms * 1000, &serverFormat));
    };
    pa_buffer_attr buffer;
    buffer.maxlength = std::uint32_t(-1);
    buffer.tlength = bytesFor(AheadMs);
    buffer.prebuf = bytesFor(ChunkMs);
    buffer.minreq = bytesFor(ChunkMs);
    buffer.fragsize = std::uint32_t(-1);
    return pa_simple_new(nullptr, "Quintagrid", PA_STREAM_PLAYBACK, nullptr, "Cues", &serverFormat,
                         nullptr, &buffer, nullptr);
}

// The value of a silent sample in `format`'s bytes.
[[nodiscard]] char silenceOf(const WaveFormat &format)
{
    return format.sample == WaveFormat::Sample::UInt8 ? char(0x80) : char(0);
}

// What was read from one file, with the file's stamp as it was just before.
struct Loaded
{
    Stamp stamp;
    std::optional<WaveSamples> wave; // nothing when the file is no playable wave
};

} // namespace

pa_sample_spec serverFormatOf(const WaveFormat &format)
{
    pa_sample_spec serverFormat;
    switch (format.sample) {
    case WaveFormat::Sample::UInt8:
        serverFormat.format = PA_SAMPLE_U8;
        break;
    case WaveFormat::Sample::Int16:
        serverFormat.format = PA_SAMPLE_S16LE;
        break;
    case WaveFormat::Sample::Int32:
        serverFormat.format = PA_SAMPLE_S32LE;
        break;
    case WaveFormat::Sample::Float:
        serverFormat.format = PA_SAMPLE_FLOAT32LE;
        break;
    }
    serverFormat.rate = std::uint32_t(format.rate);
    serverFormat.channels = std::uint8_t(format.channels);
    return serverFormat;
}

bool soundServerTakesAStream()
{
    const pa_sample_spec serverFormat = serverFormatOf({WaveFormat::Sample::Int16, 1, 44100});
    pa_simple *stream = pa_simple_new(nullptr, "Quintagrid", PA_STREAM_PLAYBACK, nullptr, "Probe",
                                      &serverFormat, nullptr, nullptr, nullptr);
    if (stream)
        pa_simple_free(stream);
    return stream != nullptr;
}

struct PulseSoundPlayer::Cues
{
    std::function<void()> alert;
    int idleMs = 0;
    std::map<QByteArray, Loaded> loaded; // by absolute path; only play() uses it
    std::atomic<int> loads = 0;
    std::atomic<int> openings = 0;

    // What play() and the writer share, under `mutex`.
    mutable std::mutex mutex;
    std::condition_variable wake;    // for the writer: a stream to feed, or time to stop
    std::condition_variable written; // for play(): the writer has left its write
    QByteArray path;                 // the current cue's file; empty when there is none
    QByteArray samples;              // the current cue's
    WaveFormat format;               // the current cue's
    qsizetype at = 0;                // how much of `samples` the stream has taken
    qint64 silentBytes = 0;          // silence the stream has taken since
    pa_simple *stream = nullptr;     // the open stream, or null
    WaveFormat streamFormat;         // what `stream` was opened for
    bool dropped = false;            // `stream` failed a write
    bool writing = false; // the writer is writing to `stream`, without the lock; meanwhile
                          // nothing else frees it
    bool stopping = false;
    std::thread writer; // started with the first stream
    // When the last stream that could not be opened was asked for (only play() uses it).
    std::optional<std::chrono::steady_clock::time_point> refusedAt;

    void load(Loaded &sound, const QByteArray &file, const Stamp &stamp)
    {
        sound.stamp = stamp;
        sound.wave.reset();
        ++loads;
        // Opened without waiting, and read only when it still is a regular file of a size worth
        // reading: a FIFO put in its place since the stamp was taken would hold up the cues.
        const int fd = ::open(file.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat opened;
        QFile in;
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_size <= MaxFileBytes
            && in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
            sound.wave = decodeWave(in.read(MaxFileBytes));
        else
            ::close(fd);
    }

    // Makes `wave` the current cue, or stops the current one when there is none, and opens the
    // stream for it unless it is open for its format already.
    void start(const QByteArray &file, const WaveSamples *wave)
    {
        std::unique_lock lock(mutex);
        path = wave ? file : QByteArray();
        samples = wave ? wave->samples : QByteArray();
        at = 0;
        if (!wave)
            return;
        format = wave->format;
        silentBytes = 0;
        if (stream && streamFormat == format && !dropped)
            return;
        // The writer leaves a stream of another format alone once its write is done, which
        // emptying the stream hastens.
        if (writing) {
            pa_simple *const writingTo = stream;
            lock.unlock();
            pa_simple_flush(writingTo, nullptr);
            lock.lock();
            written.wait(lock, [this] { return !writing; });
        }
        pa_simple *old = std::exchange(stream, nullptr);
        lock.unlock();
        if (old)
            pa_simple_free(old);
        const auto now = std::chrono::steady_clock::now();
        if (refusedAt && now - *refusedAt < RetryAfter)
            return;
        const WaveFormat opening = wave->format;
        pa_simple *opened = openStream(serverFormatOf(opening));
        if (!opened) {
            refusedAt = now; // silence for now
            return;
        }
        refusedAt.reset();
        ++openings;
        lock.lock();
        stream = opened;
        streamFormat = opening;
        dropped = false;
        if (!writer.joinable())
            writer = std::thread([this] { feed(); });
        lock.unlock();
        wake.notify_one();
    }

    // The writer: while the stream is open, gives it the rest of the current cue and then
    // silence, a chunk at a time as the server asks for it, so that it never runs dry between
    // cues; closes it once it has taken `AheadMs` and `idleMs` of silence in a row.
    void feed()
    {
        std::vector<char> chunk;
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] {
                return stopping || (stream && streamFormat == format && !dropped);
            });
            if (stopping)
                return;
            const pa_sample_spec serverFormat = serverFormatOf(format);
            if (pa_bytes_to_usec(std::uint64_t(silentBytes), &serverFormat)
                >= pa_usec_t(AheadMs + idleMs) * 1000) {
                pa_simple *idle = std::exchange(stream, nullptr);
                lock.unlock();
                pa_simple_free(idle);
                lock.lock();
                continue;
            }
            chunk.resize(pa_usec_to_bytes(ChunkMs * 1000, &serverFormat));
            const qsizetype cue = std::min(qsizetype(chunk.size()), samples.size() - at);
            std::memcpy(chunk.data(), samples.constData() + at, std::size_t(cue));
            std::memset(chunk.data() + cue, silenceOf(format), chunk.size() - std::size_t(cue));
            at += cue;
            if (at == samples.size())
                silentBytes += qint64(chunk.size()) - cue;

            pa_simple *to = stream;
            writing = true;
            lock.unlock();
            const bool taken = pa_simple_write(to, chunk.data(), chunk.size(), nullptr) == 0;
            lock.lock();
            writing = false;
            written.notify_all();
            dropped = !taken; // by the server: the next cue opens another
        }
    }
};

PulseSoundPlayer::PulseSoundPlayer(std::function<void()> alert, int idleMs)
    : cues_(std::make_unique<Cues>())
{
    cues_->alert = alert ? std::move(alert) : [] { QApplication::beep(); };
    cues_->idleMs = idleMs;
}

PulseSoundPlayer::~PulseSoundPlayer()
{
    Cues &cues = *cues_;
    std::unique_lock lock(cues.mutex);
    cues.stopping = true;
    // A write waits for room in the server's buffer, which a sink that has just woken may give
    // late: emptying the buffer gives it at once. The writer, back, frees nothing and stops.
    pa_simple *const writingTo = cues.writing ? cues.stream : nullptr;
    lock.unlock();
    cues.wake.notify_all();
    if (writingTo)
        pa_simple_flush(writingTo, nullptr);
    if (cues.writer.joinable())
        cues.writer.join();
    if (cues.stream)
        pa_simple_free(cues.stream);
}

void PulseSoundPlayer::play(Cue cue)
{
    Cues &cues = *cues_;
    const QByteArray path = pathOf(cue);
    const std::optional<Stamp> stamp = stampOf(path);
    if (!stamp) {
        cues.loaded.erase(path);
        cues.start(path, nullptr);
        cues.alert();
        return;
    }
    Loaded &sound = cues.loaded[path];
    if (sound.stamp != *stamp)
        cues.load(sound, path, *stamp);
    cues.start(path, sound.wave ? &*sound.wave : nullptr);
    if (!sound.wave)
        cues.alert();
}

int PulseSoundPlayer::loads() const
{
    return cues_->loads;
}

QString PulseSoundPlayer::playing() const
{
    const Cues &cues = *cues_;
    const std::lock_guard lock(cues.mutex);
    // Without a stream nothing is heard, whatever the cue.
    if (cues.path.isEmpty() || !cues.stream || cues.dropped)
        return {};
    const pa_sample_spec serverFormat = serverFormatOf(cues.format);
    // Taken whole, the cue is still heard until the sound held ahead of it has gone.
    if (cues.at == cues.samples.size()
        && pa_bytes_to_usec(std::uint64_t(cues.silentBytes), &serverFormat)
            >= pa_usec_t(AheadMs) * 1000)
        return {};
    return QFile::decodeName(cues.path);
}

int PulseSoundPlayer::streamOpenings() const
{
    return cues_->openings;
}

bool PulseSoundPlayer::streamOpen() const
{
    const std::lock_guard lock(cues_->mutex);
    return cues_->stream && !cues_->dropped;
}

} // namespace platform
