#include "serial/startup.h"
#include "core/virtualplatform.h"
#include "serial/portsettingsstore.h"
#include "ui/controltable.h"
#include "ui/form1.h"

#include "controls.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace pelzo;

namespace {

QStringList items(const QComboBox *combo)
{
    QStringList all;
    for (int i = 0; i < combo->count(); ++i)
        all << combo->itemText(i);
    return all;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void portListAndPortNumber_data()
    {
        QTest::addColumn<QList<int>>("openable");
        QTest::addColumn<QList<int>>("heldElsewhere");
        QTest::addColumn<QByteArray>("settingsFile"); // null: no file
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("portNumber");

        const QByteArray com3 = "[QTNComm]\npar5=COM3\n";
        QTest::newRow("ports 1 and 3, saved COM3") << QList<int>{1, 3} << QList<int>{} << com3
                                                  << QStringList{"COM1", "COM3"} << "COM3" << 3;
        QTest::newRow("no openable port: no items, saved text kept")
            << QList<int>{} << QList<int>{} << com3 << QStringList{} << "COM3" << 3;
        QTest::newRow("saved COM12 that did not open") << QList<int>{2} << QList<int>{}
                                                      << QByteArray("[QTNComm]\npar5=COM12\n") << QStringList{"COM2"}
                                                      << "COM12" << 12;
        QTest::newRow("no settings file leaves port 16")
            << QList<int>{5} << QList<int>{} << QByteArray() << QStringList{"COM5"} << "" << 16;
        QTest::newRow("saved number out of range leaves port 16")
            << QList<int>{} << QList<int>{} << QByteArray("[QTNComm]\npar5=COM17\n") << QStringList{} << "COM17"
            << 16;
        QTest::newRow("busy port is not listed") << QList<int>{1, 2, 3} << QList<int>{2} << com3
                                                << QStringList{"COM1", "COM3"} << "COM3" << 3;
        QTest::newRow("all sixteen ports in order")
            << QList<int>{16, 9, 10, 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15} << QList<int>{}
            << QByteArray("[QTNComm]\npar5=COM9\n")
            << QStringList{"COM1", "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",
                           "COM9", "COM10", "COM11", "COM12", "COM13", "COM14", "COM15", "COM16"}
            << "COM9" << 9;
    }

    void portListAndPortNumber()
    {
        QFETCH(QList<int>, openable);
        QFETCH(QList<int>, heldElsewhere);
        QFETCH(QByteArray, settingsFile);
        QFETCH(QStringList, listed);
        QFETCH(QString, text);
        QFETCH(int, portNumber);

        QTemporaryDir folder;
        VirtualPlatform platform;
        platform.setProgramFolder(folder.path());
        if (!settingsFile.isNull()) {
            QFile file(portSettingsPath(platform));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(settingsFile);
        }
        VirtualSerialPort &port = platform.port();
        port.setOpenable(QSet<int>(openable.begin(), openable.end()));
        for (int number : heldElsewhere)
            port.setHeldElsewhere(number, true);

        Form1 form(platform);
        formLoad(form);

        QCOMPARE(items(comboNamed(form, "Combo1")), listed);
        QCOMPARE(comboNamed(form, "Combo1")->currentText(), text);
        QCOMPARE(port.commPort(), portNumber);
        for (int i = 0; i < comboNamed(form, "Combo1")->count(); ++i)
            QCOMPARE(comboNamed(form, "Combo1")->itemData(i, Qt::ToolTipRole).toString(),
                     QStringLiteral("virtual:") + comboNamed(form, "Combo1")->itemText(i));
        // With no port at all the list itself says why and what to do.
        QCOMPARE(comboNamed(form, "Combo1")->toolTip().contains(QLatin1String("dialout")), listed.isEmpty());

        // Silent, and the port left closed and set up for the device.
        QVERIFY(platform.messageBoxes.isEmpty());
        QVERIFY(form.activityLog().isEmpty());
        QVERIFY(!port.isOpen());
        QCOMPARE(port.settings(), QStringLiteral("115200,n,8,1"));
        QVERIFY(port.writes().isEmpty());
    }

    void choiceListsFilledOnceAndCtcssUnused()
    {
        QTemporaryDir folder;
        VirtualPlatform platform;
        platform.setProgramFolder(folder.path());
        Form1 form(platform);
        formLoad(form);
        for (const ChoiceList &list : choiceLists()) {
            const auto *combo = form.control<QComboBox>(controlsOf(list.field).front());
            QCOMPARE(items(combo), list.items);
            QCOMPARE(combo->currentText(), QString());
        }
        QCOMPARE(editNamed(form, "Text32")->text(), QStringLiteral("---"));
        QVERIFY(!editNamed(form, "Text32")->isEnabled());
        QVERIFY(!labelNamed(form, "Label21")->isEnabled());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
