#include "cli/stationcommands.h"

#include "cli/context.h"
#include "firmware/openrom.h"
#include "firmware/updatestart.h"
#include "protocol/restartdevice.h"
#include "protocol/wifiapply.h"
#include "serial/portnames.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSerialPortInfo>

namespace pelzo::cli {

namespace {

// How often a flash looks at its progress.
constexpr qint32 FlashLookMs = 50;
// Without a terminal the progress is told in steps of this many percent.
constexpr int ProgressStepPercent = 10;
constexpr int ProgressBarWidth = 30;

// One look at a running flash: a bar that redraws itself on a terminal, a line each step otherwise.
class FlashProgress
{
public:
    FlashProgress(Context &c, qint32 blocks) : m_c(c), m_blocks(blocks) {}

    void show(qint32 block)
    {
        // Until the first block has gone there is nothing to measure.
        if (m_c.io.verbosity == 0 || block == m_shown || block == 0)
            return;
        if (m_shown <= 0) {
            // The speed is measured from the first block seen, not from the bootloader's start.
            m_start = m_c.platform.tickCount();
            m_startBlock = block;
        }
        m_shown = block;
        const int percent = int(qint64(block) * 100 / m_blocks);
        const double seconds = std::max(1u, m_c.platform.tickCount() - m_start) / 1000.0;
        const double bytesPerSecond = std::max(1.0, (block - m_startBlock) * 2048.0 / seconds);
        const int left = int((m_blocks - block) * 2048.0 / bytesPerSecond);
        QString figures = QStringLiteral("%1% block %2 of %3").arg(percent).arg(block).arg(m_blocks);
        if (block > m_startBlock)
            figures += QStringLiteral(", %1 KiB/s, %2:%3 left")
                           .arg(bytesPerSecond / 1024.0, 0, 'f', 1)
                           .arg(left / 60)
                           .arg(left % 60, 2, 10, QLatin1Char('0'));
        if (m_c.io.terminal) {
            const int filled = percent * ProgressBarWidth / 100;
            m_c.io.err << "\r[" << QString(filled, QLatin1Char('#')) << QString(ProgressBarWidth - filled, QLatin1Char(' '))
                       << "] " << figures << Qt::flush;
        } else if (percent / ProgressStepPercent != m_step) {
            m_step = percent / ProgressStepPercent;
            m_c.io.err << m_c.portLabel() << ": " << figures << Qt::endl;
        }
    }
    void end()
    {
        if (m_c.io.terminal && m_shown > 0)
            m_c.io.err << Qt::endl;
    }

private:
    Context &m_c;
    qint32 m_blocks;
    quint32 m_start = 0;
    qint32 m_startBlock = 0;
    qint32 m_shown = -1;
    int m_step = -1;
};

} // namespace

int wifiCommand(Context &c)
{
    if (c.o.ssid.isEmpty())
        throw Failure{UsageOrDifference, QStringLiteral("wifi needs --ssid NAME")};
    QString password;
    if (!c.o.passwordFile.isEmpty()) {
        QFile file(c.o.passwordFile);
        if (!file.open(QIODevice::ReadOnly))
            throw Failure{FileRefused, QStringLiteral("cannot read %1").arg(c.o.passwordFile)};
        password = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    } else {
        password = c.io.secret(QStringLiteral("Wi-Fi password for %1: ").arg(c.o.ssid));
    }
    PlainStation &station = c.exchange(c.newStation());
    station.setFieldText(Field::WifiSsid, c.o.ssid);
    station.setFieldText(Field::WifiPassword, password);
    const Outcome outcome = applyWifi(station, c.session());
    if (!outcome.done())
        throw c.failureOf(outcome, QStringLiteral("the station did not confirm the Wi-Fi credentials"));
    c.say(QStringLiteral("%1: the Wi-Fi credentials are confirmed; the station restarts").arg(c.portLabel()));
    return Success;
}

int restartCommand(Context &c)
{
    const Outcome outcome = restartDevice(c.exchange(c.newStation()), c.session());
    if (!outcome.done())
        throw c.failureOf(outcome, QStringLiteral("the restart could not be sent"));
    c.say(QStringLiteral("%1: restart sent").arg(c.portLabel()));
    return Success;
}

int flashCommand(Context &c)
{
    if (c.o.operands.size() != 1)
        throw Failure{UsageOrDifference, QStringLiteral("flash takes one image")};
    PlainStation &station = c.exchange(c.newStation(), ServeRequests::OnArrivalToo);
    Session &session = c.session();
    const Outcome image = openRomFile(station, session, c.o.operands.front());
    if (!image.done())
        throw Failure{FileRefused, QStringLiteral("%1: %2").arg(c.o.operands.front(), image.reason)};
    c.flashing = &station;
    session.Timer2->start();
    const Outcome started = startUpdate(station, session);
    if (started.result == Result::Refused)
        throw Failure{FileRefused, QStringLiteral("%1: too small for a PELZO firmware image").arg(c.o.operands.front())};
    if (!started.done())
        throw c.failureOf(started, QStringLiteral("the update was cancelled"));
    c.say(QStringLiteral("%1: the station is reset and restarts into its bootloader").arg(c.portLabel()));
    FlashProgress progress(c, session.firmware.blockCount());
    while (!session.firmware.ending && !c.platform.isClosing()) {
        station.WaitMs(FlashLookMs);
        progress.show(session.firmware.BlockIndex);
    }
    if (c.platform.isClosing()) {
        progress.end();
        return Interrupted;
    }
    const Outcome &ending = *session.firmware.ending;
    if (ending.done())
        progress.show(ending.blocksSent);
    progress.end();
    if (!ending.done())
        throw c.failureOf(ending, ending.blocksSent > 0
                                      ? QStringLiteral("the update stopped at block %1 of %2: %3")
                                            .arg(ending.blocksSent).arg(ending.blockCount).arg(ending.reason)
                                      : ending.reason);
    c.say(QStringLiteral("%1: flashed %2 blocks").arg(c.portLabel()).arg(ending.blocksSent));
    return Success;
}

int portsCommand(Context &c)
{
    QJsonArray list;
    for (const int number : c.port().presentPorts()) {
        const QString path = c.port().devicePath(number);
        const PortInfo info = c.port().portInfo(number);
        QJsonObject entry{{"name", portName(number)}, {"device", path}, {"description", info.description}};
        for (const QSerialPortInfo &system : QSerialPortInfo::availablePorts()) {
            if (system.systemLocation() != path && system.portName() != path)
                continue;
            entry["manufacturer"] = system.manufacturer();
            entry["serialNumber"] = system.serialNumber();
            if (system.hasVendorIdentifier())
                entry["vendorId"] = QStringLiteral("%1").arg(system.vendorIdentifier(), 4, 16, QLatin1Char('0'));
            if (system.hasProductIdentifier())
                entry["productId"] = QStringLiteral("%1").arg(system.productIdentifier(), 4, 16, QLatin1Char('0'));
        }
        if (!info.holder.isEmpty())
            entry["heldBy"] = info.holder;
        list.append(entry);
        if (!c.o.json) {
            c.io.out << entry["name"].toString() << '\t' << path;
            for (const char *key : {"description", "vendorId", "productId", "serialNumber"})
                c.io.out << '\t' << entry[key].toString();
            c.io.out << '\t' << (info.holder.isEmpty() ? QStringLiteral("free") : QStringLiteral("held: ") + info.holder)
                     << '\n';
        }
    }
    if (c.o.json)
        c.io.out << QJsonDocument(list).toJson();
    c.io.out.flush();
    return Success;
}

} // namespace pelzo::cli
