// How each action ends when its exchange goes wrong, as pelzo-cli and the
// window's message boxes read it: one row a failure path.
#include "core/plainstation.h"
#include "firmware/openrom.h"
#include "firmware/session.h"
#include "firmware/sessionevents.h"
#include "firmware/updatestart.h"
#include "protocol/readdata.h"
#include "protocol/restartdevice.h"
#include "protocol/wifiapply.h"
#include "protocol/writedata.h"
#include "serial/portselection.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"
#include "testing/simpeer.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace pelzo;

namespace {

struct World
{
    World() : session(platform)
    {
        platform.setProgramFolder(folder.path());
        attach({});
        bindSessionEvents(station, session);
    }
    void attach(const pelzosim::Options &options)
    {
        device.emplace(options);
        platform.port().attachPeer(&*device);
    }
    QTemporaryDir folder;
    VirtualPlatform platform;
    std::optional<SimPeer> device;
    PlainStation station{platform};
    Session session;
};

using SetUp = std::function<void(World &)>;
using Act = std::function<Outcome(World &)>;

const SetUp heldElsewhere = [](World &w) { w.platform.port().setHeldElsewhere(1, true); };
const SetUp silentDevice = [](World &w) { w.attach({.silent = true}); };
const SetUp noReadEnd = [](World &w) { w.attach({.sendReadEnd = false}); };
const SetUp portOpen = [](World &w) { w.platform.port().open(); };
const SetUp updateHoldsPort = [](World &w) { w.session.updateHoldsPort = true; };
const SetUp image = [](World &w) {
    QFile file(w.folder.filePath("image.bin"));
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(6000, 'x'));
    file.close();
    openRomFile(w.station, w.session, file.fileName());
};

const Act read = [](World &w) { return readData(w.station, w.session); };
const Act write = [](World &w) { return writeData(w.station, w.session); };
const Act apply = [](World &w) { return applyWifi(w.station, w.session); };
const Act restart = [](World &w) { return restartDevice(w.station, w.session); };
const Act update = [](World &w) { return startUpdate(w.station, w.session); };

struct Row
{
    const char *name;
    SetUp setUp;
    Act act;
    Result result;
    const char *reasonHas = "";
    int commandsSent = 0;
};

const Row rows[] = {
    {"read: another program holds the port", heldElsewhere, read, Result::PortFailed, "COM1"},
    {"read: an update holds the port", updateHoldsPort, read, Result::Refused, "firmware update"},
    {"read: the port is open: it stops that exchange", portOpen, read, Result::StoppedOther},
    {"read: a silent device", silentDevice, read, Result::NoAnswer, "", 40},
    {"read: a report without its end", noReadEnd, read, Result::Unconfirmed, "whole configuration", 22},
    {"write: a silent device", silentDevice, write, Result::Unconfirmed, "", 15},
    {"write: another program holds the port", heldElsewhere, write, Result::PortFailed, "COM1"},
    {"write: an update holds the port", updateHoldsPort, write, Result::Refused},
    {"apply: the port is open", portOpen, apply, Result::StoppedOther, "Press Apply again"},
    {"apply: a silent device", silentDevice, apply, Result::Unconfirmed, "", 1},
    {"restart: another program holds the port", heldElsewhere, restart, Result::PortFailed, "COM1"},
    {"update: no image", [](World &) {}, update, Result::Refused, "Please choose fireware"},
    {"update: another program holds the port", [](World &w) { image(w), heldElsewhere(w); }, update, Result::PortFailed, "COM1"},
    {"Open ROM: no such file", [](World &) {}, [](World &w) { return openRomFile(w.station, w.session, w.folder.filePath("none.bin")); },
     Result::Refused},
    {"Load file: no such file", [](World &) {}, [](World &w) { return loadSettingsFile(w.station, w.session, w.folder.filePath("none.ini")); },
     Result::Refused, "could not be read"},
    {"Load file: a line it cannot apply", [](World &w) {
         QFile file(w.folder.filePath("bad.ini"));
         file.open(QIODevice::WriteOnly);
         file.write("PASS:1\r\nCALLSIGN:NODASH\r\n");
     },
     [](World &w) { return loadSettingsFile(w.station, w.session, w.folder.filePath("bad.ini")); }, Result::Refused, "Line 2"},
    {"Save file: a folder that is not there", [](World &) {}, [](World &w) { return saveSettingsFile(w.station, w.folder.filePath("no/such.ini")); },
     Result::Refused, "Any earlier file of that name is unchanged"},
    {"port pick: the port is open", [](World &w) { portOpen(w), w.station.setPortName("COM2"); },
     [](World &w) { return selectPort(w.station); }, Result::Refused, "COM1"},
};

} // namespace

class TestOutcomes : public QObject
{
    Q_OBJECT

private slots:
    void eachFailurePathEndsInItsOutcome_data()
    {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(rows)); ++i)
            QTest::newRow(rows[i].name) << i;
    }
    void eachFailurePathEndsInItsOutcome()
    {
        QFETCH(int, row);
        const Row &r = rows[row];
        World world;
        r.setUp(world);
        const Outcome outcome = r.act(world);
        QCOMPARE(int(outcome.result), int(r.result));
        QVERIFY2(outcome.reason.contains(QString::fromUtf8(r.reasonHas)), qPrintable(outcome.reason));
        QCOMPARE(outcome.commandsSent.size(), r.commandsSent);
    }
};

QTEST_GUILESS_MAIN(TestOutcomes)
#include "tst_outcomes.moc"
