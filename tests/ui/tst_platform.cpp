// SPDX-FileCopyrightText: 2026 Mossgrovity
// SPDX-License-Identifier: GPL-3.0-or-later
// The paced wait and the random source.
#include "tests/support/fakes.h"

#include "ui/platform/pacedwait.h"
#include "ui/platform/randomsource.h"
#include "ui/platform/windowsystem.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <functional>

namespace {

// A pump that advances the fake counter by a fixed step per dispatch, whatever it was asked.
class SteppingPump final : public platform::EventPump
{
public:
    SteppingPump(support::FakeClock &clock, std::uint32_t step)
        : clock_(clock)
        , step_(step)
    { }
    void dispatch(std::uint32_t) override
    {
        ++dispatches;
        clock_.advance(step_);
        if (onDispatch)
            onDispatch(dispatches);
    }
    int dispatches = 0;
    std::function<void(int)> onDispatch;

private:
    support::FakeClock &clock_;
    std::uint32_t step_;
};

} // namespace

class PlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void pacedWaitLastsItsFullTimeAcrossTheCounterWrap_data()
    {
        QTest::addColumn<quint32>("start");
        QTest::addColumn<quint32>("ms");
        QTest::addColumn<quint32>("step");
        QTest::addColumn<int>("dispatches");
        QTest::newRow("wraps during the wait") << 0xFFFFFFF0u << 30u << 1u << 30;
        QTest::newRow("sign bit changes during the wait") << 0x7FFFFFF0u << 30u << 1u << 30;
        QTest::newRow("starts at the highest value") << 0xFFFFFFFFu << 100u << 7u << 15;
        QTest::newRow("overshoots the last step") << 0u << 30u << 7u << 5;
    }

    void pacedWaitLastsItsFullTimeAcrossTheCounterWrap()
    {
        QFETCH(quint32, start);
        QFETCH(quint32, ms);
        QFETCH(quint32, step);
        QFETCH(int, dispatches);
        support::FakeClock clock(start);
        SteppingPump pump(clock, step);
        platform::PacedWait pacer(clock, pump);
        QVERIFY(pacer.wait(ms));
        QCOMPARE(pump.dispatches, dispatches);
        QVERIFY(clock.now() - start >= ms);
        QVERIFY(clock.now() - start < ms + step);
    }

    void pacedWaitAsksThePumpToBlockOnlyForTheTimeLeft()
    {
        support::FakeClock clock(0xFFFFFFF0u);
        platform::PacedWait pacer(clock, clock);
        QVERIFY(pacer.wait(30));
        QCOMPARE(clock.waitsAsked, std::vector<std::uint32_t> {30});
        QCOMPARE(clock.now(), 14u);
    }

    void zeroWaitStillDispatchesOnce()
    {
        support::FakeClock clock;
        platform::PacedWait pacer(clock, clock);
        QVERIFY(pacer.wait(0));
        QCOMPARE(clock.dispatches, 1);
    }

    void stoppedWaitReturnsAtOnceAndSaysSo()
    {
        // 1 ms per dispatch: a 30 ms wait would take 30 dispatches. Exit stops it in the third.
        support::FakeClock clock;
        SteppingPump pump(clock, 1);
        platform::PacedWait pacer(clock, pump);
        pump.onDispatch = [&pacer](int dispatches) {
            if (dispatches == 3)
                pacer.stop();
        };
        QVERIFY(!pacer.wait(30));
        QCOMPARE(pump.dispatches, 3);
        // Every later wait returns at once, without dispatching.
        QVERIFY(!pacer.wait(30));
        QCOMPARE(pump.dispatches, 3);
    }

    void realWaitKeepsTimersRunningAndLastsAtLeastItsTime()
    {
        platform::SteadyTickCounter ticks;
        platform::QtEventPump pump;
        platform::PacedWait pacer(ticks, pump);
        int fired = 0;
        QTimer timer;
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, [&fired] { ++fired; });
        timer.start();
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(pacer.wait(60));
        QVERIFY(elapsed.elapsed() >= 59); // counter readings are whole milliseconds
        QVERIFY(fired >= 2);
    }

    void seededSourceIsTheStandardEngine()
    {
        // The C++ standard fixes the 10000th output of a default-seeded 64-bit Mersenne
        // Twister; our values are its top 53 bits, so every platform deals the same.
        platform::SeededRandom random(5489u);
        double u = 0;
        for (int k = 0; k < 10000; ++k)
            u = random.uniform();
        QCOMPARE(u, double(9981545732273789042ull >> 11) * 0x1.0p-53);
    }

    void uniformValuesStayInTheUnitInterval()
    {
        platform::SeededRandom random(123);
        double low = 1, high = 0, sum = 0;
        constexpr int count = 100000;
        for (int k = 0; k < count; ++k) {
            const double u = random.uniform();
            QVERIFY(u >= 0.0 && u < 1.0);
            low = std::min(low, u);
            high = std::max(high, u);
            sum += u;
        }
        QVERIFY(low < 0.001);
        QVERIFY(high > 0.999);
        QVERIFY(std::abs(sum / count - 0.5) < 0.01);
    }

    void twoStartsSeedDifferently()
    {
        qunsetenv("QUINTAGRID_SEED");
        const std::uint64_t first = platform::startupSeed();
        const std::uint64_t second = platform::startupSeed();
        QVERIFY(first != second);
        platform::SeededRandom a, b;
        a.seedFromClock();
        b.seedFromClock();
        QVERIFY(a.uniform() != b.uniform());
    }

    void pinnedSeedComesFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("pinned");
        QTest::newRow("decimal") << QByteArray("42") << true;
        QTest::newRow("largest") << QByteArray("18446744073709551615") << true;
        QTest::newRow("empty") << QByteArray("") << false;
        QTest::newRow("words") << QByteArray("forty-two") << false;
        QTest::newRow("trailing junk") << QByteArray("42x") << false;
        QTest::newRow("negative") << QByteArray("-42") << false;
        QTest::newRow("too large") << QByteArray("18446744073709551616") << false;
    }

    void pinnedSeedComesFromTheEnvironment()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, pinned);
        qputenv("QUINTAGRID_SEED", value);
        const bool same = platform::startupSeed() == platform::startupSeed();
        qunsetenv("QUINTAGRID_SEED");
        QCOMPARE(same, pinned);
        if (pinned) {
            qputenv("QUINTAGRID_SEED", value);
            QCOMPARE(platform::startupSeed(), std::strtoull(value.constData(), nullptr, 10));
            qunsetenv("QUINTAGRID_SEED");
        }
    }

    void eachSessionGetsItsPlatformWithTheOtherBehindIt_data()
    {
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QByteArray>("session");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("x11");
        QTest::addColumn<QByteArray>("desktop");
        QTest::addColumn<QByteArray>("mutterFeatures"); // null: mutter's settings must not be read
        QTest::addColumn<QByteArray>("choice");
        const QByteArray unset; // a null QByteArray stands for an unset variable
        const QByteArray leave;
        const QByteArray none("@as []\n");
        const QByteArray fractional("['scale-monitor-framebuffer']\n");
        QTest::newRow("X11 session") << unset << QByteArray("x11") << unset << QByteArray(":0")
                                     << QByteArray("XFCE") << unset << leave;
        QTest::newRow("sway with XWayland")
            << unset << QByteArray("wayland") << QByteArray("wayland-1") << QByteArray(":0")
            << QByteArray("sway") << unset << QByteArray("wayland;xcb");
        QTest::newRow("KDE, Wayland display only")
            << unset << unset << QByteArray("wayland-0") << QByteArray(":1") << QByteArray("KDE")
            << unset << QByteArray("wayland;xcb");
        QTest::newRow("GNOME with XWayland")
            << unset << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
            << QByteArray("ubuntu:GNOME") << none << QByteArray("xcb;wayland");
        QTest::newRow("GNOME Classic is GNOME")
            << unset << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
            << QByteArray("GNOME-Classic:GNOME") << QByteArray("") << QByteArray("xcb;wayland");
        QTest::newRow("GNOME scaling fractionally")
            << unset << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
            << QByteArray("GNOME") << fractional << QByteArray("wayland;xcb");
        QTest::newRow("GNOME scaling fractionally, X programs drawing at 2")
            << unset << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
            << QByteArray("GNOME")
            << QByteArray("['xwayland-native-scaling', 'scale-monitor-framebuffer']\n")
            << QByteArray("wayland;xcb");
        QTest::newRow("GNOME with another experimental feature")
            << unset << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
            << QByteArray("GNOME") << QByteArray("['kms-modifiers']\n")
            << QByteArray("xcb;wayland");
        QTest::newRow("GNOME without XWayland")
            << unset << QByteArray("wayland") << QByteArray("wayland-0") << unset
            << QByteArray("GNOME") << unset << QByteArray("wayland");
        QTest::newRow("a desktop named like GNOME")
            << unset << unset << QByteArray("wayland-0") << QByteArray(":0")
            << QByteArray("GNOMEish") << unset << QByteArray("wayland;xcb");
        QTest::newRow("user chose X11")
            << QByteArray("xcb") << QByteArray("wayland") << QByteArray("wayland-0")
            << QByteArray(":0") << QByteArray("GNOME") << unset << leave;
        QTest::newRow("empty Wayland display in an X11 session")
            << unset << unset << QByteArray("") << QByteArray(":0") << unset << unset << leave;
        QTest::newRow("empty platform is no choice")
            << QByteArray("") << QByteArray("wayland") << QByteArray("wayland-0")
            << QByteArray(":0") << unset << unset << QByteArray("wayland;xcb");
    }

    void eachSessionGetsItsPlatformWithTheOtherBehindIt()
    {
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, session);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, x11);
        QFETCH(QByteArray, desktop);
        QFETCH(QByteArray, mutterFeatures);
        QFETCH(QByteArray, choice);
        const auto value = [](const QByteArray &v) { return v.isNull() ? nullptr : v.constData(); };
        bool read = false;
        QCOMPARE(platform::platformChoice(value(platform), value(session), value(wayland),
                                          value(x11), value(desktop),
                                          [&] {
                                              read = true;
                                              return mutterFeatures;
                                          }),
                 choice);
        QCOMPARE(read, !mutterFeatures.isNull());
    }

    // gsettings stands in as a script on PATH.
    void gnomeSettingsAreReadThroughGsettings_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: no gsettings at all
        QTest::addColumn<QByteArray>("setting");
        QTest::newRow("answers") << QByteArray("[ \"$*\" = 'get org.gnome.mutter "
                                               "experimental-features' ] && echo \"['a']\"")
                                 << QByteArray("['a']\n");
        QTest::newRow("no such schema") << QByteArray("echo partial; exit 1") << QByteArray();
        QTest::newRow("not installed") << QByteArray() << QByteArray();
        QTest::newRow("never ends")
            << QByteArray("echo \"['a']\"; exec /bin/sleep 60") << QByteArray();
    }

    void gnomeSettingsAreReadThroughGsettings()
    {
        QFETCH(QByteArray, script);
        QFETCH(QByteArray, setting);
        QTemporaryDir bin;
        QVERIFY(bin.isValid());
        if (!script.isEmpty()) {
            QFile gsettings(bin.filePath(QStringLiteral("gsettings")));
            QVERIFY(gsettings.open(QIODevice::WriteOnly));
            gsettings.write("#!/bin/sh\n" + script + "\n");
            gsettings.close();
            gsettings.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        const QByteArray answer =
            platform::gnomeSetting("org.gnome.mutter", "experimental-features");
        qputenv("PATH", path);
        QCOMPARE(answer, setting);
    }

    void onlyWaylandCompositorsMoveTheWindows_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("compositorMoves");
        QTest::newRow("X11") << QStringLiteral("xcb") << false;
        QTest::newRow("Wayland") << QStringLiteral("wayland") << true;
        QTest::newRow("Wayland with EGL") << QStringLiteral("wayland-egl") << true;
        QTest::newRow("headless") << QStringLiteral("offscreen") << false;
    }

    void onlyWaylandCompositorsMoveTheWindows()
    {
        QFETCH(QString, platform);
        QFETCH(bool, compositorMoves);
        QCOMPARE(platform::compositorMovesWindows(platform), compositorMoves);
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
