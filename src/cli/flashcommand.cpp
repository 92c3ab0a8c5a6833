#include "cli/configcommands.h"
#include "cli/context.h"
#include "cli/stationcommands.h"
#include "firmware/openrom.h"
#include "firmware/updatestart.h"
#include "settingsfile/savefile.h"
#include "settingsfile/settingsvalues.h"

#include <QJsonDocument>

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
        const double bytesPerSecond = std::max(1.0, (block - m_startBlock) * double(BlockSize) / seconds);
        const int left = int((m_blocks - block) * double(BlockSize) / bytesPerSecond);
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

// The configuration as it stands before the update resets it, read and saved.
PlainStation &keep(Context &c, QJsonObject &report)
{
    PlainStation &kept = c.readDevice();
    const QByteArray bytes = settingsFileBytes(kept);
    const QString path = c.o.backup.isEmpty() ? backupPath(c.platform.programFolder(), bytes) : c.o.backup;
    const Outcome saved = saveSettingsBytes(kept, path, bytes);
    if (!saved.done())
        throw Failure{FileRefused, QStringLiteral("the configuration could not be kept before the update: %1")
                                       .arg(saved.reason)};
    c.say(QStringLiteral("%1: the station's configuration is kept in %2").arg(c.portLabel(), path));
    report["backup"] = path;
    return kept;
}

// The update's own exchange, to its end.
void update(Context &c, PlainStation &station)
{
    Session &session = c.session();
    c.exchange(station, ServeRequests::OnArrivalToo);
    c.flashing = &station;
    session.Timer2->start();
    const Outcome started = c.o.recover ? startRecovery(station, session) : startUpdate(station, session);
    if (!started.done())
        throw c.failureOf(started, QStringLiteral("the update was cancelled"));
    c.say(c.o.recover ? QStringLiteral("%1: switch the station off and on now; its bootloader is called once a "
                                       "second for two minutes").arg(c.portLabel())
                      : QStringLiteral("%1: the station is reset and restarts into its bootloader").arg(c.portLabel()));
    FlashProgress progress(c, session.firmware.blockCount());
    while (!session.firmware.ending && !c.platform.isClosing()) {
        station.WaitMs(FlashLookMs);
        progress.show(session.firmware.BlockIndex);
    }
    session.Timer2->stop();
    if (c.platform.isClosing()) {
        progress.end();
        throw Failure{Interrupted, QString()};
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
}

} // namespace

int flashCommand(Context &c)
{
    if (c.o.operands.size() != 1)
        throw Failure{UsageOrDifference, QStringLiteral("flash takes one image")};
    const QString path = c.o.operands.front();
    PlainStation &station = c.newStation();
    const Outcome image = openRomFile(station, c.session(), path);
    if (!image.done())
        throw Failure{FileRefused, QStringLiteral("%1: %2").arg(path, image.reason)};
    if (c.session().firmware.RomLength < MinImageBytes)
        throw Failure{FileRefused, QStringLiteral("%1: too small for a PELZO firmware image").arg(path)};
    const QString summary = imageSummary(c.session().firmware.RomImage.left(c.session().firmware.RomLength));
    c.say(QStringLiteral("%1: %2").arg(path, summary));

    QJsonObject report{{"image", summary}};
    // A recovery starts from a station that does not answer: there is nothing to keep.
    PlainStation *kept = c.o.backupFirst && !c.o.recover ? &keep(c, report) : nullptr;
    update(c, station);

    // The new firmware starts from factory settings; the read shows it is up and what it is.
    const PlainStation &now = c.readDevice();
    report["version"] = now.fieldText(Field::DeviceVersion);
    c.say(QStringLiteral("%1: the station now reports version %2").arg(c.portLabel(), now.fieldText(Field::DeviceVersion)));
    if (kept && c.o.restoreAfter) {
        report["restore"] = writeAndVerify(c, *kept);
        c.say(QStringLiteral("%1: the configuration kept before the update is back").arg(c.portLabel()));
    }
    if (c.o.json)
        c.io.out << QJsonDocument(report).toJson() << Qt::flush;
    return Success;
}

} // namespace pelzo::cli
