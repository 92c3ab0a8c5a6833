// The pure logic, table by table: waits, image frames, line settings,
// port names, the program folder, reading bytes that arrived.
#include "filebytes.h"

#include "cli/options.h"
#include "core/gb18030.h"
#include "core/programfolder.h"
#include "core/textcodec.h"
#include "testing/virtualplatform.h"
#include "firmware/bootloaderframes.h"
#include "firmware/progresstext.h"
#include "serial/linesettings.h"
#include "serial/portnames.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pelzo;

class TestUnits : public QObject
{
    Q_OBJECT

private slots:
    void waitReturnsAtTheFirstReadingPastItsDuration_data()
    {
        QTest::addColumn<quint32>("origin");
        QTest::addColumn<int>("duration");
        QTest::addColumn<qint64>("returnsAt");
        QTest::newRow("wait 0 returns 1 ms later") << 0u << 0 << qint64(1);
        QTest::newRow("wait 1000 returns at 1001") << 0u << 1000 << qint64(1001);
        QTest::newRow("a negative wait behaves as 0") << 0u << -5 << qint64(1);
        QTest::newRow("across the clock's wrap") << 0xffffff00u << 1000 << qint64(1001);
        QTest::newRow("from the last tick before the wrap") << 0xffffffffu << 100 << qint64(101);
        QTest::newRow("ending exactly on the wrap") << 0xfffffc17u << 1000 << qint64(1001);
    }
    void waitReturnsAtTheFirstReadingPastItsDuration()
    {
        QFETCH(quint32, origin);
        QFETCH(int, duration);
        QFETCH(qint64, returnsAt);
        VirtualPlatform platform(origin);
        waitMs(platform, duration);
        QCOMPARE(platform.now(), returnsAt);
    }

    void framesForTheBootloader()
    {
        // Only blocks the image holds make frames.
        QByteArray frame;
        const QByteArray image = QByteArray(2048, '\xff') + QByteArray(1, '\0');
        QVERIFY(fillBlockFrame(image, 0, frame));
        QVERIFY(!fillBlockFrame(image, 1, frame) && !fillBlockFrame(image, -1, frame));
        QCOMPARE(bootResponseAt(u"E5C5"), BootResponse::HeaderWanted);
        QCOMPARE(bootResponseAt(u"55"), BootResponse::SameBlockAgain);
        QCOMPARE(bootResponseAt(u" C5"), BootResponse::None);
        QCOMPARE(bootResponseAt(u"c5"), BootResponse::None);
        QCOMPARE(roundedPercent(23, 40), 58);
    }

    void lineSettings()
    {
        const auto device = parseLineSettings(DeviceLineSettings);
        QVERIFY(device && device->baudRate == 115200 && device->parity == QSerialPort::NoParity &&
                device->dataBits == QSerialPort::Data8 && device->stopBits == QSerialPort::OneStop);
        const auto other = parseLineSettings("9600,e,7,2");
        QVERIFY(other && other->parity == QSerialPort::EvenParity && other->dataBits == QSerialPort::Data7 &&
                other->stopBits == QSerialPort::TwoStop);
        QVERIFY(!parseLineSettings("115200,n,8"));
        QVERIFY(!parseLineSettings("115200,x,8,1"));
    }

    void portNamesStandForDevices()
    {
        QCOMPARE(listedPortNumber("COM16"), std::optional(16));
#if defined(Q_OS_WIN)
        QCOMPARE(listedPortNumber("COM23"), std::optional(23));
        QCOMPARE(listedPortNumber("COM256"), std::optional(256));
#else
        QVERIFY(!listedPortNumber("COM17"));
#endif
        for (const char *name : {"COM257", "COM0", "com4", "COM04", "COM+4", " COM4", "COM4 ", "COM"})
            QVERIFY2(!listedPortNumber(name), name);
#if defined(Q_OS_LINUX)
        QTemporaryDir folder;
        QVERIFY(QDir().mkpath(folder.filePath("ports")));
        QVERIFY(QFile::link("/dev/ttyUSB-gone", folder.filePath("ports/COM9")));
        QVERIFY(writeBytes(folder.filePath("ports/COM3"), "not a link"));
        const QMap<int, QString> devices{{4, "/dev/ttyS3"},   {5, "/dev/ttyUSB0"}, {12, "/dev/ttyUSB7"},
                                         {13, "/dev/ttyACM0"}, {9, "/dev/ttyUSB-gone"}, {3, "/dev/ttyS2"}};
        for (auto it = devices.cbegin(); it != devices.cend(); ++it)
            QCOMPARE(portDevicePath(it.key(), folder.path()), it.value());
#endif
    }

    void portsArePresentByTheSystemsListAndByLinks()
    {
#if !defined(Q_OS_UNIX)
        QSKIP("the links of the ports folder stand for devices on Linux and macOS only");
#endif
        QTemporaryDir folder;
        const QString ports = folder.filePath("ports");
        QVERIFY(QDir().mkpath(ports));
        QVERIFY(QFile::link("/dev/null", ports + "/COM7"));
        QVERIFY(QFile::link(folder.filePath("gone"), ports + "/COM2"));
        DeviceListing listing;
        listing.systemPorts = {"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyS1"};
#if defined(Q_OS_LINUX)
        QCOMPARE(presentPorts(folder.path(), listing), (QList<int>{1, 6, 7, 13}));
#endif
        QCOMPARE(portDevicePath(7, folder.path(), listing), QString("/dev/null"));
    }

    void portsIniPutsAnyPortBehindACom()
    {
        QTemporaryDir folder;
        // A device put behind another name is listed under that name only.
        const QString first = portDevicePath(1, folder.path());
        QVERIFY(writeBytes(folder.filePath("ports.ini"),
                           "; COM23 is the USB adapter\r\n[ports]\r\nCOM3=COM23\r\ncom5 = /dev/serial/by-id/usb-1\r\n"
                           "COM9=" + first.toUtf8() + "\r\n[other]\r\nCOM6=COM99\r\n"));
        DeviceListing listing;
        listing.systemPorts = {"COM23", "/dev/serial/by-id/usb-1", first};
        QCOMPARE(portDevicePath(3, folder.path(), listing), QString("COM23"));
        QCOMPARE(portDevicePath(5, folder.path(), listing), QString("/dev/serial/by-id/usb-1"));
        QVERIFY(portDevicePath(6, folder.path(), listing) != "COM99");
        QCOMPARE(presentPorts(folder.path(), listing), (QList<int>{3, 5, 9}));
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

    void bytesThatArrivedAreReadAndKept_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("lastCharacter");
        QTest::addColumn<TextEnd>("end");
        const TextEnd whole = TextEnd::Whole, more = TextEnd::MoreToCome;
        QTest::newRow("UTF-8") << QByteArray("a\xc3\xa9\xe5\x85\xac") << QString("aé公") << QByteArray("\xe5\x85\xac") << whole;
        QTest::newRow("a character cut off waits for its rest") << QByteArray("a\xe5\x85") << QString("a") << QByteArray("a") << more;
        QTest::newRow("cut off at a line's end it is no UTF-8") << QByteArray("a\xe5\x85") << QString("a鍏") << QByteArray("\xe5\x85") << whole;
        QTest::newRow("Latin-1 ending in a lead byte") << QByteArray("Jos\xe9") << QString("José") << QByteArray("\xe9") << whole;
        QTest::newRow("GBK") << QByteArray("a\xd6\xd0") << QString("a中") << QByteArray("\xd6\xd0") << whole;
        QTest::newRow("no reading but Latin-1") << QByteArray("a\xff") << QString("aÿ") << QByteArray("\xff") << more;
        QTest::newRow("an overlong UTF-8 form is no UTF-8") << QByteArray("\xc0\xaf") << QString("蜡") << QByteArray("\xc0\xaf") << more;
        QTest::newRow("GB18030 four-byte codes") << QByteArray("\x81\x30\x81\x30\x94\x39\xfc\x36") << QString::fromUcs4(U"\u0080\U0001F600") << QByteArray("\x94\x39\xfc\x36") << whole;
        QTest::newRow("a four-byte code cut off") << QByteArray("\xd6\xd0\x81\x30") << QString("ÖÐ\u0081" "0") << QByteArray("0") << whole;
    }
    void bytesThatArrivedAreReadAndKept()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(QByteArray, lastCharacter);
        QFETCH(TextEnd, end);
        const DecodedBytes decoded(bytes, Fallback::Gb18030, end);
        QCOMPARE(decoded.text(), text);
        QCOMPARE(decoded.bytes(decoded.size() - 1, decoded.size()), lastCharacter);
    }

    // Both ways, at the edges of each kind of code and where editions of GB18030 differ.
    void gb18030CodesStandForTheirCharacters()
    {
        const QList<std::pair<char32_t, QByteArray>> codes{
            {U'中', "\xd6\xd0"},           {U'\u20ac', "\xa2\xe3"},         {U'\u1e3f', "\xa8\xbc"},
            {U'\U00020087', "\xfe\x51"},    {U'\u0080', "\x81\x30\x81\x30"}, {U'\ue5e5', "\xa3\xa0"},
            {U'\uffff', "\x84\x31\xa4\x39"}, {U'\U00010000', "\x90\x30\x81\x30"}, {U'\U0010ffff', "\xe3\x32\x9a\x35"}};
        for (const auto &[character, code] : codes) {
            QCOMPARE(gb18030::encode(character), code);
            const auto read = gb18030::decodeFirst(code + "x");
            QVERIFY(read && read->code == character && read->length == code.size());
        }
        for (const QByteArray code : {"\x80", "\xff\x40", "\x81\x7f", "\x84\x31\xa5\x30", "\xe3\x32\x9a\x36", "\x81\x30\x81"})
            QVERIFY2(!gb18030::decodeFirst(code), code.toHex().constData());
        QVERIFY(gb18030::encode(0xd800).isEmpty());
    }

    // The usage, the man page and the shell completion list the same commands and options.
    void pelzoCliIsDocumentedAsItIs()
    {
        QString manPage = QString::fromUtf8(readBytes(testData("../../packaging/pelzo-cli.1")));
        manPage.replace("\\-", "-").remove(QRegularExpression("\\\\f[BIRP]"));
        const QString completion = QString::fromUtf8(readBytes(testData("../../packaging/pelzo-cli.bash-completion")));
        const QStringList known = cli::commandNames() + cli::optionNames();
        for (const QString &name : known) {
            const QRegularExpression word("(?<![\\w-])" + QRegularExpression::escape(name) + "(?![\\w-])");
            QVERIFY2(cli::usage().contains(word) || name.startsWith('-'), qPrintable("usage lacks " + name));
            QVERIFY2(manPage.contains(word), qPrintable("the man page lacks " + name));
            QVERIFY2(completion.contains(word), qPrintable("the completion lacks " + name));
        }
        const QRegularExpression option("(?<![\\w-])--?[a-z][a-z-]*");
        for (const QString &text : {manPage, completion}) {
            for (const auto &match : option.globalMatch(text)) {
                const QString named = match.captured();
                QVERIFY2(known.contains(named) || named == "-F" || named == "-W" || named == "-f" || named == "-aG",
                         qPrintable(named + " is no option of pelzo-cli"));
            }
        }
    }

    void theProgramFolderIsBesideTheProgramWhenItMayWriteThere()
    {
        QTemporaryDir program, user;
        const QString userFolder = QDir(user.path()).filePath("deep/pelzo-config");
        QCOMPARE(chooseProgramFolder(program.path(), userFolder), program.path());
        QVERIFY(!QDir(userFolder).exists());
        QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
        QCOMPARE(chooseProgramFolder("/nonexistent/pelzo/bin", userFolder), userFolder);
        QVERIFY(QDir(userFolder).exists());
    }
};

QTEST_MAIN(TestUnits)
#include "tst_units.moc"
