// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The PulseAudio sound player on real wave files in a scratch current directory, with an alert that
// counts instead of beeping. The tests of the audio stream itself need a sound output; ctest
// runs them a second time against a private null-sink sound server.
#include "tests/platform/cuefiles.h"

#include "ui/platform/pulsesoundplayer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

using platform::Cue;
using platform::PulseSoundPlayer;
using Sample = platform::WaveFormat::Sample;

namespace {

// The file a cue plays, in the current directory.
[[nodiscard]] QString fileOf(Cue cue)
{
    return QString::fromLatin1(platform::fileNameOf(cue));
}

[[nodiscard]] QString pathOf(Cue cue)
{
    return QDir::current().absoluteFilePath(fileOf(cue));
}

void putLittleEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A whole RIFF wave with these samples. An extensible one names `tag` as its sub-format.
[[nodiscard]] QByteArray wave(int tag, int channels, int rate, int bits, const QByteArray &data,
                              bool extensible = false)
{
    const int block = channels * bits / 8;
    const int formatBytes = extensible ? 40 : 16;
    QByteArray out("RIFF");
    putLittleEndian(out, quint32(4 + 8 + formatBytes + 8 + data.size()), 4);
    out.append("WAVEfmt ");
    putLittleEndian(out, quint32(formatBytes), 4);
    putLittleEndian(out, extensible ? 0xfffe : quint32(tag), 2);
    putLittleEndian(out, quint32(channels), 2);
    putLittleEndian(out, quint32(rate), 4);
    putLittleEndian(out, quint32(rate * block), 4);
    putLittleEndian(out, quint32(block), 2);
    putLittleEndian(out, quint32(bits), 2);
    if (extensible) {
        putLittleEndian(out, 22, 2);
        putLittleEndian(out, quint32(bits), 2);
        putLittleEndian(out, 0, 4); // channel mask
        putLittleEndian(out, quint32(tag), 2);
        out.append(QByteArray(14, '\0')); // the rest of the sub-format's GUID
    }
    out.append("data");
    putLittleEndian(out, quint32(data.size()), 4);
    out.append(data);
    return out;
}

// A whole RIFF wave of `totalBytes` in ADPCM, which the player does not decode.
[[nodiscard]] QByteArray undecodableWave(int totalBytes)
{
    return wave(2, 1, 44100, 16, QByteArray(totalBytes - 44, '\0'));
}

} // namespace

class SoundPlayerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir generated_;
    QString startDir_;
    std::unique_ptr<QTemporaryDir> runDir_; // the current directory of one test
    int alerts_ = 0;
    bool server_ = false; // a sound server takes the player's stream

    // What playing() names while a cue's file plays: the file where a stream carries it, and
    // nothing without a sound server, where nothing is heard.
    [[nodiscard]] QString heard(Cue cue) const { return server_ ? pathOf(cue) : QString(); }

    [[nodiscard]] std::unique_ptr<PulseSoundPlayer> makePlayer(int idleMs = 2000)
    {
        return std::make_unique<PulseSoundPlayer>([this] { ++alerts_; }, idleMs);
    }

    // Puts the generated file of cue `from` into the current directory as the file of `cue`.
    void put(Cue cue, Cue from)
    {
        QFile::remove(fileOf(cue));
        QVERIFY(QFile::copy(generated_.filePath(fileOf(from)), fileOf(cue)));
    }
    void put(Cue cue) { put(cue, cue); }

    static void putBytes(Cue cue, const QByteArray &bytes)
    {
        QFile file(fileOf(cue));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    static void setModified(Cue cue, const QDateTime &time)
    {
        QFile file(fileOf(cue));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    [[nodiscard]] QByteArray generated(Cue cue) const
    {
        QFile file(generated_.filePath(fileOf(cue)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(generated_.isValid());
        QVERIFY(support::writeCueFiles(generated_.path()));
        startDir_ = QDir::currentPath();
        server_ = platform::soundServerTakesAStream();
    }

    void init()
    {
        runDir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(runDir_->isValid());
        QVERIFY(QDir::setCurrent(runDir_->path()));
        alerts_ = 0;
    }

    void cleanup()
    {
        QDir::setCurrent(startDir_);
        runDir_.reset();
    }

    void eachCuePlaysItsFile_data()
    {
        QTest::addColumn<Cue>("cue");
        QTest::addColumn<QString>("file");
        QTest::newRow("shuffle frame") << Cue::ShuffleFrame << QStringLiteral("tick1.wav");
        QTest::newRow("opening card") << Cue::OpeningCard << QStringLiteral("tick2.wav");
        QTest::newRow("count step") << Cue::CountStep << QStringLiteral("tick1.wav");
        QTest::newRow("count done") << Cue::CountDone << QStringLiteral("tick2.wav");
        QTest::newRow("high score") << Cue::HighScore << QStringLiteral("highscre.wav");
    }

    void eachCuePlaysItsFile()
    {
        QFETCH(Cue, cue);
        QFETCH(QString, file);
        QCOMPARE(fileOf(cue), file);
        put(cue);
        const auto player = makePlayer();
        player->play(cue);
        QCOMPARE(player->playing(), heard(cue));
        QCOMPARE(alerts_, 0);
    }

    void missingFileGivesTheAlertWithoutReadingOrConnecting_data()
    {
        QTest::addColumn<bool>("ownAlert");
        QTest::newRow("the player's alert") << true;
        QTest::newRow("the desktop's beep") << false;
    }

    // What could hold up a cue is reading a file and connecting to the sound server: a missing
    // file does neither, so the cue returns at once.
    void missingFileGivesTheAlertWithoutReadingOrConnecting()
    {
        QFETCH(bool, ownAlert);
        const auto player = ownAlert ? makePlayer() : std::make_unique<PulseSoundPlayer>();
        player->play(Cue::ShuffleFrame);
        QCOMPARE(alerts_, ownAlert ? 1 : 0);
        QCOMPARE(player->loads(), 0);
        QCOMPARE(player->streamOpenings(), 0);
        QCOMPARE(player->playing(), QString());
    }

    void newCueStopsTheOneStillPlaying()
    {
        put(Cue::HighScore);
        put(Cue::CountStep);
        const auto player = makePlayer();
        player->play(Cue::HighScore);
        QCOMPARE(player->playing(), heard(Cue::HighScore));
        player->play(Cue::CountStep);
        QCOMPARE(player->playing(), heard(Cue::CountStep));
        putBytes(Cue::HighScore, QByteArray());
        player->play(Cue::HighScore);
        QCOMPARE(player->playing(), QString()); // an unplayable cue stops the one before too
    }

    void unchangedFileIsReadOnce()
    {
        put(Cue::ShuffleFrame);
        const auto player = makePlayer();
        for (const Cue cue : {Cue::ShuffleFrame, Cue::CountStep, Cue::ShuffleFrame})
            player->play(cue);
        QCOMPARE(player->loads(), 1);
        QCOMPARE(alerts_, 0);
    }

    void replacedFileIsReadAgainAtTheNextCue_data()
    {
        QTest::addColumn<bool>("sameSize");
        QTest::newRow("other size") << false;
        QTest::newRow("same size, other time") << true;
    }

    // The replacement cannot be decoded, so only a sound read from it anew gives the alert.
    void replacedFileIsReadAgainAtTheNextCue()
    {
        QFETCH(bool, sameSize);
        put(Cue::OpeningCard);
        const auto player = makePlayer();
        player->play(Cue::OpeningCard);
        const qint64 size = QFileInfo(fileOf(Cue::OpeningCard)).size();
        const QDateTime before = QFileInfo(fileOf(Cue::OpeningCard)).lastModified();
        putBytes(Cue::OpeningCard, undecodableWave(sameSize ? int(size) : 1000));
        setModified(Cue::OpeningCard, before.addSecs(sameSize ? 5 : 0));
        QCOMPARE(QFileInfo(fileOf(Cue::OpeningCard)).size() == size, sameSize);

        player->play(Cue::OpeningCard);
        QCOMPARE(player->loads(), 2);
        QCOMPARE(alerts_, 1);
    }

    void unplayableFileReplacedByAWaveFilePlays()
    {
        putBytes(Cue::ShuffleFrame, QByteArray(100, 'x'));
        const auto player = makePlayer();
        player->play(Cue::ShuffleFrame);
        QCOMPARE(alerts_, 1);
        put(Cue::ShuffleFrame);
        player->play(Cue::ShuffleFrame);
        QCOMPARE(player->playing(), heard(Cue::ShuffleFrame));
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->loads(), 2);
    }

    void fileThatIsNoPlayableWaveGivesTheAlertAtEveryCue_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray whole = generated(Cue::OpeningCard);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no wave") << QByteArray(2000, 'x');
        QTest::newRow("half a header") << whole.left(20);
        QTest::newRow("cut short") << whole.left(3000);
        QTest::newRow("no format") << whole.left(12) + whole.mid(36);
        QTest::newRow("ADPCM") << undecodableWave(1000);
        QTest::newRow("12-bit") << wave(1, 1, 44100, 12, QByteArray(100, '\0'));
        QTest::newRow("64-bit float") << wave(3, 1, 44100, 64, QByteArray(800, '\0'));
        QTest::newRow("no channel") << wave(1, 0, 44100, 16, QByteArray());
        QTest::newRow("no bits, no bytes a frame") << wave(1, 1, 44100, 0, QByteArray());
        QTest::newRow("no bits, with samples") << wave(1, 2, 44100, 0, QByteArray(4, '\1'));
    }

    void fileThatIsNoPlayableWaveGivesTheAlertAtEveryCue()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!platform::decodeWave(bytes));
        putBytes(Cue::OpeningCard, bytes);
        const auto player = makePlayer();
        player->play(Cue::OpeningCard);
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->playing(), QString());
        player->play(Cue::OpeningCard);
        QCOMPARE(alerts_, 2);
        QCOMPARE(player->loads(), 1);
    }

    void everyPcmLayoutDecodes_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<Sample>("format");
        QTest::addColumn<QByteArray>("samples");
        const QByteArray bytes = QByteArray::fromHex("0102030405060708090a0b0c");
        QTest::newRow("8-bit mono")
            << wave(1, 1, 22050, 8, bytes) << 22050 << 1 << Sample::UInt8 << bytes;
        QTest::newRow("16-bit stereo")
            << wave(1, 2, 44100, 16, bytes) << 44100 << 2 << Sample::Int16 << bytes;
        QTest::newRow("24-bit stereo")
            << wave(1, 2, 48000, 24, bytes) << 48000 << 2 << Sample::Int32
            << QByteArray::fromHex("000102030004050600070809000a0b0c");
        QTest::newRow("32-bit mono")
            << wave(1, 1, 8000, 32, bytes) << 8000 << 1 << Sample::Int32 << bytes;
        QTest::newRow("float mono")
            << wave(3, 1, 96000, 32, bytes) << 96000 << 1 << Sample::Float << bytes;
        QTest::newRow("extensible 16-bit")
            << wave(1, 2, 44100, 16, bytes, true) << 44100 << 2 << Sample::Int16 << bytes;
        QTest::newRow("half a frame at the end")
            << wave(1, 2, 44100, 16, bytes + "\x01\x02") << 44100 << 2 << Sample::Int16 << bytes;
    }

    void everyPcmLayoutDecodes()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(Sample, format);
        QFETCH(QByteArray, samples);
        const std::optional<platform::WaveSamples> decoded = platform::decodeWave(file);
        QVERIFY(decoded);
        QCOMPARE(decoded->format.rate, rate);
        QCOMPARE(decoded->format.channels, channels);
        QCOMPARE(decoded->format.sample, format);
        QCOMPARE(decoded->samples, samples);
    }

    void eachSampleFormatGoesToTheServerAsItsLittleEndianOne_data()
    {
        QTest::addColumn<Sample>("sample");
        QTest::addColumn<int>("server");
        QTest::newRow("8-bit") << Sample::UInt8 << int(PA_SAMPLE_U8);
        QTest::newRow("16-bit") << Sample::Int16 << int(PA_SAMPLE_S16LE);
        QTest::newRow("32-bit") << Sample::Int32 << int(PA_SAMPLE_S32LE);
        QTest::newRow("float") << Sample::Float << int(PA_SAMPLE_FLOAT32LE);
    }

    void eachSampleFormatGoesToTheServerAsItsLittleEndianOne()
    {
        QFETCH(Sample, sample);
        QFETCH(int, server);
        const auto serverFormat = platform::serverFormatOf({sample, 6, 22050});
        QCOMPARE(int(serverFormat.format), server);
        QCOMPARE(int(serverFormat.channels), 6);
        QCOMPARE(serverFormat.rate, 22050u);
    }

    void undecodableWaveSavedAgainIsTriedAgain()
    {
        putBytes(Cue::ShuffleFrame, undecodableWave(1000));
        const auto player = makePlayer();
        player->play(Cue::ShuffleFrame);
        QCOMPARE(alerts_, 1);
        const QDateTime before = QFileInfo(fileOf(Cue::ShuffleFrame)).lastModified();
        setModified(Cue::ShuffleFrame, before.addSecs(5));
        player->play(Cue::ShuffleFrame);
        QCOMPARE(player->loads(), 2);
        QCOMPARE(alerts_, 2);
    }

    void removedFileGivesTheAlertAndIsReadAgainWhenBack()
    {
        put(Cue::ShuffleFrame);
        const auto player = makePlayer();
        player->play(Cue::ShuffleFrame);
        QVERIFY(QFile::remove(fileOf(Cue::ShuffleFrame)));
        player->play(Cue::ShuffleFrame);
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->playing(), QString());

        put(Cue::ShuffleFrame);
        player->play(Cue::ShuffleFrame);
        QCOMPARE(player->loads(), 2);
        QCOMPARE(player->playing(), heard(Cue::ShuffleFrame));
        QCOMPARE(alerts_, 1);
    }

    void fileIsLookedUpInTheCurrentDirectoryOfEachCue()
    {
        put(Cue::ShuffleFrame);
        const auto player = makePlayer();
        player->play(Cue::ShuffleFrame);
        QCOMPARE(alerts_, 0);
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        player->play(Cue::ShuffleFrame);
        QCOMPARE(alerts_, 1);
        QVERIFY(QDir::setCurrent(runDir_->path()));
        player->play(Cue::ShuffleFrame);
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->loads(), 1);
    }

    void withoutASoundOutputCuesAreSilent()
    {
        if (platform::soundServerTakesAStream())
            QSKIP("there is a sound server");
        put(Cue::ShuffleFrame);
        const auto player = makePlayer();
        player->play(Cue::ShuffleFrame);
        QVERIFY(!player->streamOpen());
        QCOMPARE(player->streamOpenings(), 0);
        QCOMPARE(alerts_, 0);
    }

    void oneStreamCarriesCuesInARowAndClosesWhenIdle()
    {
        if (!platform::soundServerTakesAStream())
            QSKIP("no sound server: run under bench/with-null-sink.sh");
        put(Cue::ShuffleFrame);
        put(Cue::OpeningCard);
        const auto player = makePlayer(100);
        for (int k = 0; k < 10; ++k)
            player->play(k % 2 == 0 ? Cue::ShuffleFrame : Cue::OpeningCard);
        QVERIFY(player->streamOpen());
        QTRY_COMPARE(player->playing(), QString()); // the stream has read the whole cue
        QCOMPARE(player->streamOpenings(), 1);
        QTRY_VERIFY(!player->streamOpen());
        player->play(Cue::ShuffleFrame);
        QVERIFY(player->streamOpen());
        QCOMPARE(player->streamOpenings(), 2);
        QCOMPARE(alerts_, 0);
    }

    void cueOfAnotherFormatReopensTheStream()
    {
        if (!platform::soundServerTakesAStream())
            QSKIP("no sound server: run under bench/with-null-sink.sh");
        put(Cue::ShuffleFrame);
        putBytes(Cue::OpeningCard, wave(1, 2, 22050, 8, QByteArray(2000, '\x80')));
        const auto player = makePlayer();
        player->play(Cue::ShuffleFrame);
        player->play(Cue::OpeningCard);
        QVERIFY(player->streamOpen());
        QCOMPARE(player->streamOpenings(), 2);
        QTRY_COMPARE(player->playing(), QString());
        QCOMPARE(alerts_, 0);
    }
};

QTEST_MAIN(SoundPlayerTest)
#include "tst_soundplayer.moc"
