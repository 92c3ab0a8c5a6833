// Receive-path throughput: a stream of configuration report lines, fed in
// serial-sized chunks through the receive path of a loaded window, measured
// over the first megabyte and again after ten megabytes have passed.
#include "serial/startup.h"
#include "testing/virtualplatform.h"
#include "protocol/serialreceive.h"
#include "ui/form1.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <time.h>

using namespace pelzo;

namespace {

// 115200 bit/s with 8N1 framing carries ten bits per byte.
constexpr double LineRateBytesPerSecond = 11520.0;
constexpr qsizetype Megabyte = 1024 * 1024;
constexpr qsizetype ChunkBytes = 32; // about what a USB adapter hands over per arrival
constexpr int MegabytesBeforeSecondMeasurement = 10;

// One configuration report as the device sends it, repeated without end.
const QByteArray reportLines = "CALLSIGN:BG7ABC-9\r\nPASS:12345\r\nPOSITION:!3035.00N/11417.00ErPHG1010\r\n"
                               "DHCP:1\r\nCOMMENT:PELZO 144.640MHz\r\nSERVER:rotate.aprs2.net\r\n"
                               "SENT TIME:0600\r\nFILTER:b/PELZO\r\nVER:PELZO V1.3\r\nIP:192,168,1,99\r\n"
                               "MASK:255,255,255,0\r\nGATE:192,168,1,1\r\nDNS:8,8,8,8\r\nFREQ:144.6400\r\n"
                               "BACKLIGHT:1\r\nUNIT:1\r\nDIGI:1\r\nMOD:3\r\nPATH:1\r\nALIAS:3\r\n";

// Processor time rather than wall time: the figure must not depend on what
// else the machine is doing.
qint64 processCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Feeds `total` bytes of the repeated report and returns the bytes per second of processor time.
double feed(Form1 &form, const QByteArray &report, qsizetype total, qsizetype &offset)
{
    const qint64 start = processCpuNs();
    for (qsizetype fed = 0; fed < total; fed += ChunkBytes) {
        QByteArray chunk;
        while (chunk.size() < ChunkBytes) {
            const qsizetype take = std::min(ChunkBytes - chunk.size(), report.size() - offset);
            chunk += report.mid(offset, take);
            offset = (offset + take) % report.size();
        }
        receiveBytes(form, form.session(), chunk);
    }
    return double(total) / (double(processCpuNs() - start) / 1e9);
}

void measure(QTextStream &out)
{
    QTemporaryDir folder;
    VirtualPlatform platform;
    platform.setProgramFolder(folder.path());
    Form1 form(platform);
    formLoad(form);
    qsizetype offset = 0;

    const double first = feed(form, reportLines, Megabyte, offset);
    feed(form, reportLines, (MegabytesBeforeSecondMeasurement - 1) * Megabyte, offset);
    const double later = feed(form, reportLines, Megabyte, offset);

    out << QStringLiteral("receive path, first MB:        %1 bytes/s (%2 x line rate)\n")
               .arg(first, 0, 'f', 0)
               .arg(first / LineRateBytesPerSecond, 0, 'f', 0);
    out << QStringLiteral("receive path, MB after 10 MB:  %1 bytes/s (%2 x line rate)\n")
               .arg(later, 0, 'f', 0)
               .arg(later / LineRateBytesPerSecond, 0, 'f', 0);
    out << QStringLiteral("hex dump now %1 characters\n").arg(form.session().receive.Text1.text().size());
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    out << "line rate at 115200 bit/s 8N1: " << LineRateBytesPerSecond << " bytes/s\n";
    measure(out);
    return 0;
}
