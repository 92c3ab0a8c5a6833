#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace pelzo {

// What the system tells of a port's device without opening it.
struct PortInfo
{
    bool listed = false;  // the system lists the device among its serial ports
    QString description;  // as the system names the device, "" when it does not
    QString manufacturer;
    QString serialNumber;
    QString vendorId;     // four hex digits, "" when the device has none (no USB adapter)
    QString productId;
    bool usbAdapter() const { return !vendorId.isEmpty(); }
    QString holder;       // another program that has it open or locked, "" when none
};

// The window's serial port. Every operation that can fail returns false and
// leaves the reason in lastError(), so callers can show it as detail text.
class SerialPort
{
public:
    virtual ~SerialPort() = default;

    virtual bool setCommPort(int number) = 0; // refused while open or outside the system's port numbers
    virtual int commPort() const = 0;
    virtual bool setSettings(const QString &settings) = 0; // "115200,n,8,1"
    virtual void setBufferSizes(int inBytes, int outBytes) = 0;
    virtual bool open() = 0;
    // Opens only to learn whether the port opens; closed again at once.
    virtual bool openToProbe() { return open(); }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    // Waits, bounded, until every byte handed to write() has left the port.
    virtual bool drain(int timeoutMs) = 0;
    virtual QString lastError() const = 0;
    // The system path that port number n stands for, for tooltips and messages.
    virtual QString devicePath(int number) const = 0;
    // The port numbers whose devices exist now; no port is opened to find them.
    virtual QList<int> presentPorts() const = 0;
    virtual PortInfo portInfo(int number) const = 0;
    // PortInfo's description alone: it needs no look for the port's holders.
    virtual QString portDescription(int number) const = 0;

    // Closes the port for good: the window is going away.
    void shutDown()
    {
        close();
        m_shutDown = true;
    }
    bool isShutDown() const { return m_shutDown; }

    // Raised on the window's thread when bytes are waiting.
    std::function<void()> onReceive;
    // Raised once when the device vanished while the port was open; the port is closed by then.
    std::function<void()> onLinkLost;
    // Told of every byte that goes out (fromDevice false) or comes in, for a trace.
    std::function<void(bool fromDevice, const QByteArray &bytes)> onTraffic;

private:
    bool m_shutDown = false;
};

class Timer
{
public:
    virtual ~Timer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    std::function<void()> onTick;
};

struct FileDialogRequest
{
    QString title;
    QString filter;         // "description|pattern", as the window states it
    QString initialFolder;  // empty: wherever the platform opens
    QString proposedName;   // empty: no name proposed
    bool confirmOverwrite = false;
};

// A question the user answers with one of its buttons.
struct Question
{
    QString text;
    QString detail;
    QStringList answers;   // the buttons' captions, in order
    int defaultAnswer = 0; // taken by Enter
    int escapeAnswer = 0;  // taken by Escape, and wherever nobody can be asked
};

// Everything the program needs from the world outside its own logic.
class Platform
{
public:
    virtual ~Platform() = default;

    // Milliseconds since some fixed moment, 32 bits, wrapping.
    virtual quint32 tickCount() = 0;
    // Runs pending events and sleeps until an event arrives or the tick
    // count reaches deadlineTick, whichever comes first.
    virtual void processEventsUntil(quint32 deadlineTick) = 0;
    virtual std::unique_ptr<Timer> createTimer() = 0;
    virtual SerialPort &serialPort() = 0;
    virtual QString getOpenFileName(const FileDialogRequest &request) = 0;
    virtual QString getSaveFileName(const FileDialogRequest &request) = 0;
    virtual void messageBox(const QString &text, const QString &detail = {}) = 0;
    // The index of the answer chosen.
    virtual int ask(const Question &question) { return question.escapeAnswer; }
    // The folder the program keeps its port-settings file and "ports" folder in.
    virtual QString programFolder() const = 0;

    // While a firmware update runs the system is asked not to sleep.
    virtual void keepAwake(bool awake) = 0;

    // Once the window is closing every wait returns at once.
    bool isClosing() const { return m_closing; }
    virtual void beginClosing() { m_closing = true; }

private:
    bool m_closing = false;
};

// Waits d milliseconds while letting other events run. It returns at the
// first reading of the 32-bit clock that lies more than d ms after the start,
// so the wrap of the clock is harmless.
void waitMs(Platform &platform, qint32 d);

} // namespace pelzo
