#include "serial/qtserialport.h"

#include "serial/linesettings.h"
#include "serial/portfailure.h"
#include "serial/portholders.h"
#include "serial/portnames.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <optional>

namespace pelzo {

namespace {

#if defined(Q_OS_WIN)
// Windows gives a serial port to one program at a time, so it tells no more than that.
constexpr char AnotherProgramHint[] =
    ": another program has the port open (Windows lets one program at a time use a serial port). Close the "
    "other program, or end its connection to the port, then try again.";
#else
constexpr char AnotherProgramHint[] = " (another program is using the port; close it, then try again)";
#endif

// The system's entry for the device behind a port, if it lists one.
std::optional<QSerialPortInfo> systemEntry(const QString &path)
{
    const QString device = QFileInfo(path).canonicalFilePath();
    std::optional<QSerialPortInfo> found;
    for (const QSerialPortInfo &system : QSerialPortInfo::availablePorts()) {
        if (system.systemLocation() == device || system.systemLocation() == path || system.portName() == path)
            found = system;
    }
    return found;
}

} // namespace

QtSerialPort::QtSerialPort(const QString &programFolder) : m_programFolder(programFolder)
{
    QObject::connect(&m_port, &QSerialPort::readyRead, [this] {
        if (onReceive)
            onReceive();
    });
    QObject::connect(&m_port, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
        onError(error);
    });
}

bool QtSerialPort::fail(const QString &reason)
{
    m_lastError = reason;
    return false;
}

void QtSerialPort::onError(QSerialPort::SerialPortError error)
{
    // A vanished device makes Qt report a read error in a tight loop while the
    // port stays open; closing at the first report stops it.
    if ((error != QSerialPort::ReadError && error != QSerialPort::ResourceError) || !m_port.isOpen())
        return;
    m_lastError = m_port.errorString();
    m_port.close();
    if (onLinkLost)
        onLinkLost();
}

bool QtSerialPort::setCommPort(int number)
{
    if (m_port.isOpen())
        return fail(QStringLiteral("the port is open; pick it again when the running action has ended"));
    if (number < 1 || number > HighestPortNumber)
        return fail(QStringLiteral("no port number %1").arg(number));
    m_number = number;
    return true;
}

bool QtSerialPort::setSettings(const QString &settings)
{
    const auto parsed = parseLineSettings(settings);
    if (!parsed)
        return fail(QStringLiteral("unknown line settings \"%1\"").arg(settings));
    const bool ok = m_port.setBaudRate(parsed->baudRate) && m_port.setParity(parsed->parity) &&
                    m_port.setDataBits(parsed->dataBits) && m_port.setStopBits(parsed->stopBits) &&
                    m_port.setFlowControl(QSerialPort::NoFlowControl);
    return ok || fail(m_port.errorString());
}

void QtSerialPort::setBufferSizes(int, int)
{
    // QSerialPort's buffers grow as needed, so any requested size is already met.
}

bool QtSerialPort::openToProbe()
{
#if defined(Q_OS_WIN)
    // Opened for reading, QSerialPort waits for a received byte at once; Wine
    // makes that wait block until a byte comes, and a port with nothing on
    // it would hold the start-up for ever. A port that opens for writing
    // opens for both: Windows gives a port to one program at a time.
    return openWith(QIODevice::WriteOnly);
#else
    return open();
#endif
}

bool QtSerialPort::open()
{
    return openWith(QIODevice::ReadWrite);
}

bool QtSerialPort::openWith(QIODevice::OpenMode mode)
{
    if (isShutDown())
        return fail(QStringLiteral("the program is closing"));
    if (m_port.isOpen())
        return fail(QStringLiteral("the port is already open"));
    const QString path = devicePath(m_number);
    // Before QSerialPort looks: it takes a lockdev-style lock file for stale
    // and deletes it, although its process still runs.
    if (const auto holder = lockFileHolder(path))
        return fail(describeHolder(*holder, path));
    m_port.setPortName(path);
    if (!m_port.open(mode)) {
        // A device this user may open that still refuses is held by another program.
        if (m_port.error() == QSerialPort::PermissionError && !deviceAccessDenied(path))
            return fail(m_port.errorString() + QLatin1String(AnotherProgramHint));
        return fail(m_port.errorString());
    }
    m_port.clearError();
    // QSerialPort keeps out only programs that take its own kind of lock.
    if (const auto held = heldByAnother(m_port.handle(), path)) {
        m_port.close();
        return fail(*held);
    }
    // What arrived while the port was closed (a late answer to the last
    // exchange) would be taken for an answer to the next one.
    if (mode & QIODevice::ReadOnly)
        m_port.clear(QSerialPort::Input);
    return true;
}

void QtSerialPort::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool QtSerialPort::write(const QByteArray &bytes)
{
    if (!m_port.isOpen())
        return fail(QStringLiteral("the port is not open"));
    if (m_port.write(bytes) != bytes.size())
        return fail(m_port.errorString());
    if (onTraffic)
        onTraffic(false, bytes);
    // Hand the bytes to the system now, so that a close right after the
    // write does not drop them from Qt's own buffer.
    m_port.flush();
    return m_port.isOpen(); // a vanished device closes the port, with the reason in lastError()
}

QByteArray QtSerialPort::readAll()
{
    const QByteArray bytes = m_port.isOpen() ? m_port.readAll() : QByteArray();
    if (onTraffic && !bytes.isEmpty())
        onTraffic(true, bytes);
    return bytes;
}

bool QtSerialPort::drain(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (m_port.isOpen() && m_port.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !m_port.waitForBytesWritten(int(deadline.remainingTime())))
            break;
    }
    if (!m_port.isOpen())
        return fail(QStringLiteral("the port closed before its last bytes left"));
    if (m_port.bytesToWrite() > 0 && timeoutMs > 0)
        return fail(QStringLiteral("%1 bytes did not leave the port within %2 ms").arg(m_port.bytesToWrite()).arg(timeoutMs));
    return m_port.bytesToWrite() == 0;
}

void QtSerialPort::setDevice(const QString &path)
{
    // A path is taken from where the program runs, and its links are followed
    // as the ports folder's are: lock files and the holder check need the
    // device itself. A bare name (ttyUSB0, COM23) is the system's to resolve.
    if (!path.contains(QLatin1Char('/'))) {
        m_device = path;
        return;
    }
    const QFileInfo file(path);
    const QString device = file.canonicalFilePath();
    m_device = device.isEmpty() ? file.absoluteFilePath() : device;
}

QString QtSerialPort::devicePath(int number) const
{
    return m_device.isEmpty() ? portDevicePath(number, m_programFolder) : m_device;
}

QList<int> QtSerialPort::presentPorts() const
{
    return pelzo::presentPorts(m_programFolder);
}

QString QtSerialPort::portDescription(int number) const
{
    const auto system = systemEntry(devicePath(number));
    return system ? system->description() : QString();
}

PortInfo QtSerialPort::portInfo(int number) const
{
    const QString path = devicePath(number);
    PortInfo info;
    if (const auto system = systemEntry(path)) {
        const auto hex = [](quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); };
        info.listed = true;
        info.description = system->description();
        info.manufacturer = system->manufacturer();
        info.serialNumber = system->serialNumber();
        info.vendorId = system->hasVendorIdentifier() ? hex(system->vendorIdentifier()) : QString();
        info.productId = system->hasProductIdentifier() ? hex(system->productIdentifier()) : QString();
    }
    QList<PortHolder> holders = processesWithDeviceOpen(path);
    if (const auto locked = lockFileHolder(path))
        holders.prepend(*locked);
    if (!holders.isEmpty())
        info.holder = describeHolder(holders.front(), path);
    return info;
}

} // namespace pelzo
