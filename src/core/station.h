#pragma once

#include "core/controlname.h"
#include "core/deviceconfig.h"
#include "core/firmwarestate.h"
#include "core/hexdump.h"
#include "core/platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <utility>

namespace pelzo {

// A value as it arrived from the device or a settings file: the text it reads
// as, and the bytes it came as.
struct ArrivedText
{
    QString text;
    QByteArray bytes;
};

// What the actions see of the station: the configuration fields, the
// ActivityLog, the captions, texts and enabled states of the controls they
// drive, and the window-level values they share. The window implements it
// over its controls, so the controls stay the one store of the configuration.
class Station
{
public:
    explicit Station(Platform &platform);
    virtual ~Station();
    Station(const Station &) = delete;
    Station &operator=(const Station &) = delete;

    Platform &platform() const { return m_platform; }
    SerialPort &port() const { return m_platform.serialPort(); }
    void WaitMs(qint32 ms) { waitMs(m_platform, ms); }

    // DeviceConfig, read at the moment of asking; every set runs the field's
    // change rule. Digi reads "1" or "0"; an address field has four octets.
    virtual QString fieldText(Field field) const = 0;
    virtual QString octet(Field field, int box) const = 0;
    void setFieldText(Field field, const QString &text);
    void setOctet(Field field, int box, const QString &text);
    virtual void setOctetBoxesEnabled(bool enabled) = 0;

    // A value that arrived is kept with its bytes: as long as the field
    // shows what they read as, the field goes out as exactly those bytes.
    void setFieldText(Field field, const ArrivedText &value);
    void setOctet(Field field, int box, const ArrivedText &value);
    // The bytes the field (or octet box) goes out as: those it arrived as
    // while it still shows them, otherwise its text as `encode` writes it.
    QByteArray fieldBytes(Field field, QByteArray (*encode)(const QString &), int box = 0) const;
    // An address field's four octets, each as fieldBytes() gives it, joined by ",".
    QByteArray octetBytes(Field field, QByteArray (*encode)(const QString &)) const;
    // Appends items to a field's choice list; the field's text stays.
    virtual void addChoices(Field field, const QStringList &items) = 0;

    QStringList octets(Field field) const;
    bool digi() const { return fieldText(Field::Digi) == QLatin1String("1"); }
    void setDigi(bool on) { setFieldText(Field::Digi, on ? QStringLiteral("1") : QStringLiteral("0")); }

    // The ActivityLog (Text29) as exact text, lines separated by CR LF.
    virtual QString activityLog() const = 0;
    virtual void setActivityLog(const QString &text) = 0;
    virtual void appendActivityLogText(const QString &text) = 0; // the text as it is
    void appendActivityLog(const QString &message);                // CR LF, then the message

    // Captions of buttons and labels, texts of boxes and of the port list.
    virtual QString text(ControlName control) const = 0;
    virtual void setText(ControlName control, const QString &text) = 0;
    virtual bool isEnabled(ControlName control) const = 0;
    virtual void setEnabled(ControlName control, bool enabled) = 0;

    // The port list's items, each with the device it stands for; neither
    // changes the list's text.
    virtual void addPortListItem(const QString &name, const QString &device) = 0;
    virtual void removePortListItem(const QString &name) = 0;
    virtual QStringList portListItems() const = 0;
    int portListCount() const { return int(portListItems().size()); }
    virtual void setPortListHint(const QString &hint) = 0;

    virtual void setProgressRange(int minimum, int maximum) = 0;
    virtual void setProgressValue(int value) = 0;

    // While a batch is open the fields and the ActivityLog change as usual,
    // but a window redraws them only once, when the outermost batch ends.
    virtual void beginUpdateBatch() {}
    virtual void endUpdateBatch() {}
    class UpdateBatch
    {
    public:
        explicit UpdateBatch(Station &station) : m_station(station) { m_station.beginUpdateBatch(); }
        ~UpdateBatch() { m_station.endUpdateBatch(); }
        UpdateBatch(const UpdateBatch &) = delete;
        UpdateBatch &operator=(const UpdateBatch &) = delete;

    private:
        Station &m_station;
    };

    // Window-level values shared by the actions.
    QByteArray LineBuffer;
    int ConnectSeen = 0;
    int ReadEndSeen = 0;
    int FreqSaveSeen = 0;
    int WifiSuccessSeen = 0;
    int EeramResetSeen = 0;
    HexDump Text1;
    QString dialogFileName; // the name last chosen in a file dialog, proposed by the next save
    FirmwareState firmware;
    std::unique_ptr<Timer> Timer1;
    std::unique_ptr<Timer> Timer2;

protected:
    // The store's own setting of a field's text, change rule included.
    virtual void writeFieldText(Field field, const QString &text) = 0;
    virtual void writeOctet(Field field, int box, const QString &text) = 0;

private:
    void rememberArrival(Field field, int box, const ArrivedText &value);

    Platform &m_platform;
    std::map<std::pair<Field, int>, ArrivedText> m_arrived;
};

// The callsign line's value, in a write as in a settings file: the callsign
// padded with blanks to its column, "-", the SSID. A longer callsign is kept
// whole rather than dropped.
QByteArray callsignValue(const Station &station, QByteArray (*encode)(const QString &));

} // namespace pelzo
