#pragma once

#include "core/platform.h"

#include <QList>
#include <QSet>

#include <map>
#include <optional>

namespace pelzo {

// The far end of a virtual serial link: a scripted or emulated device.
class VirtualPeer
{
public:
    virtual ~VirtualPeer() = default;
    virtual void hostBytes(qint64 nowMs, const QByteArray &bytes) = 0;
    // The settings of the port at the near end, told at every open and change.
    virtual void hostLine(const QString &settings) { Q_UNUSED(settings) }
    virtual std::optional<qint64> nextDueMs() const = 0;
    struct Output
    {
        QByteArray bytes;
        bool hangup = false;
    };
    virtual Output takeDue(qint64 nowMs) = 0;
};

class VirtualPlatform;

class VirtualSerialPort : public SerialPort
{
public:
    explicit VirtualSerialPort(VirtualPlatform &platform) : m_platform(platform) {}

    bool setCommPort(int number) override;
    int commPort() const override { return m_number; }
    bool setSettings(const QString &settings) override;
    void setBufferSizes(int inBytes, int outBytes) override;
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    bool drain(int timeoutMs) override;
    QString lastError() const override { return m_lastError; }
    QString devicePath(int number) const override;
    QList<int> presentPorts() const override;
    QString portDescription(int number) const override;
    PortInfo portInfo(int number) const override;

    // Scripting: the ports that exist (and open unless held elsewhere).
    void setOpenable(const QSet<int> &numbers) { m_openable = numbers; }
    // A line that carries bits_per_second (10 bits a byte): a write reaches the
    // far end once it has crossed, a close drops what has not. 0: at once;
    // a stalled line carries nothing.
    void setLineRate(int bitsPerSecond) { m_lineRate = bitsPerSecond; }
    void setStalled(bool stalled) { m_stalled = stalled; }
    qint64 bytesCutOff() const { return m_bytesCutOff; }
    void setHeldElsewhere(int number, bool held);
    // The port numbers whose devices are USB serial adapters.
    void setUsbAdapters(const QSet<int> &numbers) { m_usbAdapters = numbers; }
    // The far end of one port number, or of every number without one of its own (0).
    void attachPeer(VirtualPeer *peer, int number = 0) { m_peers[number] = peer; }
    VirtualPeer *peer() const
    {
        const auto own = m_peers.find(m_number);
        return own != m_peers.end() ? own->second : m_peers.count(0) ? m_peers.at(0) : nullptr;
    }

    struct Write
    {
        qint64 atMs;
        int port;
        QByteArray bytes;
    };
    const QList<Write> &writes() const { return m_writes; }
    QByteArray writtenBytes() const;
    // Every byte the far end sent that reached the open port.
    const QByteArray &receivedBytes() const { return m_received; }
    void clearWrites() { m_writes.clear(); }
    QString settings() const { return m_settings; }
    int openCount() const { return m_openCount; }

    // Called by the platform when the peer's output falls due.
    void deliver(const VirtualPeer::Output &output);

private:
    bool fail(const QString &reason);

    void carry(const QByteArray &bytes);

    VirtualPlatform &m_platform;
    std::map<int, VirtualPeer *> m_peers;
    int m_lineRate = 0;
    bool m_stalled = false;
    qint64 m_lineFreeAt = 0;
    struct InFlight
    {
        quint64 event;
        qsizetype bytes;
    };
    QList<InFlight> m_inFlight;
    qint64 m_bytesCutOff = 0;
    int m_number = 1;
    bool m_open = false;
    int m_openCount = 0;
    QString m_settings = QStringLiteral("9600,n,8,1"); // what QSerialPort starts with
    QString m_lastError;
    QSet<int> m_openable = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    QSet<int> m_heldElsewhere;
    QSet<int> m_usbAdapters;
    QByteArray m_inbox;
    QByteArray m_received;
    QList<Write> m_writes;
};

// A deterministic platform: time only moves when somebody waits or the test
// lets it run, and every event happens at an exact virtual millisecond.
class VirtualPlatform : public Platform
{
public:
    explicit VirtualPlatform(quint32 tickOrigin = 0);
    ~VirtualPlatform() override;

    quint32 tickCount() override { return quint32(m_tickOrigin + quint64(m_now)); }
    void processEventsUntil(quint32 deadlineTick) override;
    std::unique_ptr<Timer> createTimer() override;
    SerialPort &serialPort() override { return m_port; }
    QString getOpenFileName(const FileDialogRequest &request) override;
    QString getSaveFileName(const FileDialogRequest &request) override;
    void messageBox(const QString &text, const QString &detail = {}) override;
    int ask(const Question &question) override;
    QString programFolder() const override { return m_programFolder; }
    void keepAwake(bool awake) override { this->awake = awake; }

    qint64 now() const { return m_now; }
    VirtualSerialPort &port() { return m_port; }
    const VirtualSerialPort &port() const { return m_port; }
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // Schedules an action (a click, a key) at an absolute virtual time.
    void at(qint64 timeMs, std::function<void()> action);
    // The idle event loop: runs everything due up to timeMs, then sets the clock there.
    void runUntil(qint64 timeMs);
    void runFor(qint64 durationMs) { runUntil(m_now + durationMs); }

    // File dialogs answer from these queues; an empty queue answers as a cancel.
    QStringList openAnswers;
    QStringList saveAnswers;
    QList<FileDialogRequest> dialogRequests;
    QStringList dialogKinds; // "open" or "save", one for each request

    struct Box
    {
        qint64 atMs;
        QString text;
        QString detail;
        QString window; // what describeWindow said when the box came up
    };
    QList<Box> messageBoxes;
    // Questions are answered from this queue of captions; an empty queue answers as Escape does.
    QStringList questionAnswers;
    QList<Box> questions;
    std::function<QString()> describeWindow;
    bool awake = false; // whether the system is asked not to sleep

private:
    friend class VirtualTimer;
    friend class VirtualSerialPort;
    using Key = std::pair<qint64, quint64>;

    quint64 schedule(qint64 timeMs, std::function<void()> action);
    void cancel(quint64 id);
    std::optional<qint64> nextEventTime() const;
    void runEventsUntil(qint64 deadline);

    quint64 m_tickOrigin;
    qint64 m_now = 0;
    quint64 m_nextId = 1;
    std::map<Key, std::function<void()>> m_events;
    std::map<quint64, Key> m_keys;
    VirtualSerialPort m_port;
    QString m_programFolder;
};

} // namespace pelzo
