#include "formfixture.h"
#include "scriptedpeer.h"
#include "serial/portfailure.h"

#include <QDir>
#include <QTest>

using namespace pelzo;

class TestPortSelection : public QObject
{
    Q_OBJECT

private slots:
    void pickFromTheList_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<int>("portNumber");
        QTest::addColumn<QString>("messageBox");

        QTest::newRow("COM4 while closed") << "COM4" << false << 4 << "";
        QTest::newRow("COM16 selects port 16") << "COM16" << false << 16 << "";
        QTest::newRow("COM4 while open is refused") << "COM4" << true << 7 << "Port is open";
        QTest::newRow("COM17 is no port") << "COM17" << false << 7 << "";
        QTest::newRow("lower case is no port") << "com4" << false << 7 << "";
        QTest::newRow("leading zero is no port") << "COM04" << false << 7 << "";
    }

    void pickFromTheList()
    {
        QFETCH(QString, picked);
        QFETCH(bool, portOpen);
        QFETCH(int, portNumber);
        QFETCH(QString, messageBox);

        FormFixture f;
        QVERIFY(f.form.port().setCommPort(7));
        if (portOpen)
            QVERIFY(f.form.port().open());
        const int index = comboNamed(f.form, "Combo1")->findText(picked);
        comboNamed(f.form, "Combo1")->setCurrentIndex(index);
        comboNamed(f.form, "Combo1")->setEditText(picked);
        emit comboNamed(f.form, "Combo1")->activated(index);

        QCOMPARE(f.form.port().commPort(), portNumber);
        QCOMPARE(f.form.port().isOpen(), portOpen);
        QCOMPARE(f.platform.messageBoxes.size(), messageBox.isEmpty() ? 0 : 1);
        if (!messageBox.isEmpty()) {
            QCOMPARE(f.platform.messageBoxes.front().text, messageBox);
            QVERIFY2(f.platform.messageBoxes.front().detail.startsWith(QStringLiteral("COM7 (virtual:COM7): ")),
                     qPrintable(f.platform.messageBoxes.front().detail));
        }
        QCOMPARE(comboNamed(f.form, "Combo1")->currentText(), picked);
        QVERIFY(f.platform.port().writes().isEmpty());
        QVERIFY(QDir(f.programFolder.path()).isEmpty());
    }

    void failureDetailNamesPortDeviceAndReason_data()
    {
        QTest::addColumn<bool>("held");
        QTest::addColumn<QString>("detail");
        QTest::newRow("missing device") << false << "COM5 (virtual:COM5): No such file or directory";
        QTest::newRow("port held by another program")
            << true << "COM5 (virtual:COM5): Permission error while locking the device";
    }

    void failureDetailNamesPortDeviceAndReason()
    {
        QFETCH(bool, held);
        QFETCH(QString, detail);
        FormFixture f;
        VirtualSerialPort &port = f.platform.port();
        port.setOpenable(held ? QSet<int>{5} : QSet<int>{});
        port.setHeldElsewhere(5, held);
        QVERIFY(port.setCommPort(5));
        QVERIFY(!port.open());
        QCOMPARE(portFailureDetail(port), detail);
    }

    void deviceGoneLogsOneLine()
    {
        FormFixture f;
        ScriptedPeer device;
        f.platform.port().attachPeer(&device);
        QVERIFY(f.form.port().setCommPort(3));
        QVERIFY(f.form.port().open());
        device.sendAt(100, "CONN");
        device.hangUpAt(200);
        device.sendAt(300, "ECT\r\n");
        f.platform.runUntil(1000);

        QVERIFY(!f.form.port().isOpen());
        QCOMPARE(f.form.activityLog(), QStringLiteral("\r\nConnection to the device lost: COM3 (virtual:COM3)"));
        QCOMPARE(f.form.ConnectSeen, 0);
        QVERIFY(f.platform.messageBoxes.isEmpty());
    }
};

QTEST_MAIN(TestPortSelection)
#include "tst_portselection.moc"
