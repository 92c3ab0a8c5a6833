#pragma once

#include "core/deviceconfig.h"
#include "core/platform.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <utility>

namespace pelzo {

// A value as it arrived from the device or a settings file: the text it reads
// as, and the bytes it came as.
struct ArrivedText
{
    QString text;
    QByteArray bytes;
};

// The buttons the actions give captions and enabled states to, by what they do.
enum class Button { ReadData, WriteData, Apply, Restart, Update, OpenRom, OpenPort };

// The caption a port-open guard leaves on a button.
inline const QString PortIsOpenCaption = QStringLiteral("Port is open");

// What the actions see of the station: the configuration fields, the
// ActivityLog, and the captions, texts and states they drive, each by the
// role it plays. The window implements it over its controls, so the controls
// stay the one store of the configuration; a command line over plain values.
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

    // The ActivityLog, the message area, as exact text, lines separated by CR LF.
    virtual QString activityLog() const = 0;
    virtual void setActivityLog(const QString &text) = 0;
    virtual void appendActivityLogText(const QString &text) = 0; // the text as it is
    void appendActivityLog(const QString &message);                // CR LF, then the message

    // A button's caption; any caption but the guard's ends a cancel of the read.
    void setCaption(Button button, const QString &caption);
    virtual void setButtonEnabled(Button button, bool enabled) = 0;
    // A port-open guard stopped the exchange that had the port: the read
    // button says so, and a read in progress gives up at its next look.
    void cancelRunningExchange();
    bool readCancelled() const { return m_readCancelled; }

    // Whether a successful connect is recorded in the port-settings file, from
    // which the window restores its port at the next start.
    virtual bool remembersPort() const { return true; }
    // The port list's text (the port the actions use) and whether it can be picked from.
    virtual QString portName() const = 0;
    virtual void setPortName(const QString &name) = 0;
    virtual void setPortListEnabled(bool enabled) = 0;
    // The small status box beside the progress bar.
    virtual void setStatus(const QString &text) = 0;
    // The update's status line, which the window keeps off screen.
    virtual void setUpdateStatus(const QString &text) = 0;
    // The off-screen work box that Read data and Write data empty.
    virtual void clearWorkBox() = 0;
    // The CTCSS field and its label, which the device does not use.
    virtual void setCtcssEnabled(bool enabled) = 0;

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

    QString dialogFileName; // the name last chosen in a file dialog, proposed by the next save

protected:
    virtual void showCaption(Button button, const QString &caption) = 0;
    // The store's own setting of a field's text, change rule included.
    virtual void writeFieldText(Field field, const QString &text) = 0;
    virtual void writeOctet(Field field, int box, const QString &text) = 0;

private:
    void rememberArrival(Field field, int box, const ArrivedText &value);

    Platform &m_platform;
    std::map<std::pair<Field, int>, ArrivedText> m_arrived;
    bool m_readCancelled = false;
};

// The callsign line's value, in a write as in a settings file: the callsign
// padded with blanks to its column, "-", the SSID. A longer callsign is kept
// whole rather than dropped.
QByteArray callsignValue(const Station &station, QByteArray (*encode)(const QString &));

} // namespace pelzo
