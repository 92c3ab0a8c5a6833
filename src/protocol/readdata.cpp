#include "protocol/readdata.h"

#include "protocol/exchangeport.h"
#include "serial/portsettingsstore.h"
#include "ui/fieldcontrols.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

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

const QString Probe = QStringLiteral("\r\nSETUP#\r\n");
const QString Request = QStringLiteral("AT+READ#\r\n");
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

void clearFields(Form1 &form)
{
    form.setActivityLog(QString());
    form.Text30->setPlainText(QString());
    for (const ClearedField &cleared : clearedFields) {
        const QString text = QString::fromLatin1(cleared.text);
        const auto controls = controlsOf(cleared.field);
        if (controls.size() > 1) {
            for (std::size_t box = 0; box < controls.size(); ++box)
                form.setOctet(cleared.field, int(box), text);
        } else {
            form.setFieldText(cleared.field, text);
        }
    }
}

void recordPortSettings(Form1 &form)
{
    WriteCommSet(form, form.Combo1->currentText(), QStringLiteral("115200"), QStringLiteral("1"),
                 QStringLiteral("n"), QStringLiteral("8"), QStringLiteral("0"), QStringLiteral("2048"),
                 QStringLiteral("2048"));
}

// Probes until the device answers, the read is cancelled or the attempts run
// out; false when the port failed. An answer to probe i is seen after probe
// i + 1 has gone out.
bool probe(Form1 &form)
{
    for (int i = 1; i <= ProbeAttempts; ++i) {
        form.setActivityLog(QStringLiteral("Please restart PELZO......Connection %1/20Times......").arg(i));
        if (form.port().isOpen() && !sendText(form, Probe))
            return false;
        if (form.Command6->text() == PortIsOpenCaption) {
            form.Text3->setText(CancelledStatus);
            closePort(form);
            return true;
        }
        if (form.ConnectSeen == 1) {
            form.Text3->setText(ConnectedText + QStringLiteral("\r\n"));
            form.appendActivityLog(ConnectedText);
            return true;
        }
        form.WaitMs(ProbeIntervalMs);
    }
    return true;
}

// The failure path leaves Write data as it stands (the fields were cleared, a
// write would send them empty), but not a "reading" caption on a read that
// has ended. A cancel's "Port is open" stays.
void fail(Form1 &form)
{
    if (form.Command6->text() == WorkingCaption)
        form.Command6->setText(IdleCaption);
    showPortFailure(form);
}

void finish(Form1 &form)
{
    form.Command7->setEnabled(true);
    form.Command6->setText(IdleCaption);
}

} // namespace

void readData(Form1 &form)
{
    if (refuseDuringFirmwareUpdate(form))
        return;
    clearFields(form);
    form.ConnectSeen = 0;
    form.ReadEndSeen = 0;

    if (form.port().isOpen()) {
        form.Command6->setText(PortIsOpenCaption);
        closePort(form);
        form.Command7->setEnabled(true);
        return;
    }

    form.Command6->setText(WorkingCaption);
    form.Command7->setEnabled(false);
    form.WaitMs(BeforeOpenMs);
    if (!applyLineSettings(form) || !openPort(form))
        return fail(form);
    normalisePortListName(form);
    recordPortSettings(form);

    // A cancelled read goes on to its first request, which finds the port closed.
    if (!probe(form))
        return fail(form);

    form.ReadEndSeen = 0;
    for (int j = 1; j <= RequestAttempts; ++j) {
        if (!sendText(form, Request))
            return fail(form);
        form.WaitMs(RequestIntervalMs);
        form.setActivityLog(QStringLiteral("Connection OK\r\nReading %1/20Times......").arg(j));
        if (form.ReadEndSeen == 1) {
            form.appendActivityLog(ReadOkText);
            finish(form);
            closePortAfterSending(form);
            return;
        }
    }

    form.WaitMs(BeforeGiveUpMs);
    closePortAfterSending(form);
    finish(form);
    form.LineBuffer.clear();
    form.appendActivityLog(IncompleteText);
}

} // namespace pelzo
