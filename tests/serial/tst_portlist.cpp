#include "filebytes.h"
#include "formfixture.h"

#include "serial/portnames.h"

#include <QTemporaryDir>
#include <QTest>

using namespace pelzo;

class TestPortList : public QObject
{
    Q_OBJECT

private slots:
    void theListFollowsPortsThatComeAndGo()
    {
        FormFixture f(0, {1, 3});
        auto *list = comboNamed(f.form, "Combo1");
        list->setEditText(QStringLiteral("COM9"));
        QCOMPARE(f.form.portListItems(), (QStringList{"COM1", "COM3"}));
        const int opensBefore = f.platform.port().openCount();

        f.platform.port().setOpenable({1, 3, 5, 12});
        list->showPopup();
        list->hidePopup();
        QCOMPARE(f.form.portListItems(), (QStringList{"COM1", "COM3", "COM5", "COM12"}));
        QCOMPARE(list->itemData(2, Qt::ToolTipRole).toString(), f.platform.port().devicePath(5));

        f.platform.port().setOpenable({3, 12});
        list->showPopup();
        list->hidePopup();
        QCOMPARE(f.form.portListItems(), (QStringList{"COM3", "COM12"}));
        QCOMPARE(list->currentText(), QStringLiteral("COM9"));
        QCOMPARE(f.platform.port().openCount(), opensBefore);
    }

    void portsArePresentByTheSystemsListAndByLinks()
    {
        QTemporaryDir folder;
        const QString ports = folder.filePath(QStringLiteral("ports"));
        QVERIFY(QDir().mkpath(ports));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), ports + QStringLiteral("/COM7")));
        QVERIFY(QFile::link(folder.filePath(QStringLiteral("gone")), ports + QStringLiteral("/COM2")));
        DeviceListing listing;
        listing.systemPorts = {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB1"),
                               QStringLiteral("/dev/ttyACM0"), QStringLiteral("/dev/ttyS1")};
#if defined(Q_OS_LINUX)
        QCOMPARE(presentPorts(folder.path(), listing), (QList<int>{1, 6, 7, 13}));
#endif
        QCOMPARE(portDevicePath(7, folder.path(), listing), QStringLiteral("/dev/null"));
    }

    void portsIniPutsAnyPortBehindACom()
    {
        QTemporaryDir folder;
        QVERIFY(writeBytes(folder.filePath(QStringLiteral("ports.ini")),
                           "; COM23 is the USB adapter\r\n[ports]\r\nCOM3=COM23\r\ncom5 = /dev/serial/by-id/usb-1\r\n"
                           "[other]\r\nCOM6=COM99\r\n"));
        DeviceListing listing;
        listing.systemPorts = {QStringLiteral("COM23"), QStringLiteral("/dev/serial/by-id/usb-1")};
        QCOMPARE(portDevicePath(3, folder.path(), listing), QStringLiteral("COM23"));
        QCOMPARE(portDevicePath(5, folder.path(), listing), QStringLiteral("/dev/serial/by-id/usb-1"));
        QVERIFY(portDevicePath(6, folder.path(), listing) != QStringLiteral("COM99"));
        QCOMPARE(presentPorts(folder.path(), listing), (QList<int>{3, 5}));
    }

    void macAdaptersLeaveThePseudoPortsOut()
    {
        const QStringList listing{"cu.Bluetooth-Incoming-Port", "cu.usbserial-A10K1234", "cu.debug-console",
                                  "cu.wlan-debug",           "cu.SLAB_USBtoUART",    "tty.usbserial-A10K1234",
                                  "cu.usbmodem14101"};
        QCOMPARE(macAdapters(listing), (QStringList{"cu.SLAB_USBtoUART", "cu.usbmodem14101", "cu.usbserial-A10K1234"}));
        // A pseudo-port that appears does not move an adapter to another number.
        QCOMPARE(macAdapters(listing + QStringList{"cu.AirPods-WirelessiAP"}), macAdapters(listing));
    }
};

QTEST_MAIN(TestPortList)
#include "tst_portlist.moc"
