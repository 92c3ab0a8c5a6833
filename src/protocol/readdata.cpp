#include "protocol/readdata.h"

#include "core/station.h"
#include "protocol/devicecommands.h"
#include "protocol/exchangeport.h"
#include "protocol/link.h"
#include "serial/linesettings.h"
#include "serial/portsettingsstore.h"

#include <array>

namespace pelzo {

namespace {

// Lets the window show the cleared fields and the new caption before the port work starts.
constexpr qint32 BeforeOpenMs = 100;
// The user restarts the device meanwhile; it answers a probe once it is up.
constexpr int ProbeAttempts = 20;
constexpr qint32 ProbeIntervalMs = 1000;
// The whole report arrives well within a second of a request.
constexpr int RequestAttempts = 20;
constexpr qint32 RequestIntervalMs = 1000;
// Lets the last report lines of a read without end marker arrive before the port closes.
constexpr qint32 BeforeGiveUpMs = 500;

const QString WorkingCaption = QStringLiteral("reading");
const QString IdleCaption = QStringLiteral("read data");
const QString ConnectedText = QStringLiteral("Connection is successful");
const QString CancelledStatus = QStringLiteral("test fail");
const QString ReadOkText = QStringLiteral("read ok");
const QString IncompleteText = QStringLiteral(
    "The device did not send its whole configuration: the fields may be incomplete. Read again before writing.");

struct ClearedField
{
    Field field;
    const char *text;
};

// What a read starts from, in this order. Ctcss, the Wi-Fi fields and the port list stay.
constexpr std::array clearedFields{
    ClearedField{Field::Callsign, ""},    ClearedField{Field::Comment, ""},
    ClearedField{Field::Passcode, ""},    ClearedField{Field::DeviceVersion, ""},
    ClearedField{Field::Position, ""},    ClearedField{Field::SendTime, ""},
    ClearedField{Field::Filter, ""},      ClearedField{Field::IpAddress, ""},
    ClearedField{Field::SubnetMask, ""},  ClearedField{Field::Gateway, ""},
    ClearedField{Field::DnsServer, ""},   ClearedField{Field::Frequency, ""},
    ClearedField{Field::AddressMode, " "}, ClearedField{Field::Server, " "},
    ClearedField{Field::Unit, " "},       ClearedField{Field::CallSsid, " "},
    ClearedField{Field::Backlight, " "},  ClearedField{Field::Digi, "0"},
    ClearedField{Field::TxVolume, ""},    ClearedField{Field::Path, ""},
    ClearedField{Field::Alias, ""},
};

void clearFields(Station &station)
{
    station.setActivityLog(QString());
    station.clearWorkBox();
    for (const ClearedField &cleared : clearedFields) {
        const QString text = QString::fromLatin1(cleared.text);
        if (isAddressField(cleared.field)) {
            for (int box = 0; box < OctetsPerAddress; ++box)
                station.setOctet(cleared.field, box, text);
        } else {
            station.setFieldText(cleared.field, text);
        }
    }
}

// The line settings as the port-settings file records them, with no flow
// control and the buffer sizes it has always named.
void recordPortSettings(Station &station)
{
    if (!station.remembersPort())
        return;
    const QStringList line = QString::fromLatin1(DeviceLineSettings).split(QLatin1Char(','));
    const QString speed = line[0], parity = line[1], dataBits = line[2], stopBits = line[3];
    WriteCommSet(station, station.portName(), speed, stopBits, parity, dataBits, QStringLiteral("0"),
                 QStringLiteral("2048"), QStringLiteral("2048"));
}

// Probes until the device answers, the read is cancelled or the attempts run
// out; false when the port failed. An answer to probe i is seen after probe
// i + 1 has gone out.
bool probe(Station &station, Link &link, Outcome &outcome)
{
    for (int i = 1; i <= ProbeAttempts; ++i) {
        station.setActivityLog(QStringLiteral("Please restart PELZO......Connection %1/20Times......").arg(i));
        if (station.port().isOpen() && !sendText(station, link, ProbeCommand, outcome))
            return false;
        if (station.readCancelled()) {
            station.setStatus(CancelledStatus);
            closePort(station, link);
            return true;
        }
        if (link.replies.ConnectSeen == 1) {
            station.setStatus(ConnectedText + QStringLiteral("\r\n"));
            station.appendActivityLog(ConnectedText);
            return true;
        }
        station.WaitMs(ProbeIntervalMs);
    }
    return true;
}

// The failure path leaves Write data as it stands (the fields were cleared, a
// write would send them empty), but not a "reading" caption on a read that
// has ended. A cancel's "Port is open" stays.
Outcome fail(Station &station, const Link &link, const Outcome &sofar)
{
    if (!station.readCancelled())
        station.setCaption(Button::ReadData, IdleCaption);
    Outcome outcome = portFailure(station, link);
    if (station.readCancelled())
        outcome.result = Result::Cancelled;
    outcome.commandsSent = sofar.commandsSent;
    return outcome;
}

void finish(Station &station)
{
    station.setButtonEnabled(Button::WriteData, true);
    station.setCaption(Button::ReadData, IdleCaption);
}

} // namespace

Outcome readData(Station &station, Link &link)
{
    if (refuseDuringFirmwareUpdate(station, link))
        return updateHoldsPortOutcome();
    clearFields(station);
    link.replies.ConnectSeen = 0;
    link.replies.ReadEndSeen = 0;

    if (station.port().isOpen()) {
        station.cancelRunningExchange();
        closePort(station, link);
        station.setButtonEnabled(Button::WriteData, true);
        return Outcome::ended(Result::StoppedOther);
    }

    Outcome outcome;
    station.setCaption(Button::ReadData, WorkingCaption);
    station.setButtonEnabled(Button::WriteData, false);
    station.WaitMs(BeforeOpenMs);
    if (!applyLineSettings(station) || !openPort(station, link))
        return fail(station, link, outcome);
    normalisePortListName(station);
    recordPortSettings(station);

    // A cancelled read goes on to its first request, which finds the port closed.
    if (!probe(station, link, outcome))
        return fail(station, link, outcome);

    link.replies.ReadEndSeen = 0;
    link.fieldsSeen.clear();
    for (int j = 1; j <= RequestAttempts; ++j) {
        if (!sendText(station, link, ReadCommand, outcome))
            return fail(station, link, outcome);
        station.WaitMs(RequestIntervalMs);
        station.setActivityLog(QStringLiteral("Connection OK\r\nReading %1/20Times......").arg(j));
        if (link.replies.ReadEndSeen == 1) {
            station.appendActivityLog(ReadOkText);
            finish(station);
            closePortAfterSending(station, link);
            outcome.fieldsRead = link.fieldsSeen;
            return outcome;
        }
    }

    station.WaitMs(BeforeGiveUpMs);
    closePortAfterSending(station, link);
    finish(station);
    link.receive.dropLine();
    station.appendActivityLog(IncompleteText);
    outcome.result = link.replies.ConnectSeen == 1 ? Result::Unconfirmed : Result::NoAnswer;
    outcome.reason = IncompleteText;
    outcome.fieldsRead = link.fieldsSeen;
    return outcome;
}

} // namespace pelzo
