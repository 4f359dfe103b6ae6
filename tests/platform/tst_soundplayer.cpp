// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt sound player on real wave files in a scratch current directory, with an alert that
// counts instead of beeping.
#include "cuefiles.h"

#include "game/cues.h"
#include "platform/qtsoundplayer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using platform::QtSoundPlayer;

namespace {

void putLittleEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A whole RIFF wave of `totalBytes` in ADPCM, which Qt does not decode: it fails only once Qt
// has read it.
[[nodiscard]] QByteArray undecodableWave(int totalBytes)
{
    const auto dataBytes = static_cast<quint32>(totalBytes - 44);
    QByteArray out("RIFF");
    putLittleEndian(out, 36 + dataBytes, 4);
    out.append("WAVEfmt ");
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 2, 2); // ADPCM
    putLittleEndian(out, 1, 2);
    putLittleEndian(out, 44100, 4);
    putLittleEndian(out, 88200, 4);
    putLittleEndian(out, 2, 2);
    putLittleEndian(out, 16, 2);
    out.append("data");
    putLittleEndian(out, dataBytes, 4);
    out.append(QByteArray(static_cast<int>(dataBytes), '\0'));
    return out;
}

// Counts how often a sound starts playing.
class StartCounter
{
public:
    explicit StartCounter(const QSoundEffect *sound)
    {
        QObject::connect(sound, &QSoundEffect::playingChanged, &context_, [this, sound] {
            if (sound->isPlaying())
                ++starts;
        });
    }
    int starts = 0;

private:
    QObject context_;
};

} // namespace

class SoundPlayerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir generated_;
    QString startDir_;
    std::unique_ptr<QTemporaryDir> runDir_; // the current directory of one test
    int alerts_ = 0;

    [[nodiscard]] std::unique_ptr<QtSoundPlayer> makePlayer()
    {
        return std::make_unique<QtSoundPlayer>([this] { ++alerts_; });
    }

    // Puts the generated cue `from` into the current directory as `name`.
    void put(const char *name, const char *from)
    {
        QFile::remove(QString::fromLatin1(name));
        QVERIFY(
            QFile::copy(generated_.filePath(QString::fromLatin1(from)), QString::fromLatin1(name)));
    }
    void put(const char *name) { put(name, name); }

    static void putBytes(const char *name, const QByteArray &bytes)
    {
        QFile file(QString::fromLatin1(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    static void setModified(const char *name, const QDateTime &time)
    {
        QFile file(QString::fromLatin1(name));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    static qint64 sizeOf(const char *name) { return QFile(QString::fromLatin1(name)).size(); }

private slots:
    void initTestCase()
    {
        QVERIFY(generated_.isValid());
        QVERIFY(support::writeCueFiles(generated_.path()));
        startDir_ = QDir::currentPath();
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

    void missingFileReturnsAtOnceWithTheAlert()
    {
        const auto player = makePlayer();
        QVERIFY_THROWS_NO_EXCEPTION(player->play(game::Tick1));
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->loads(), 0);
        QCOMPARE(player->soundFor(game::Tick1), nullptr);
    }

    void missingFileWithTheDesktopBeepReturns()
    {
        QtSoundPlayer player;
        QVERIFY_THROWS_NO_EXCEPTION(player.play(game::Tick2));
        QCOMPARE(player.loads(), 0);
    }

    void cueStartsOnceItsSoundHasLoaded()
    {
        put(game::HighScoreCue);
        const auto player = makePlayer();
        player->play(game::HighScoreCue);
        const QSoundEffect *sound = player->soundFor(game::HighScoreCue);
        QVERIFY(sound != nullptr);
        QCOMPARE(sound->status(), QSoundEffect::Loading);
        StartCounter counter(sound);
        QTRY_COMPARE_WITH_TIMEOUT(counter.starts, 1, 10000);
        QCOMPARE(alerts_, 0);
    }

    void newerCueCancelsOneStillLoading()
    {
        put(game::HighScoreCue);
        put(game::Tick2);
        const auto player = makePlayer();
        player->play(game::HighScoreCue);
        player->play(game::Tick2);
        const QSoundEffect *older = player->soundFor(game::HighScoreCue);
        const QSoundEffect *newer = player->soundFor(game::Tick2);
        QCOMPARE(older->status(), QSoundEffect::Loading);
        StartCounter olderCounter(older);
        StartCounter newerCounter(newer);
        QTRY_COMPARE_WITH_TIMEOUT(older->status(), QSoundEffect::Ready, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(newerCounter.starts, 1, 10000);
        QCOMPARE(olderCounter.starts, 0);
    }

    void newCueStopsTheOneStillPlaying()
    {
        put(game::HighScoreCue);
        put(game::Tick1);
        const auto player = makePlayer();
        player->play(game::HighScoreCue);
        const QSoundEffect *first = player->soundFor(game::HighScoreCue);
        QTRY_VERIFY_WITH_TIMEOUT(first->isPlaying(), 10000);
        player->play(game::Tick1);
        QVERIFY(!first->isPlaying());
    }

    void sameCueAgainStartsOver()
    {
        put(game::HighScoreCue);
        const auto player = makePlayer();
        player->play(game::HighScoreCue);
        const QSoundEffect *sound = player->soundFor(game::HighScoreCue);
        StartCounter counter(sound);
        QTRY_COMPARE_WITH_TIMEOUT(counter.starts, 1, 10000);
        player->play(game::HighScoreCue);
        QCOMPARE(counter.starts, 2);
        QVERIFY(sound->isPlaying());
    }

    void unchangedFileIsReadOnce()
    {
        put(game::Tick1);
        const auto player = makePlayer();
        for (int cue = 0; cue < 3; ++cue)
            player->play(game::Tick1);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick1)->status(), QSoundEffect::Ready,
                                  10000);
        player->play(game::Tick1);
        QCOMPARE(player->loads(), 1);
        QCOMPARE(alerts_, 0);
    }

    void replacedFileIsReadAgainAtTheNextCue_data()
    {
        QTest::addColumn<bool>("sameSize");
        QTest::newRow("other size") << false;
        QTest::newRow("same size, other time") << true;
    }

    // Qt cannot decode the replacement, so only a sound read from it anew gives the alert.
    void replacedFileIsReadAgainAtTheNextCue()
    {
        QFETCH(bool, sameSize);
        put(game::Tick2);
        const auto player = makePlayer();
        player->play(game::Tick2);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick2)->status(), QSoundEffect::Ready,
                                  10000);

        const QDateTime before = QFileInfo(QString::fromLatin1(game::Tick2)).lastModified();
        putBytes(game::Tick2, undecodableWave(sameSize ? int(sizeOf(game::Tick2)) : 1000));
        setModified(game::Tick2, before.addSecs(sameSize ? 5 : 0));
        QCOMPARE(sizeOf(game::Tick2)
                     == QFileInfo(generated_.filePath(QString::fromLatin1(game::Tick2))).size(),
                 sameSize);

        player->play(game::Tick2);
        QCOMPARE(player->loads(), 2);
        QCOMPARE(alerts_, 0);
        QTRY_COMPARE_WITH_TIMEOUT(alerts_, 1, 10000);
        QCOMPARE(player->soundFor(game::Tick2)->status(), QSoundEffect::Error);
    }

    void unplayableFileReplacedByAWaveFilePlays()
    {
        putBytes(game::Tick1, QByteArray(100, 'x'));
        const auto player = makePlayer();
        player->play(game::Tick1);
        QCOMPARE(alerts_, 1);
        put(game::Tick1);
        player->play(game::Tick1);
        StartCounter counter(player->soundFor(game::Tick1));
        QTRY_COMPARE_WITH_TIMEOUT(counter.starts, 1, 10000);
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->loads(), 2);
    }

    void fileThatIsNoWholeWaveGivesTheAlertAtOnceAndEveryCue_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QFile whole(generated_.filePath(QString::fromLatin1(game::Tick2)));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QByteArray wave = whole.readAll();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no wave") << QByteArray(2000, 'x');
        QTest::newRow("half a header") << wave.left(20);
        QTest::newRow("cut short") << wave.left(3000);
        QTest::newRow("no format") << wave.left(12) + wave.mid(36);
    }

    void fileThatIsNoWholeWaveGivesTheAlertAtOnceAndEveryCue()
    {
        QFETCH(QByteArray, bytes);
        putBytes(game::Tick2, bytes);
        const auto player = makePlayer();
        player->play(game::Tick2);
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->soundFor(game::Tick2), nullptr);
        player->play(game::Tick2);
        QCOMPARE(alerts_, 2);
        QCOMPARE(player->loads(), 1);
    }

    // Qt 6.4 never finishes loading a cut-short file, and while one load hangs, letting go of
    // any sound hangs too: here replacing one file and closing the player. Were Qt handed the
    // cut-short file, this test would hang until the test runner's time limit.
    void cutShortFileLeavesLaterCuesWorking()
    {
        QFile whole(generated_.filePath(QString::fromLatin1(game::Tick2)));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        putBytes(game::Tick1, whole.read(3000));
        put(game::Tick2);
        auto player = makePlayer();
        player->play(game::Tick1);
        player->play(game::Tick2);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick2)->status(), QSoundEffect::Ready,
                                  10000);
        put(game::Tick2, game::HighScoreCue);
        player->play(game::Tick2);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick2)->status(), QSoundEffect::Ready,
                                  10000);
        player.reset();
        QCOMPARE(alerts_, 1);
    }

    void undecodableWaveGivesTheAlertOnceQtHasReadIt()
    {
        putBytes(game::Tick1, undecodableWave(1000));
        const auto player = makePlayer();
        player->play(game::Tick1);
        QCOMPARE(alerts_, 0);
        QTRY_COMPARE_WITH_TIMEOUT(alerts_, 1, 10000);
        QCOMPARE(player->soundFor(game::Tick1)->status(), QSoundEffect::Error);
        player->play(game::Tick1);
        QCOMPARE(alerts_, 2);
        QCOMPARE(player->loads(), 1);
    }

    void undecodableWaveSavedAgainIsTriedAgain()
    {
        putBytes(game::Tick1, undecodableWave(1000));
        const auto player = makePlayer();
        player->play(game::Tick1);
        QTRY_COMPARE_WITH_TIMEOUT(alerts_, 1, 10000);
        const QDateTime before = QFileInfo(QString::fromLatin1(game::Tick1)).lastModified();
        setModified(game::Tick1, before.addSecs(5));
        player->play(game::Tick1);
        QCOMPARE(player->loads(), 2);
        QCOMPARE(alerts_, 1);
        QTRY_COMPARE_WITH_TIMEOUT(alerts_, 2, 10000);
    }

    void newerCueSilencesAnUndecodableOneStillLoading()
    {
        putBytes(game::Tick1, undecodableWave(1000));
        put(game::Tick2);
        const auto player = makePlayer();
        player->play(game::Tick1);
        player->play(game::Tick2);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick1)->status(), QSoundEffect::Error,
                                  10000);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick2)->status(), QSoundEffect::Ready,
                                  10000);
        QCOMPARE(alerts_, 0);
    }

    void removedFileGivesTheAlertAndIsReadAgainWhenBack()
    {
        put(game::Tick1);
        const auto player = makePlayer();
        player->play(game::Tick1);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick1)->status(), QSoundEffect::Ready,
                                  10000);
        QVERIFY(QFile::remove(QString::fromLatin1(game::Tick1)));
        player->play(game::Tick1);
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->soundFor(game::Tick1), nullptr);

        put(game::Tick1);
        player->play(game::Tick1);
        QCOMPARE(player->loads(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(player->soundFor(game::Tick1)->status(), QSoundEffect::Ready,
                                  10000);
        QCOMPARE(alerts_, 1);
    }

    void fileIsLookedUpInTheCurrentDirectoryOfEachCue()
    {
        put(game::Tick1);
        const auto player = makePlayer();
        player->play(game::Tick1);
        QCOMPARE(alerts_, 0);
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        player->play(game::Tick1);
        QCOMPARE(alerts_, 1);
        QVERIFY(QDir::setCurrent(runDir_->path()));
        player->play(game::Tick1);
        QCOMPARE(alerts_, 1);
        QCOMPARE(player->loads(), 1);
    }
};

QTEST_MAIN(SoundPlayerTest)
#include "tst_soundplayer.moc"
