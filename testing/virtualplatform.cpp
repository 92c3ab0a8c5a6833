#include "testing/virtualplatform.h"

#include "serial/portnames.h"

#include <algorithm>

namespace pelzo {

class VirtualTimer : public Timer
{
public:
    explicit VirtualTimer(VirtualPlatform &platform) : m_platform(platform) {}
    ~VirtualTimer() override { stop(); }

    void setInterval(int ms) override
    {
        m_interval = ms;
        if (isActive())
            start();
    }
    int interval() const override { return m_interval; }
    void start() override
    {
        stop();
        arm(m_platform.now() + m_interval);
    }
    void stop() override
    {
        if (m_pending)
            m_platform.cancel(m_pending);
        m_pending = 0;
    }
    bool isActive() const override { return m_pending != 0; }

private:
    void arm(qint64 when)
    {
        m_pending = m_platform.schedule(when, [this, when] {
            m_pending = 0;
            arm(when + std::max(m_interval, 1));
            if (onTick)
                onTick();
        });
    }

    VirtualPlatform &m_platform;
    int m_interval = 0;
    quint64 m_pending = 0;
};

VirtualPlatform::VirtualPlatform(quint32 tickOrigin) : m_tickOrigin(tickOrigin), m_port(*this) {}

VirtualPlatform::~VirtualPlatform() = default;

quint64 VirtualPlatform::schedule(qint64 timeMs, std::function<void()> action)
{
    const quint64 id = m_nextId++;
    const Key key{std::max(timeMs, m_now), id};
    m_events.emplace(key, std::move(action));
    m_keys.emplace(id, key);
    return id;
}

void VirtualPlatform::cancel(quint64 id)
{
    const auto it = m_keys.find(id);
    if (it == m_keys.end())
        return;
    m_events.erase(it->second);
    m_keys.erase(it);
}

void VirtualPlatform::at(qint64 timeMs, std::function<void()> action)
{
    schedule(timeMs, std::move(action));
}

std::optional<qint64> VirtualPlatform::nextEventTime() const
{
    std::optional<qint64> next;
    if (!m_events.empty())
        next = m_events.begin()->first.first;
    if (const VirtualPeer *peer = m_port.peer()) {
        if (const auto due = peer->nextDueMs())
            next = next ? std::min(*next, std::max(*due, m_now)) : std::max(*due, m_now);
    }
    return next;
}

void VirtualPlatform::runEventsUntil(qint64 deadline)
{
    while (!isClosing()) {
        const auto next = nextEventTime();
        if (!next || *next > deadline)
            break;
        m_now = std::max(m_now, *next);
        VirtualPeer *peer = m_port.peer();
        const auto peerDue = peer ? peer->nextDueMs() : std::nullopt;
        if (peerDue && *peerDue <= m_now) {
            // Bytes already on the wire reach the port before anything else due now.
            m_port.deliver(peer->takeDue(m_now));
            continue;
        }
        auto first = m_events.begin();
        auto action = std::move(first->second);
        m_keys.erase(first->first.second);
        m_events.erase(first);
        action();
    }
    // A closing window ends its waits at once: no time passes in them.
    if (!isClosing())
        m_now = std::max(m_now, deadline);
}

void VirtualPlatform::processEventsUntil(quint32 deadlineTick)
{
    runEventsUntil(m_now + qint64(quint32(deadlineTick - tickCount())));
}

void VirtualPlatform::runUntil(qint64 timeMs)
{
    runEventsUntil(timeMs);
}

std::unique_ptr<Timer> VirtualPlatform::createTimer()
{
    return std::make_unique<VirtualTimer>(*this);
}

QString VirtualPlatform::getOpenFileName(const FileDialogRequest &request)
{
    dialogRequests.append(request);
    dialogKinds.append(QStringLiteral("open"));
    return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

QString VirtualPlatform::getSaveFileName(const FileDialogRequest &request)
{
    dialogRequests.append(request);
    dialogKinds.append(QStringLiteral("save"));
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

void VirtualPlatform::messageBox(const QString &text, const QString &detail)
{
    messageBoxes.append({m_now, text, detail, describeWindow ? describeWindow() : QString()});
}

int VirtualPlatform::ask(const Question &question)
{
    questions.append({m_now, question.text, question.detail, describeWindow ? describeWindow() : QString()});
    if (questionAnswers.isEmpty())
        return question.escapeAnswer;
    const qsizetype chosen = question.answers.indexOf(questionAnswers.takeFirst());
    return chosen < 0 ? question.escapeAnswer : int(chosen);
}

bool VirtualSerialPort::fail(const QString &reason)
{
    m_lastError = reason;
    return false;
}

bool VirtualSerialPort::setCommPort(int number)
{
    if (m_open)
        return fail(QStringLiteral("the port is open"));
    if (number < 1 || number > HighestPortNumber)
        return fail(QStringLiteral("no such port number"));
    m_number = number;
    return true;
}

bool VirtualSerialPort::setSettings(const QString &settings)
{
    m_settings = settings;
    if (VirtualPeer *far = peer(); far && m_open)
        far->hostLine(settings);
    return true;
}

void VirtualSerialPort::setBufferSizes(int, int) {}

void VirtualSerialPort::setHeldElsewhere(int number, bool held)
{
    if (held)
        m_heldElsewhere.insert(number);
    else
        m_heldElsewhere.remove(number);
}

bool VirtualSerialPort::open()
{
    if (isShutDown())
        return fail(QStringLiteral("the program is closing"));
    if (m_open)
        return fail(QStringLiteral("the port is already open"));
    if (!m_openable.contains(m_number))
        return fail(QStringLiteral("No such file or directory"));
    if (m_heldElsewhere.contains(m_number))
        return fail(QStringLiteral("Permission error while locking the device"));
    m_open = true;
    ++m_openCount;
    m_inbox.clear();
    if (VirtualPeer *far = peer())
        far->hostLine(m_settings);
    return true;
}

void VirtualSerialPort::close()
{
    m_open = false;
    m_inbox.clear();
    // What is still on its way never arrives.
    for (const InFlight &write : std::exchange(m_inFlight, {})) {
        m_platform.cancel(write.event);
        m_bytesCutOff += write.bytes;
    }
    m_lineFreeAt = m_platform.now();
}

bool VirtualSerialPort::write(const QByteArray &bytes)
{
    if (!m_open)
        return fail(QStringLiteral("the port is not open"));
    m_writes.append({m_platform.now(), m_number, bytes});
    if (onTraffic)
        onTraffic(false, bytes);
    carry(bytes);
    return true;
}

void VirtualSerialPort::carry(const QByteArray &bytes)
{
    if (m_lineRate == 0 && !m_stalled) {
        if (VirtualPeer *far = peer())
            far->hostBytes(m_platform.now(), bytes);
        return;
    }
    if (m_stalled) {
        m_inFlight.append({0, bytes.size()});
        return;
    }
    const qint64 start = std::max(m_lineFreeAt, m_platform.now());
    m_lineFreeAt = start + (bytes.size() * 10 * 1000 + m_lineRate - 1) / m_lineRate;
    const quint64 event = m_platform.schedule(m_lineFreeAt, [this, bytes] {
        m_inFlight.removeFirst();
        if (VirtualPeer *far = peer())
            far->hostBytes(m_platform.now(), bytes);
    });
    m_inFlight.append({event, bytes.size()});
}

QByteArray VirtualSerialPort::readAll()
{
    const QByteArray bytes = std::exchange(m_inbox, {});
    if (onTraffic && !bytes.isEmpty())
        onTraffic(true, bytes);
    return bytes;
}

bool VirtualSerialPort::drain(int timeoutMs)
{
    if (!m_open)
        return fail(QStringLiteral("the port closed before its last bytes left"));
    if (!m_inFlight.isEmpty() && timeoutMs > 0)
        return fail(QStringLiteral("bytes did not leave the port within %1 ms").arg(timeoutMs));
    return m_inFlight.isEmpty();
}

QString VirtualSerialPort::devicePath(int number) const
{
    return QStringLiteral("virtual:COM%1").arg(number);
}

QList<int> VirtualSerialPort::presentPorts() const
{
    QList<int> numbers;
    for (int number : m_openable) {
        if (number <= HighestPortNumber)
            numbers << number;
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QString VirtualSerialPort::portDescription(int number) const
{
    return portInfo(number).description;
}

PortInfo VirtualSerialPort::portInfo(int number) const
{
    PortInfo info;
    info.listed = true;
    // Any vendor will do: a USB adapter is one that has one.
    if (m_usbAdapters.contains(number))
        info.vendorId = QStringLiteral("0403");
    info.description = info.usbAdapter() ? QStringLiteral("USB serial adapter") : QStringLiteral("serial port");
    if (m_heldElsewhere.contains(number))
        info.holder = QStringLiteral("another program has %1 open").arg(devicePath(number));
    return info;
}

QByteArray VirtualSerialPort::writtenBytes() const
{
    QByteArray all;
    for (const Write &w : m_writes)
        all += w.bytes;
    return all;
}

void VirtualSerialPort::deliver(const VirtualPeer::Output &output)
{
    if (!m_open)
        return;
    if (!output.bytes.isEmpty()) {
        m_inbox += output.bytes;
        m_received += output.bytes;
        if (onReceive)
            onReceive();
    }
    if (output.hangup && m_open) {
        close();
        m_lastError = QStringLiteral("the device went away");
        if (onLinkLost)
            onLinkLost();
    }
}

} // namespace pelzo
