// The exchanges at real time, through a real pseudo-terminal, with pelzo-sim
// as a separate process playing the device.

#include "ui/windowplatform.h"
#include "serial/startup.h"
#include "serial/portsettingsstore.h"
#include "serial/qtserialport.h"
#include "sentfields.h"
#include "statefile.h"
#include "ui/form1.h"
#include "controls.h"
#include "ui/inputrules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace pelzo;

namespace {

constexpr int StartTimeoutMs = 10'000;

// The real platform, except that message boxes are recorded instead of shown.
class RecordingPlatform : public WindowPlatform
{
public:
    using WindowPlatform::WindowPlatform;
    void messageBox(const QString &text, const QString &detail) override { boxes.append({text, detail}); }

    QList<std::pair<QString, QString>> boxes;
};

// A program folder whose COM1 is pelzo-sim, and the window, loaded as the program loads it.
struct EmulatedStation
{
    explicit EmulatedStation(const QStringList &emulatorOptions = {}, const QByteArray &deviceState = {})
    {
        if (!deviceState.isEmpty()) {
            QFile state(statePath());
            if (!state.open(QIODevice::WriteOnly) || state.write(deviceState) != deviceState.size())
                return;
        }
        emulator.start(QStringLiteral(PELZO_SIM_EXECUTABLE),
                       QStringList{"--link", folder.filePath("ports/COM1"), "--state", statePath()}
                           + emulatorOptions);
        if (!emulator.waitForStarted(StartTimeoutMs) || !emulator.waitForReadyRead(StartTimeoutMs))
            return;
        WriteINI(QStringLiteral("QTNComm"), QStringLiteral("par5"), QStringLiteral("COM1"),
                 portSettingsPath(platform));
        form.emplace(platform);
        formLoad(*form);
    }
    ~EmulatedStation()
    {
        form.reset();
        if (emulator.state() != QProcess::NotRunning) {
            emulator.terminate();
            emulator.waitForFinished(StartTimeoutMs);
        }
    }

    bool ready() const { return form.has_value(); }
    QString statePath() const { return folder.filePath("device-state.txt"); }
    pelzosim::Configuration deviceConfiguration() const
    {
        QFile state(statePath());
        return state.open(QIODevice::ReadOnly) ? pelzosim::statefile::parse(state.readAll())
                                               : pelzosim::Configuration{};
    }

    QTemporaryDir folder;
    QProcess emulator;
    RecordingPlatform platform{std::make_unique<QtSerialPort>(folder.path()), folder.path()};
    std::optional<Form1> form;
};

} // namespace

class TestE2eExchanges : public QObject
{
    Q_OBJECT

private slots:
    void readFillsTheWindowFromTheDevice();
    void writeGivesTheDeviceTheWindowsConfiguration();
    void wifiApplyReachesTheDevice();
    void deviceGoingAwayDuringARead();
};

void TestE2eExchanges::readFillsTheWindowFromTheDevice()
{
    EmulatedStation station({}, "CALLSIGN:BH4XYZ-7\nCOMMENT TEXT:read end to end\nDHCP:0\nIP:10,0,0,5\nUNIT:2\n");
    QVERIFY(station.ready());
    Form1 &form = *station.form;
    buttonNamed(form, "Command6")->click();

    QVERIFY(form.activityLog().endsWith(QStringLiteral("\r\nread ok")));
    QVERIFY(!form.port().isOpen());
    QCOMPARE(buttonNamed(form, "Command6")->text(), QStringLiteral("read data"));
    QVERIFY(buttonNamed(form, "Command7")->isEnabled());
    QCOMPARE(form.fieldText(Field::Callsign), QStringLiteral("BH4XYZ"));
    QCOMPARE(form.fieldText(Field::CallSsid), QStringLiteral("7"));
    QCOMPARE(form.fieldText(Field::Comment), QStringLiteral("read end to end"));
    QCOMPARE(form.fieldText(Field::AddressMode), StaticIp);
    QCOMPARE(form.octets(Field::IpAddress), (QStringList{"10", "0", "0", "5"}));
    QCOMPARE(form.fieldText(Field::Unit), QStringLiteral("mi"));
    QCOMPARE(form.fieldText(Field::DeviceVersion), QStringLiteral("PELZO-SIM 1.0"));
    for (const auto &[field, texts] : sentFields(form).asKeyValueRange()) {
        for (const QString &text : texts)
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QString::number(int(field))));
    }
    QCOMPARE(ReadINI(QStringLiteral("QTNComm"), QStringLiteral("par4"), portSettingsPath(station.platform)),
             QStringLiteral("115200"));
    QVERIFY(station.platform.boxes.isEmpty());
}

void TestE2eExchanges::writeGivesTheDeviceTheWindowsConfiguration()
{
    EmulatedStation station;
    QVERIFY(station.ready());
    Form1 &form = *station.form;
    const QList<std::pair<Field, QString>> edits{
        {Field::Callsign, "BH4XYZ"}, {Field::CallSsid, "7"}, {Field::Passcode, "12345"},
        {Field::AddressMode, StaticIp}, {Field::Position, "!3111.11N/12122.22E&"}, {Field::Comment, "73 de Jürgen"},
        {Field::Server, "euro.aprs2.net"}, {Field::SendTime, "0300"}, {Field::Filter, "r/31/121/50"},
        {Field::Backlight, "30"}, {Field::Unit, "mi"}, {Field::Digi, "0"}, {Field::TxVolume, "5"},
        {Field::Path, "WIDE1-1WIDE2-1"}, {Field::Alias, "WIDE1"}, {Field::Frequency, "144.3900"},
    };
    for (const auto &[field, text] : edits)
        form.setFieldText(field, text);
    const QStringList address{"10", "0", "0", "5"};
    for (int box = 0; box < 4; ++box)
        setProgramText(octetBox(form, Field::IpAddress, box), address[box]);
    buttonNamed(form, "Command7")->setEnabled(true);
    const QMap<Field, QStringList> window = sentFields(form);

    buttonNamed(form, "Command7")->click();
    QCOMPARE(form.activityLog(), QStringLiteral("Writing......\r\nWrite complete"));
    QVERIFY(!form.port().isOpen());

    const pelzosim::Configuration device = station.deviceConfiguration();
    QCOMPARE(device.value(pelzosim::Field::Callsign), QByteArray("BH4XYZ-7"));
    QCOMPARE(device.value(pelzosim::Field::Dhcp), QByteArray("0"));
    QCOMPARE(device.value(pelzosim::Field::Ip), QByteArray("10,0,0,5"));
    QCOMPARE(device.value(pelzosim::Field::Comment), QByteArray("73 de J\xc3\xbcrgen"));

    // Read back: every field the write sent comes back as the window held it.
    buttonNamed(form, "Command6")->click();
    QVERIFY(form.activityLog().endsWith(QStringLiteral("\r\nread ok")));
    QCOMPARE(sentFields(form), window);
    QVERIFY(station.platform.boxes.isEmpty());
}

void TestE2eExchanges::wifiApplyReachesTheDevice()
{
    EmulatedStation station;
    QVERIFY(station.ready());
    Form1 &form = *station.form;
    editNamed(form, "Text34")->setText(QStringLiteral("HamNet"));
    editNamed(form, "Text33")->setText(QStringLiteral("pass,#1"));
    buttonNamed(form, "Command8")->click();

    QCOMPARE(form.activityLog(), QStringLiteral("WIFI Writing.....\r\nWIFI Write complete\r\nWIFI reset...\r\n"));
    QVERIFY(!form.port().isOpen());
    QCOMPARE(buttonNamed(form, "Command8")->text(), QStringLiteral("Apply"));
    const pelzosim::Configuration device = station.deviceConfiguration();
    QCOMPARE(device.wifiSsid, QByteArray("HamNet"));
    QCOMPARE(device.wifiPassword, QByteArray("pass,#1"));
    QVERIFY(station.platform.boxes.isEmpty());
}

void TestE2eExchanges::deviceGoingAwayDuringARead()
{
    EmulatedStation station({"--hangup-in", "read"});
    QVERIFY(station.ready());
    Form1 &form = *station.form;
    buttonNamed(form, "Command6")->click();

    QVERIFY(!form.port().isOpen());
    // It drops the link and ends.
    QVERIFY(station.emulator.state() == QProcess::NotRunning || station.emulator.waitForFinished(StartTimeoutMs));
    QCOMPARE(station.platform.boxes.size(), 1);
    QCOMPARE(station.platform.boxes[0].first, QStringLiteral("Port is open or no"));
    QVERIFY(station.platform.boxes[0].second.contains(QStringLiteral("COM1")));

    // The window goes on.
    buttonNamed(form, "Command0")->click();
    QCOMPARE(form.fieldText(Field::Callsign), QStringLiteral("NOCALL"));
    QVERIFY(buttonNamed(form, "Command7")->isEnabled());
}

QTEST_MAIN(TestE2eExchanges)
#include "tst_e2eexchanges.moc"
