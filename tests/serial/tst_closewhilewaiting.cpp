#include "pseudoterminal.h"
#include "ui/windowplatform.h"
#include "serial/qtserialport.h"
#include "ui/form1.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace pelzo;

namespace {

constexpr int CloseAfterMs = 300;
constexpr int SecondHandlerAfterMs = 100;
// Far beyond the close: an event this late must not run inside a wait that the close ended.
constexpr int LateEventAfterCloseMs = 2000;
constexpr int ProbeIntervalMs = 1000;
constexpr int ProbeAttempts = 20;
constexpr int LongWaitMs = 60000;
constexpr int EventTimeoutMs = 5000;

const QByteArray probe = "\r\nSETUP#\r\n";

} // namespace

class TestCloseWhileWaiting : public QObject
{
    Q_OBJECT

private slots:
    // An action probing once a second and, inside its wait, a second action
    // that waits as well; the user closes the window meanwhile.
    void waitingHandlersStopAndThePortCloses()
    {
        QTemporaryDir program;
        const QString ports = program.filePath(QStringLiteral("ports"));
        QVERIFY(QDir().mkpath(ports));
        PseudoTerminal pty;
        QVERIFY(QFile::link(pty.slavePath(), QDir(ports).filePath(QStringLiteral("COM3"))));

        WindowPlatform platform(std::make_unique<QtSerialPort>(program.path()), program.path());
        auto form = std::make_unique<Form1>(platform);
        platform.setDialogParent(form.get());
        form->show();
        QPointer<Form1> window = form.get();

        bool lateEventRan = false;
        bool lateEventRanInsideAWait = false;
        int probesSent = 0;
        int writesRefused = 0;
        bool secondHandlerReturned = false;

        QTimer::singleShot(CloseAfterMs, form.get(), [&] {
            form->close();
            QTimer::singleShot(LateEventAfterCloseMs, form.get(), [&] { lateEventRan = true; });
        });
        QTimer::singleShot(SecondHandlerAfterMs, form.get(), [&] {
            form->WaitMs(LongWaitMs);
            lateEventRanInsideAWait |= lateEventRan;
            if (!form->port().write("AT+READ#\r\n"))
                ++writesRefused;
            secondHandlerReturned = true;
        });

        QVERIFY(form->port().setCommPort(3));
        QVERIFY(form->port().open());
        for (int attempt = 0; attempt < ProbeAttempts; ++attempt) {
            if (!form->port().write(probe)) {
                ++writesRefused;
                // The action's failure box must not hold a closing program.
                form->platform().messageBox(QStringLiteral("Port is use or no"));
                break;
            }
            ++probesSent;
            form->WaitMs(ProbeIntervalMs);
            lateEventRanInsideAWait |= lateEventRan;
        }
        form->port().close();

        QVERIFY(secondHandlerReturned);
        QVERIFY(!lateEventRanInsideAWait);
        QCOMPARE(probesSent, 1);
        QCOMPARE(writesRefused, 2);
        QVERIFY(platform.isClosing());
        QVERIFY(!form->port().isOpen());
        QVERIFY(!form->port().open());
        QVERIFY(!form->Timer1->isActive());
        QVERIFY(!form->Timer2->isActive());
        QVERIFY(!form->isVisible());
        QVERIFY(window);

        QByteArray atDevice;
        QTRY_COMPARE_WITH_TIMEOUT((atDevice += pty.received()), probe, EventTimeoutMs);
        form.reset();
        QVERIFY(!window);
    }
};

QTEST_MAIN(TestCloseWhileWaiting)
#include "tst_closewhilewaiting.moc"
