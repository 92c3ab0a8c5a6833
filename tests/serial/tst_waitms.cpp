#include "core/virtualplatform.h"

#include <QTest>

using namespace pelzo;

class TestWaitMs : public QObject
{
    Q_OBJECT

private slots:
    // The wait ends at the first clock reading more than d ms after its start.
    void returnsJustAfterItsDuration_data()
    {
        QTest::addColumn<quint32>("tickOrigin");
        QTest::addColumn<qint32>("duration");
        QTest::addColumn<qint64>("returnsAt");

        QTest::newRow("wait of 0 takes one millisecond") << 0u << 0 << qint64(1);
        QTest::newRow("wait of 1000 returns at 1001") << 0u << 1000 << qint64(1001);
        QTest::newRow("negative wait acts as 0") << 0u << -5 << qint64(1);
        QTest::newRow("clock wraps during the wait") << 0xFFFFFF00u << 1000 << qint64(1001);
        QTest::newRow("wait starts on the last tick before the wrap") << 0xFFFFFFFFu << 100 << qint64(101);
        QTest::newRow("wait ends exactly on the wrap") << 0xFFFFFC17u << 1000 << qint64(1001);
    }

    void returnsJustAfterItsDuration()
    {
        QFETCH(quint32, tickOrigin);
        QFETCH(qint32, duration);
        QFETCH(qint64, returnsAt);
        VirtualPlatform platform(tickOrigin);
        waitMs(platform, duration);
        QCOMPARE(platform.now(), returnsAt);
    }

    void eventsRunDuringTheWait()
    {
        VirtualPlatform platform;
        QList<qint64> ranAt;
        platform.at(0, [&] { ranAt << platform.now(); });
        platform.at(500, [&] { ranAt << platform.now(); });
        platform.at(1000, [&] { ranAt << platform.now(); });
        platform.at(1002, [&] { ranAt << platform.now(); });
        waitMs(platform, 1000);
        QCOMPARE(ranAt, (QList<qint64>{0, 500, 1000}));
        QCOMPARE(platform.now(), qint64(1001));
    }

    // A handler started inside a wait may wait itself; the outer wait goes on
    // only when the inner handler has returned.
    void nestedWaitsReturnInOrder()
    {
        VirtualPlatform platform;
        QStringList trace;
        platform.at(100, [&] {
            trace << QStringLiteral("inner starts at %1").arg(platform.now());
            waitMs(platform, 2000);
            trace << QStringLiteral("inner ends at %1").arg(platform.now());
        });
        waitMs(platform, 500);
        trace << QStringLiteral("outer ends at %1").arg(platform.now());
        QCOMPARE(trace, (QStringList{"inner starts at 100", "inner ends at 2101", "outer ends at 2101"}));
    }

    void closingEndsEveryWaitAtOnce()
    {
        VirtualPlatform platform;
        platform.at(300, [&] { platform.beginClosing(); });
        waitMs(platform, 10000);
        QCOMPARE(platform.now(), qint64(300));
        waitMs(platform, 10000);
        QCOMPARE(platform.now(), qint64(300));
    }
};

QTEST_MAIN(TestWaitMs)
#include "tst_waitms.moc"
