// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The wave files that the sound tool writes: their format, length, level and ends, and that the
// player decodes them.
#include "tests/platform/cuefiles.h"

#include "ui/platform/pulsesoundplayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWaveDecoder>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using platform::Cue;

// 16-bit full scale at -3 dB.
const int PeakLimit = static_cast<int>(32767 * std::pow(10.0, -3.0 / 20.0));
// A sample this close to zero cannot be heard as a click.
constexpr int NearZero = 33;

} // namespace

class CueSoundsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    [[nodiscard]] QString path(Cue cue) const
    {
        return dir_.filePath(QString::fromLatin1(platform::fileNameOf(cue)));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(support::writeCueFiles(dir_.path()));
    }

    void eachFileIsShortQuietMonoPcmStartingAndEndingAtZero_data()
    {
        QTest::addColumn<Cue>("cue");
        QTest::addColumn<int>("shortestMs");
        QTest::addColumn<int>("longestMs");
        QTest::newRow("click") << Cue::ShuffleFrame << 10 << 20;
        QTest::newRow("knock") << Cue::OpeningCard << 60 << 90;
        QTest::newRow("arpeggio") << Cue::HighScore << 600 << 1000;
    }

    void eachFileIsShortQuietMonoPcmStartingAndEndingAtZero()
    {
        QFETCH(Cue, cue);
        QFETCH(int, shortestMs);
        QFETCH(int, longestMs);

        QFile file(path(cue));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QWaveDecoder decoder(&file);
        QVERIFY(decoder.open(QIODevice::ReadOnly));
        QTRY_VERIFY_WITH_TIMEOUT(decoder.audioFormat().isValid(), 5000);
        const QAudioFormat format = decoder.audioFormat();
        QCOMPARE(format.sampleRate(), 44100);
        QCOMPARE(format.channelCount(), 1);
        QCOMPARE(format.sampleFormat(), QAudioFormat::Int16);

        const qint64 frames = decoder.size() / 2;
        QVERIFY2(frames * 1000 >= qint64(shortestMs) * 44100, qPrintable(QString::number(frames)));
        QVERIFY2(frames * 1000 <= qint64(longestMs) * 44100, qPrintable(QString::number(frames)));

        const QByteArray bytes = decoder.read(decoder.size());
        QCOMPARE(bytes.size(), frames * 2);
        std::vector<qint16> samples(static_cast<std::size_t>(frames));
        std::memcpy(samples.data(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
        int peak = 0;
        for (const qint16 s : samples)
            peak = std::max(peak, std::abs(int(s)));
        QVERIFY2(peak <= PeakLimit, qPrintable(QString::number(peak)));
        QVERIFY2(peak >= PeakLimit / 2, "a cue this quiet would not be heard");
        QVERIFY(std::abs(int(samples.front())) <= NearZero);
        QVERIFY(std::abs(int(samples.back())) <= NearZero);
    }

    void eachFileDecodesAsTheToolWroteIt_data()
    {
        QTest::addColumn<Cue>("cue");
        QTest::newRow("click") << Cue::ShuffleFrame;
        QTest::newRow("knock") << Cue::OpeningCard;
        QTest::newRow("arpeggio") << Cue::HighScore;
    }

    void eachFileDecodesAsTheToolWroteIt()
    {
        QFETCH(Cue, cue);
        QFile file(path(cue));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const std::optional<platform::WaveSamples> wave = platform::decodeWave(bytes);
        QVERIFY(wave);
        QCOMPARE(wave->format.rate, 44100);
        QCOMPARE(wave->format.channels, 1);
        QCOMPARE(wave->format.sample, platform::WaveFormat::Sample::Int16);
        QVERIFY(bytes.endsWith(wave->samples)); // the samples are the file's last chunk
        QVERIFY(wave->samples.size() > 0);
    }

    void twoRunsWriteTheSameBytes()
    {
        QTemporaryDir again;
        QVERIFY(support::writeCueFiles(again.path()));
        for (const Cue cue : {Cue::ShuffleFrame, Cue::OpeningCard, Cue::HighScore}) {
            QFile first(path(cue));
            QFile second(again.filePath(QString::fromLatin1(platform::fileNameOf(cue))));
            QVERIFY(first.open(QIODevice::ReadOnly));
            QVERIFY(second.open(QIODevice::ReadOnly));
            QCOMPARE(second.readAll(), first.readAll());
        }
    }
};

QTEST_GUILESS_MAIN(CueSoundsTest)
#include "tst_cuesounds.moc"
