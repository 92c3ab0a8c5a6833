#include "core/virtualplatform.h"

#include "scriptedpeer.h"

#include <QTest>

using pelzo::VirtualPlatform;
using pelzo::waitMs;

class TestVirtualPlatform : public QObject
{
    Q_OBJECT

private slots:
    void waitReturnsAtFirstReadingPastItsDuration_data()
    {
        QTest::addColumn<quint32>("origin");
        QTest::addColumn<int>("duration");
        QTest::addColumn<qint64>("returnsAt");
        QTest::newRow("wait 0 returns 1 ms later") << 0u << 0 << qint64(1);
        QTest::newRow("wait 1000 returns at 1001") << 0u << 1000 << qint64(1001);
        QTest::newRow("negative wait behaves as 0") << 0u << -5 << qint64(1);
        QTest::newRow("wait across the clock's wrap") << 0xffffff00u << 1000 << qint64(1001);
        QTest::newRow("wait starts on the last tick before the wrap") << 0xffffffffu << 100 << qint64(101);
        QTest::newRow("wait ends exactly on the wrap") << 0xfffffc17u << 1000 << qint64(1001);
    }
    void waitReturnsAtFirstReadingPastItsDuration()
    {
        QFETCH(quint32, origin);
        QFETCH(int, duration);
        QFETCH(qint64, returnsAt);
        VirtualPlatform platform(origin);
        waitMs(platform, duration);
        QCOMPARE(platform.now(), returnsAt);
    }

    void eventsRunInTimeOrderDuringAWait()
    {
        VirtualPlatform platform;
        QList<qint64> seen;
        platform.at(300, [&] { seen << platform.now(); });
        platform.at(100, [&] { seen << platform.now(); });
        platform.at(2000, [&] { seen << platform.now(); });
        waitMs(platform, 500);
        QCOMPARE(seen, (QList<qint64>{100, 300}));
        platform.runUntil(2000);
        QCOMPARE(seen, (QList<qint64>{100, 300, 2000}));
    }

    void aNestedWaitRunsToItsEndBeforeTheOuterResumes()
    {
        VirtualPlatform platform;
        QStringList order;
        platform.at(200, [&] {
            order << QStringLiteral("inner starts");
            waitMs(platform, 1000);
            order << QStringLiteral("inner ends at %1").arg(platform.now());
        });
        platform.at(700, [&] { order << QStringLiteral("event at %1").arg(platform.now()); });
        waitMs(platform, 500);
        order << QStringLiteral("outer ends at %1").arg(platform.now());
        QCOMPARE(order, (QStringList{"inner starts", "event at 700", "inner ends at 1201", "outer ends at 1201"}));
    }

    void timerTicksDuringAWaitAndStops()
    {
        VirtualPlatform platform;
        auto timer = platform.createTimer();
        QList<qint64> ticks;
        timer->onTick = [&] {
            ticks << platform.now();
            if (ticks.size() == 3)
                timer->stop();
        };
        timer->setInterval(100);
        timer->start();
        waitMs(platform, 1000);
        QCOMPARE(ticks, (QList<qint64>{100, 200, 300}));
        QVERIFY(!timer->isActive());
    }

    void peerAnswerArrivesAsAReceiveEventWhileWaiting()
    {
        VirtualPlatform platform;
        ScriptedPeer peer;
        peer.on("PING", "PONG", 30);
        auto &port = platform.port();
        port.attachPeer(&peer);
        QByteArray received;
        qint64 receivedAt = -1;
        port.onReceive = [&] {
            received += port.readAll();
            receivedAt = platform.now();
        };
        QVERIFY(port.open());
        platform.runUntil(10);
        QVERIFY(port.write("PING"));
        waitMs(platform, 100);
        QCOMPARE(received, QByteArray("PONG"));
        QCOMPARE(receivedAt, qint64(40));
        QCOMPARE(port.writes().constFirst().atMs, qint64(10));
    }

    void hangUpClosesThePortOnceAndReports()
    {
        VirtualPlatform platform;
        ScriptedPeer peer;
        peer.hangUpAt(50);
        auto &port = platform.port();
        port.attachPeer(&peer);
        int lost = 0;
        port.onLinkLost = [&] { ++lost; };
        QVERIFY(port.open());
        platform.runFor(100);
        QCOMPARE(lost, 1);
        QVERIFY(!port.isOpen());
        QVERIFY(!port.write("late"));
    }

    void portRefusesWhatARealPortRefuses()
    {
        VirtualPlatform platform;
        auto &port = platform.port();
        port.setOpenable({2});
        QVERIFY(!port.open()); // port 1 is missing
        QVERIFY(port.setCommPort(2));
        QVERIFY(port.open());
        QVERIFY(!port.open());          // already open
        QVERIFY(!port.setCommPort(3));  // no change while open
        QCOMPARE(port.commPort(), 2);
        port.close();
        port.setHeldElsewhere(2, true);
        QVERIFY(!port.open());
        QVERIFY(!port.setCommPort(17));
        port.shutDown();
        port.setHeldElsewhere(2, false);
        QVERIFY(!port.open());
    }

    void closingEndsEveryWaitAtOnce()
    {
        VirtualPlatform platform;
        platform.at(100, [&] { platform.beginClosing(); });
        waitMs(platform, 20000);
        QCOMPARE(platform.now(), qint64(100));
    }
};

QTEST_GUILESS_MAIN(TestVirtualPlatform)
#include "tst_virtualplatform.moc"
