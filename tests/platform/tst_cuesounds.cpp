// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The wave files that the sound tool writes: their format, length, level and ends, and that Qt
// loads them.
#include "cuefiles.h"

#include "game/cues.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWaveDecoder>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// 16-bit full scale at -3 dB.
const int PeakLimit = static_cast<int>(32767 * std::pow(10.0, -3.0 / 20.0));
// A sample this close to zero cannot be heard as a click.
constexpr int NearZero = 33;

} // namespace

class CueSoundsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    [[nodiscard]] QString path(const char *name) const
    {
        return dir_.filePath(QString::fromLatin1(name));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        QVERIFY(support::writeCueFiles(dir_.path()));
    }

    void eachFileIsShortQuietMonoPcmStartingAndEndingAtZero_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("shortestMs");
        QTest::addColumn<int>("longestMs");
        QTest::newRow("click") << QString::fromLatin1(game::Tick1) << 10 << 20;
        QTest::newRow("knock") << QString::fromLatin1(game::Tick2) << 60 << 90;
        QTest::newRow("arpeggio") << QString::fromLatin1(game::HighScoreCue) << 600 << 1000;
    }

    void eachFileIsShortQuietMonoPcmStartingAndEndingAtZero()
    {
        QFETCH(QString, name);
        QFETCH(int, shortestMs);
        QFETCH(int, longestMs);

        QFile file(dir_.filePath(name));
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

    void eachFileLoadsAsASoundEffect_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {game::Tick1, game::Tick2, game::HighScoreCue})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void eachFileLoadsAsASoundEffect()
    {
        QFETCH(QString, name);
        QSoundEffect effect;
        effect.setSource(QUrl::fromLocalFile(dir_.filePath(name)));
        QTRY_VERIFY_WITH_TIMEOUT(effect.status() != QSoundEffect::Loading, 10000);
        if (effect.status() == QSoundEffect::Error && QMediaDevices::audioOutputs().isEmpty())
            QSKIP("this Qt refuses every sound without an audio output; the format test stands");
        QCOMPARE(effect.status(), QSoundEffect::Ready);
    }

    void aFileThatIsNoWaveDoesNotLoad()
    {
        QFile file(dir_.filePath(QStringLiteral("noise.wav")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4000, 'x'));
        file.close();
        QSoundEffect effect;
        effect.setSource(QUrl::fromLocalFile(file.fileName()));
        QTRY_COMPARE_WITH_TIMEOUT(effect.status(), QSoundEffect::Error, 10000);
    }

    void twoRunsWriteTheSameBytes()
    {
        QTemporaryDir again;
        QVERIFY(support::writeCueFiles(again.path()));
        for (const char *name : {game::Tick1, game::Tick2, game::HighScoreCue}) {
            QFile first(path(name));
            QFile second(again.filePath(QString::fromLatin1(name)));
            QVERIFY(first.open(QIODevice::ReadOnly));
            QVERIFY(second.open(QIODevice::ReadOnly));
            QCOMPARE(second.readAll(), first.readAll());
        }
    }
};

QTEST_GUILESS_MAIN(CueSoundsTest)
#include "tst_cuesounds.moc"
