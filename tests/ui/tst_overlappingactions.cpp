// Buttons pressed while another action waits, the window closed during an
// action, a settings file loaded during a read: in virtual time, against the
// emulated device. Every pair ends with the port closed and the window at rest.

#include "formfixture.h"
#include "simpeer.h"

#include "core/firmwarestate.h"

#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace pelzo;

namespace {

// Long enough for any action, and an update started inside another, to end.
constexpr qint64 SettleMs = 120'000;
constexpr int ImageBytes = 12000;
// Inside the short wait with which read, write, restart and update start, before they open the port.
constexpr qint64 BeforeOpenMs = 50;

const QString PortFailure = QStringLiteral("Port is open or no");
const QString UpdatePortBusy = QStringLiteral("Port is use or no");

struct ExchangeStation : FormFixture
{
    ExchangeStation()
    {
        platform.port().setCommPort(1);
        platform.port().attachPeer(&device);
        const QString image = programFolder.filePath(QStringLiteral("image.bin"));
        QFile file(image);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(ImageBytes, '\x5a'));
        file.close();
        platform.openAnswers << image;
        buttonNamed(form, "Command1")->click();
        buttonNamed(form, "Command0")->click(); // something to write
        // Load and Save find their answers waiting; a second image pick is cancelled.
        platform.openAnswers << QString::fromLocal8Bit(qgetenv("PELZO_TEST_DATA"))
                                    + QStringLiteral("/golden/factory-defaults.ini");
        platform.saveAnswers << programFolder.filePath(QStringLiteral("saved.ini"));
    }

    void press(const QString &name)
    {
        if (name == QLatin1String("Command1"))
            platform.openAnswers.clear();
        button(name)->click();
    }

    QPushButton *button(const QString &name) { return form.control<QPushButton>(name.toLatin1().constData()); }
    QStringList boxes() const
    {
        QStringList texts;
        for (const auto &box : platform.messageBoxes)
            texts << box.text;
        return texts;
    }

    SimPeer device;
};

} // namespace

class TestOverlappingActions : public QObject
{
    Q_OBJECT

private slots:
    void buttonInsideAnotherActionsWait_data();
    void buttonInsideAnotherActionsWait();
    void closingTheWindowDuringAnAction_data();
    void closingTheWindowDuringAnAction();
    void settingsFileLoadedDuringARead();
};

// Outer actions and a moment inside a wait where each holds the port open.
struct Outer
{
    const char *name;
    const char *button;
    qint64 atMs;
};
constexpr Outer outers[] = {
    {"read", "Command6", 600},   // waiting between probes
    {"write", "Command7", 600},  // pacing the commands
    {"apply", "Command8", 600},  // waiting for the confirmation
    {"restart", "Command9", 300}, // between its two commands
    {"update", "Command2", 600}, // waiting for the reset acknowledgement
};

void TestOverlappingActions::buttonInsideAnotherActionsWait_data()
{
    QTest::addColumn<QString>("outer");
    QTest::addColumn<qint64>("atMs");
    QTest::addColumn<QString>("inner");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("readCaption");

    const QStringList inners{"Command0", "Command1", "Command2", "Command4", "Command5",
                             "Command6", "Command7", "Command8", "Command9"};
    for (const Outer &outer : outers) {
        const QString o = QString::fromLatin1(outer.button);
        const bool update = o == QLatin1String("Command2");
        for (const QString &inner : inners) {
            QStringList boxes;
            QString readCaption = o == QLatin1String("Command6") ? "read data" : "Read data";
            const bool guard = inner == QLatin1String("Command6") || inner == QLatin1String("Command8")
                               || inner == QLatin1String("Command9")
                               || (inner == QLatin1String("Command7") && o != QLatin1String("Command6"));
            if (update) {
                // An update holds the port: exchanges are refused, a second update click cancels it.
                if (inner == QLatin1String("Command2"))
                    boxes << UpdatePortBusy;
            } else if (inner == QLatin1String("Command2")) {
                // The update cannot open the port the exchange holds; the exchange goes on.
                boxes << UpdatePortBusy;
            } else if (guard) {
                // The inner press finds the port open and closes it (Apply also says so);
                // the outer action then meets a closed port.
                if (inner == QLatin1String("Command8"))
                    boxes << PortFailure;
                if (o != QLatin1String("Command7"))
                    boxes << PortFailure; // a write skips failed steps and says so in its log
                if (inner != QLatin1String("Command9"))
                    readCaption = "Port is open";
            }
            QTest::addRow("%s pressed during %s", qPrintable(inner), outer.name)
                << o << outer.atMs << inner << boxes << readCaption;
        }
        // Before the outer action opens the port (Apply opens it at once): the inner
        // exchange runs whole inside that first wait, then the outer one runs. An
        // update keeps the port for its connect phase, so the outer one cannot open it.
        if (o == QLatin1String("Command8"))
            continue;
        for (const QString &inner : {QStringLiteral("Command6"), QStringLiteral("Command8"),
                                     QStringLiteral("Command9"), QStringLiteral("Command2")}) {
            QStringList boxes;
            if (inner == QLatin1String("Command2") && o != QLatin1String("Command7"))
                boxes << (update ? UpdatePortBusy : PortFailure);
            const bool readEnds = o == QLatin1String("Command6") || inner == QLatin1String("Command6");
            QTest::addRow("%s pressed before %s opens the port", qPrintable(inner), outer.name)
                << o << qint64(BeforeOpenMs) << inner << boxes << QString(readEnds ? "read data" : "Read data");
        }
    }
}

void TestOverlappingActions::buttonInsideAnotherActionsWait()
{
    QFETCH(QString, outer);
    QFETCH(qint64, atMs);
    QFETCH(QString, inner);
    QFETCH(QStringList, boxes);
    QFETCH(QString, readCaption);
    ExchangeStation s;
    const qint64 start = s.platform.now();
    s.platform.at(start + atMs, [&] { s.press(inner); });
    s.button(outer)->click();
    s.platform.runFor(SettleMs);

    QCOMPARE(s.boxes(), boxes);
    QCOMPARE(buttonNamed(s.form, "Command6")->text(), readCaption);
    QVERIFY(!s.platform.port().isOpen());
    QVERIFY(!s.form.firmware.updateInProgress);
    for (const char *name : {"Command0", "Command1", "Command2", "Command4", "Command5", "Command8", "Command9"})
        QVERIFY2(s.form.control<QPushButton>(name)->isEnabled(), name);
    QCOMPARE(buttonNamed(s.form, "Command2")->text(), QStringLiteral("update"));
    QCOMPARE(buttonNamed(s.form, "Command8")->text(), QStringLiteral("Apply"));
    QCOMPARE(buttonNamed(s.form, "Command7")->text(), QStringLiteral("Write data"));
}

void TestOverlappingActions::closingTheWindowDuringAnAction_data()
{
    QTest::addColumn<QString>("outer");
    QTest::addColumn<qint64>("atMs");
    for (const Outer &outer : outers)
        QTest::addRow("closed during %s", outer.name) << QString::fromLatin1(outer.button) << outer.atMs;
}

// The action returns at once and sends nothing more.
void TestOverlappingActions::closingTheWindowDuringAnAction()
{
    QFETCH(QString, outer);
    QFETCH(qint64, atMs);
    ExchangeStation s;
    const qint64 closeAt = s.platform.now() + atMs;
    s.platform.at(closeAt, [&] { s.form.close(); });
    s.button(outer)->click();
    QCOMPARE(s.platform.now(), closeAt);
    s.platform.runFor(SettleMs);

    QVERIFY(!s.platform.port().isOpen());
    QVERIFY(!s.platform.port().writes().isEmpty());
    QVERIFY(s.platform.port().writes().last().atMs <= closeAt);
    // A failure box asked for on the way out comes while the window closes,
    // when the program's platform shows none.
    QVERIFY(s.platform.isClosing());
    for (const auto &box : s.platform.messageBoxes)
        QCOMPARE(box.atMs, closeAt);
}

// The file fills the fields while the read waits for the device; the report
// that follows is the device's, and the read's outcome stands.
void TestOverlappingActions::settingsFileLoadedDuringARead()
{
    ExchangeStation s;
    pelzosim::Configuration device = s.device.device.configuration();
    device.set(pelzosim::Field::Callsign, "BH4XYZ-7");
    device.set(pelzosim::Field::Comment, "from the device");
    s.device.device.restoreConfiguration(device);
    QString loadedCallsign;
    s.platform.at(s.platform.now() + 600, [&] {
        buttonNamed(s.form, "Command4")->click();
        loadedCallsign = s.form.fieldText(Field::Callsign);
    });
    buttonNamed(s.form, "Command6")->click();

    QCOMPARE(loadedCallsign, QStringLiteral("NOCALL"));
    QVERIFY2(s.form.activityLog().endsWith(QStringLiteral("read ok")), qPrintable(s.form.activityLog()));
    QCOMPARE(s.form.fieldText(Field::Callsign), QStringLiteral("BH4XYZ"));
    QCOMPARE(s.form.fieldText(Field::Comment), QStringLiteral("from the device"));
    QCOMPARE(buttonNamed(s.form, "Command6")->text(), QStringLiteral("read data"));
    QVERIFY(!s.platform.port().isOpen());
    QVERIFY(s.platform.messageBoxes.isEmpty());
}

QTEST_MAIN(TestOverlappingActions)
#include "tst_overlappingactions.moc"
