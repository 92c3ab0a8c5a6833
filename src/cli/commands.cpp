#include "cli/cli.h"

#include "cli/exitcodes.h"
#include "core/factorydefaults.h"
#include "core/plainstation.h"
#include "core/textcodec.h"
#include "firmware/blocktransfer.h"
#include "firmware/openrom.h"
#include "firmware/updatestart.h"
#include "protocol/devicecommands.h"
#include "protocol/peizhi.h"
#include "protocol/readdata.h"
#include "protocol/restartdevice.h"
#include "protocol/serialreceive.h"
#include "protocol/wifiapply.h"
#include "protocol/writedata.h"
#include "serial/portfailure.h"
#include "serial/portholders.h"
#include "serial/portnames.h"
#include "serial/qtserialport.h"
#include "settingsfile/loadfile.h"
#include "settingsfile/savefile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSerialPortInfo>

#include <algorithm>
#include <iterator>
#include <map>

namespace pelzo::cli {

namespace {

// A probe is answered at once by a device that is up; auto gives each port this long.
constexpr int AutoProbes = 3;
constexpr qint32 AutoProbeMs = 1000;
// How often a flash looks at its progress.
constexpr qint32 FlashLookMs = 50;

struct Options
{
    QString command;
    QStringList operands;
    QString port = QStringLiteral("auto");
    QString output;       // -o
    QString backup;       // --backup
    QString ssid;         // --ssid
    QString passwordFile; // --password-file
    QString trace;        // --trace
    bool json = false;
    bool verify = true;
    bool device = false; // diff --device
};

class Failure
{
public:
    Failure(int code, QString message) : code(code), message(std::move(message)) {}
    int code;
    QString message;
};

// The fields a settings file holds, by their labels: "CALLSIGN", "COMMENT TEXT" (also COMMENT_TEXT).
QStringList fieldLabels()
{
    QStringList labels;
    for (const FieldWireNames &names : fieldWireNames()) {
        if (*names.commandKeyword && *names.reportLabel)
            labels << QString::fromLatin1(names.reportLabel).chopped(1);
    }
    return labels;
}

QString labelOf(const QString &name)
{
    const QString wanted = QString(name).replace(QLatin1Char('_'), QLatin1Char(' ')).toUpper();
    if (!fieldLabels().contains(wanted))
        throw Failure(UsageOrDifference, QStringLiteral("no field %1; the fields are: %2")
                                             .arg(name, fieldLabels().join(QStringLiteral(", "))));
    return wanted;
}

// The settings file's value lines ("LABEL:value") by label.
std::map<QString, QByteArray> valueLines(const Station &station)
{
    std::map<QString, QByteArray> lines;
    for (const QByteArray &line : settingsFileBytes(station).split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype colon = trimmed.indexOf(':');
        if (colon > 0)
            lines[QString::fromLatin1(trimmed.left(colon))] = trimmed.mid(colon + 1);
    }
    return lines;
}

QJsonObject asJson(const std::map<QString, QByteArray> &lines)
{
    QJsonObject object;
    for (const auto &[label, value] : lines)
        object[label] = decodeArrived(value, settingsFileFallback());
    return object;
}

// A station whose port events end with it: nothing may reach a station that is gone.
class BoundStation : public PlainStation
{
public:
    using PlainStation::PlainStation;
    ~BoundStation() override
    {
        port().onReceive = nullptr;
        port().onLinkLost = nullptr;
    }
};

class Command
{
public:
    Command(const Options &options, Platform &platform, Io &io) : o(options), m_platform(platform), m_io(io) {}

    int run()
    {
        // Each command once: its name, whether it needs the device's port
        // before anything else, and its handler (diff finds the port itself).
        struct Entry
        {
            const char *name;
            bool usesPort;
            int (Command::*handler)();
        };
        static constexpr Entry table[] = {
            {"ports", false, &Command::ports},
            {"read", true, &Command::read},
            {"get", true, &Command::get},
            {"write", true, &Command::write},
            {"set", true, &Command::set},
            {"diff", false, &Command::diff},
            {"defaults", false, &Command::defaults},
            {"wifi", true, &Command::wifi},
            {"restart", true, &Command::restart},
            {"flash", true, &Command::flash},
        };
        const QString &c = o.command;
        const auto entry = std::find_if(std::begin(table), std::end(table), [&](const Entry &e) { return c == QLatin1String(e.name); });
        if (entry == std::end(table))
            throw Failure(UsageOrDifference, QStringLiteral("no command %1").arg(c));
        if (c == QLatin1String("get") || c == QLatin1String("set") || c == QLatin1String("write")) {
            for (const QString &operand : o.operands.mid(c == QLatin1String("write") ? 1 : 0))
                labelOf(operand.section(QLatin1Char('='), 0, 0));
        }
        if (entry->usesPort)
            choosePort();
        return (this->*entry->handler)();
    }

private:
    SerialPort &port() const { return m_platform.serialPort(); }

    void say(const QString &line) const
    {
        if (m_io.verbosity > 0)
            m_io.err << line << Qt::endl;
    }

    // A station bound as the window binds its events; the transfer served on arrival when asked.
    std::unique_ptr<PlainStation> station(bool serveOnArrival = false)
    {
        std::unique_ptr<PlainStation> s = std::make_unique<BoundStation>(m_platform);
        PlainStation *raw = s.get();
        port().onReceive = [raw, serveOnArrival] {
            onSerialReceive(*raw);
            if (serveOnArrival && raw->firmware.updateInProgress)
                transferTick(*raw);
        };
        port().onLinkLost = [raw] { reportLinkLost(*raw); };
        s->Timer1->onTick = [raw] { connectTick(*raw); };
        s->Timer2->onTick = [raw] { transferTick(*raw); };
        s->onLog = [this, last = QString()](const QString &log) mutable {
            const QStringList lines = log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            const QString line = lines.isEmpty() ? QString() : lines.last();
            if (line.isEmpty() || line == last || m_io.verbosity == 0)
                return;
            last = line;
            if (m_io.terminal && m_io.verbosity < 2)
                m_io.err << '\r' << line.leftJustified(72).left(120) << Qt::flush;
            else
                m_io.err << line << Qt::endl;
        };
        return s;
    }

    // The message boxes since the command began: a port that would not do is the caller's to name.
    void failOnBoxes(int code, qsizetype seen) const
    {
        const QStringList boxes = m_io.boxes();
        if (boxes.size() <= seen)
            return;
        const QString box = boxes.at(seen);
        throw Failure(code, QStringLiteral("%1: %2").arg(box.section(QLatin1Char('|'), 0, 0),
                                                         box.section(QLatin1Char('|'), 1)));
    }

    void choosePort()
    {
        if (!o.trace.isEmpty())
            openTrace();
        if (o.port == QLatin1String("auto"))
            return findStation();
        if (const auto number = listedPortNumber(o.port.toUpper())) {
            port().setCommPort(*number);
            return;
        }
        auto *real = dynamic_cast<QtSerialPort *>(&port());
        if (!real)
            throw Failure(UsageOrDifference, QStringLiteral("no port %1").arg(o.port));
        real->setDevice(o.port);
        port().setCommPort(1);
    }

    // Probes every port that exists and is nobody else's; exactly one station must answer.
    void findStation()
    {
        QStringList answering, tried;
        for (const int number : port().presentPorts()) {
            port().setCommPort(number);
            const QString name = QStringLiteral("%1 (%2)").arg(portName(number), port().devicePath(number));
            if (!port().setSettings(QLatin1String("115200,n,8,1")) || !port().open()) {
                tried << name + QStringLiteral(": ") + port().lastError();
                continue;
            }
            QByteArray heard;
            port().onReceive = [&heard, this] { heard += port().readAll(); };
            for (int probe = 0; probe < AutoProbes && !heard.contains("CONNECT"); ++probe) {
                port().write(toWire(ProbeCommand));
                waitMs(m_platform, AutoProbeMs);
            }
            port().close();
            port().onReceive = nullptr;
            (heard.contains("CONNECT") ? answering : tried) << name;
        }
        if (answering.size() == 1) {
            port().setCommPort(listedPortNumber(answering.front().section(QLatin1Char(' '), 0, 0)).value());
            say(QStringLiteral("found the station on %1").arg(answering.front()));
            return;
        }
        if (answering.isEmpty())
            throw Failure(PortProblem, QStringLiteral("no station answered on any port (%1); name one with -p")
                                           .arg(tried.isEmpty() ? QStringLiteral("there is none") : tried.join("; ")));
        throw Failure(PortProblem,
                      QStringLiteral("several stations answer: %1; name one with -p").arg(answering.join(", ")));
    }

    void openTrace()
    {
        m_trace = std::make_shared<QFile>(o.trace);
        if (!m_trace->open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw Failure(FileRefused, QStringLiteral("cannot write %1: %2").arg(o.trace, m_trace->errorString()));
        const quint32 start = m_platform.tickCount();
        port().onTraffic = [trace = m_trace, start, this](bool fromDevice, const QByteArray &bytes) {
            trace->write(QStringLiteral("%1 %2 %3\n")
                             .arg(m_platform.tickCount() - start, 8)
                             .arg(fromDevice ? QLatin1String("dev>host") : QLatin1String("host>dev"),
                                  QString::fromLatin1(bytes.toHex(' ')))
                             .toLatin1());
            trace->flush();
        };
    }

    // The device's configuration, read as Read data reads it.
    std::unique_ptr<PlainStation> readDevice()
    {
        auto s = station();
        say(QStringLiteral("reading; restart the station if it does not answer"));
        const qsizetype seen = m_io.boxes().size();
        readData(*s);
        failOnBoxes(PortProblem, seen);
        if (!s->activityLog().endsWith(QLatin1String("read ok")))
            throw Failure(NoAnswer, QStringLiteral("the device did not send its whole configuration"));
        return s;
    }

    void output(const QByteArray &bytes, const QString &path) const
    {
        if (path.isEmpty() || path == QLatin1String("-")) {
            m_io.out << QString::fromUtf8(bytes) << Qt::flush;
            return;
        }
        if (!m_io.writeFile(path, bytes))
            throw Failure(FileRefused, QStringLiteral("cannot write %1").arg(path));
    }

    void outputStation(const Station &s) const
    {
        if (o.json)
            output(QJsonDocument(asJson(valueLines(s))).toJson(), o.output);
        else
            output(settingsFileBytes(s), o.output);
    }

    std::unique_ptr<PlainStation> loaded(const QString &path)
    {
        auto s = station();
        if (!loadSettingsFile(*s, path))
            throw Failure(FileRefused, QStringLiteral("%1: %2").arg(path, s->activityLog().split("\r\n", Qt::SkipEmptyParts).last()));
        return s;
    }

    int read()
    {
        outputStation(*readDevice());
        return Success;
    }

    int get()
    {
        const auto values = valueLines(*readDevice());
        QJsonObject object;
        for (const QString &name : o.operands) {
            const QString label = labelOf(name);
            const QString value = decodeArrived(values.at(label), settingsFileFallback());
            object[label] = value;
            if (!o.json)
                m_io.out << value << '\n';
        }
        if (o.json)
            m_io.out << QJsonDocument(object).toJson();
        m_io.out.flush();
        return Success;
    }

    int defaults()
    {
        auto s = station();
        applyFactoryDefaults(*s);
        outputStation(*s);
        return Success;
    }

    // A write sends every field: a file that lacks some would write them empty.
    void requireEveryField(const QString &path) const
    {
        QFile file(path);
        QStringList missing = fieldLabels();
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n'))
                missing.removeAll(QString::fromLatin1(line.left(line.indexOf(':')).trimmed()));
        }
        if (!missing.isEmpty() && file.isOpen())
            throw Failure(FileRefused, QStringLiteral("%1 lacks %2; a write would send them empty. Start from a "
                                                      "file that read, defaults or Save file wrote, or use set.")
                                           .arg(path, missing.join(QStringLiteral(", "))));
    }

    void apply(PlainStation &s, const QStringList &assignments) const
    {
        for (const QString &assignment : assignments) {
            const QString label = labelOf(assignment.section(QLatin1Char('='), 0, 0));
            s.LineBuffer = (label + QLatin1Char(':')).toLatin1() + assignment.section(QLatin1Char('='), 1).toUtf8();
            if (!peizhi(s, settingsFileFallback()))
                throw Failure(UsageOrDifference, QStringLiteral("%1 is no value for %2").arg(assignment, label));
        }
    }

    int write()
    {
        if (o.operands.isEmpty())
            throw Failure(UsageOrDifference, QStringLiteral("write takes a settings file"));
        requireEveryField(o.operands.front());
        auto s = loaded(o.operands.front());
        apply(*s, o.operands.mid(1));
        if (!o.backup.isEmpty()) {
            if (!m_io.writeFile(o.backup, settingsFileBytes(*readDevice())))
                throw Failure(FileRefused, QStringLiteral("cannot write the backup %1").arg(o.backup));
            say(QStringLiteral("the device's configuration is saved in %1").arg(o.backup));
        }
        return writeAndVerify(*s);
    }

    int set()
    {
        if (o.operands.isEmpty())
            throw Failure(UsageOrDifference, QStringLiteral("set takes FIELD=VALUE"));
        auto s = readDevice();
        apply(*s, o.operands);
        return writeAndVerify(*s);
    }

    // Write data, its confirmation, and a read that compares every field.
    int writeAndVerify(PlainStation &s)
    {
        qint64 sent = 0;
        const auto trace = port().onTraffic;
        port().onTraffic = [&sent, trace](bool fromDevice, const QByteArray &bytes) {
            sent += fromDevice ? 0 : bytes.size();
            if (trace)
                trace(fromDevice, bytes);
        };
        writeData(s);
        port().onTraffic = trace;
        if (sent == 0)
            throw Failure(PortProblem, portFailureDetail(port()));
        if (!s.activityLog().endsWith(QLatin1String("Write complete")))
            throw Failure(NoAnswer, QStringLiteral("the device did not confirm the write"));
        say(QStringLiteral("written and confirmed"));
        if (!o.verify)
            return Success;
        const auto wanted = valueLines(s);
        const auto found = valueLines(*readDevice());
        QStringList differing;
        for (const auto &[label, value] : wanted) {
            if (found.at(label) != value)
                differing << QStringLiteral("%1: wrote %2, the device holds %3")
                                 .arg(label, QString::fromUtf8(value), QString::fromUtf8(found.at(label)));
        }
        if (!differing.isEmpty())
            throw Failure(Mismatch, QStringLiteral("the device holds other values:\n  ") + differing.join("\n  "));
        say(QStringLiteral("verified: the device holds every field as written"));
        return Success;
    }

    int diff()
    {
        if (o.device)
            choosePort();
        if (o.operands.size() != (o.device ? 1 : 2))
            throw Failure(UsageOrDifference, QStringLiteral("diff takes two settings files, or one and --device"));
        const auto a = valueLines(*loaded(o.operands[0]));
        const auto b = valueLines(o.device ? *readDevice() : *loaded(o.operands[1]));
        QJsonObject differences;
        for (const auto &[label, value] : a) {
            if (b.at(label) == value)
                continue;
            differences[label] = QJsonArray{QString::fromUtf8(value), QString::fromUtf8(b.at(label))};
            if (!o.json)
                m_io.out << "-" << label << ':' << QString::fromUtf8(value) << "\n+" << label << ':'
                         << QString::fromUtf8(b.at(label)) << '\n';
        }
        if (o.json)
            m_io.out << QJsonDocument(differences).toJson();
        m_io.out.flush();
        return differences.isEmpty() ? Success : UsageOrDifference;
    }

    int wifi()
    {
        if (o.ssid.isEmpty())
            throw Failure(UsageOrDifference, QStringLiteral("wifi needs --ssid NAME"));
        QString password;
        if (!o.passwordFile.isEmpty()) {
            QFile file(o.passwordFile);
            if (!file.open(QIODevice::ReadOnly))
                throw Failure(FileRefused, QStringLiteral("cannot read %1").arg(o.passwordFile));
            password = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
        } else {
            password = m_io.secret(QStringLiteral("Wi-Fi password for %1: ").arg(o.ssid));
        }
        auto s = station();
        s->setFieldText(Field::WifiSsid, o.ssid);
        s->setFieldText(Field::WifiPassword, password);
        const qsizetype seen = m_io.boxes().size();
        applyWifi(*s);
        failOnBoxes(PortProblem, seen);
        if (!s->activityLog().contains(QLatin1String("WIFI Write complete")))
            throw Failure(NoAnswer, QStringLiteral("the device did not confirm the Wi-Fi credentials"));
        say(QStringLiteral("the Wi-Fi credentials are confirmed; the device restarts"));
        return Success;
    }

    int restart()
    {
        auto s = station();
        const qsizetype seen = m_io.boxes().size();
        restartDevice(*s);
        failOnBoxes(PortProblem, seen);
        say(QStringLiteral("restart sent"));
        return Success;
    }

    int flash()
    {
        if (o.operands.size() != 1)
            throw Failure(UsageOrDifference, QStringLiteral("flash takes one image"));
        m_flashing = station(true);
        PlainStation *s = m_flashing.get();
        if (!openRomFile(*s, o.operands.front()))
            throw Failure(FileRefused, s->activityLog().split("\r\n").last());
        s->Timer2->start();
        const qsizetype seen = m_io.boxes().size();
        startUpdate(*s);
        failOnBoxes(s->firmware.RomLength < 5000 ? FileRefused : PortProblem, seen);
        while ((s->firmware.updateInProgress || s->Timer1->isActive()) && !m_platform.isClosing())
            s->WaitMs(FlashLookMs);
        if (m_platform.isClosing())
            return Interrupted;
        if (!s->activityLog().endsWith(QLatin1String("update complete")))
            throw Failure(NoAnswer, s->activityLog().split("\r\n", Qt::SkipEmptyParts).last());
        say(QStringLiteral("flashed %1 blocks").arg(s->firmware.blockCount()));
        return Success;
    }

    int ports()
    {
        QtSerialPort *real = dynamic_cast<QtSerialPort *>(&port());
        QJsonArray list;
        for (const int number : port().presentPorts()) {
            const QString path = port().devicePath(number);
            QJsonObject entry{{"name", portName(number)}, {"device", path}};
            for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
                if (info.systemLocation() != path && info.portName() != path)
                    continue;
                entry["description"] = info.description();
                entry["manufacturer"] = info.manufacturer();
                entry["serialNumber"] = info.serialNumber();
                if (info.hasVendorIdentifier())
                    entry["vendorId"] = QStringLiteral("%1").arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'));
                if (info.hasProductIdentifier())
                    entry["productId"] = QStringLiteral("%1").arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
            }
            QList<PortHolder> holders = real ? processesWithDeviceOpen(path) : QList<PortHolder>();
            if (const auto locked = real ? lockFileHolder(path) : std::nullopt)
                holders.prepend(*locked);
            if (!holders.isEmpty())
                entry["heldBy"] = QStringLiteral("%1 (pid %2)").arg(holders.front().program).arg(holders.front().pid);
            list.append(entry);
            if (!o.json) {
                m_io.out << entry["name"].toString() << '\t' << path;
                for (const char *key : {"description", "vendorId", "productId", "serialNumber"})
                    m_io.out << '\t' << entry[key].toString();
                m_io.out << '\t' << (entry.contains("heldBy") ? QStringLiteral("held by ") + entry["heldBy"].toString()
                                                              : QStringLiteral("free"))
                         << '\n';
            }
        }
        if (o.json)
            m_io.out << QJsonDocument(list).toJson();
        m_io.out.flush();
        return Success;
    }

public:
    // What the device was left with when the command was interrupted.
    QString interruptedState() const
    {
        if (m_flashing && m_flashing->firmware.updateInProgress)
            return QStringLiteral("interrupted at block %1 of %2: the device holds part of the image; restart it and "
                                  "flash again")
                .arg(m_flashing->firmware.BlockIndex)
                .arg(m_flashing->firmware.blockCount());
        if (o.command == QLatin1String("write") || o.command == QLatin1String("set"))
            return QStringLiteral("interrupted: the device may hold part of the new configuration; write again");
        return QStringLiteral("interrupted: the device was left as it was");
    }

private:
    const Options &o;
    Platform &m_platform;
    Io &m_io;
    std::shared_ptr<QFile> m_trace;
    std::unique_ptr<PlainStation> m_flashing;
};

Options parse(const QStringList &arguments)
{
    Options o;
    const QStringList valued{"-p", "--port", "-o", "--backup", "--ssid", "--password-file", "--trace"};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (valued.contains(a) && i + 1 == arguments.size())
            throw Failure(UsageOrDifference, QStringLiteral("%1 needs a value").arg(a));
        if (a == QLatin1String("-p") || a == QLatin1String("--port"))
            o.port = arguments[++i];
        else if (a == QLatin1String("-o"))
            o.output = arguments[++i];
        else if (a == QLatin1String("--backup"))
            o.backup = arguments[++i];
        else if (a == QLatin1String("--ssid"))
            o.ssid = arguments[++i];
        else if (a == QLatin1String("--password-file"))
            o.passwordFile = arguments[++i];
        else if (a == QLatin1String("--trace"))
            o.trace = arguments[++i];
        else if (a == QLatin1String("--json"))
            o.json = true;
        else if (a == QLatin1String("--no-verify"))
            o.verify = false;
        else if (a == QLatin1String("--device"))
            o.device = true;
        else if (a == QLatin1String("-q") || a == QLatin1String("-v"))
            continue;
        else if (a.startsWith(QLatin1Char('-')) && a != QLatin1String("-"))
            throw Failure(UsageOrDifference, QStringLiteral("unknown option %1").arg(a));
        else if (o.command.isEmpty())
            o.command = a;
        else
            o.operands << a;
    }
    if (o.command.isEmpty())
        throw Failure(UsageOrDifference, QStringLiteral("no command given"));
    return o;
}

} // namespace

QString usage()
{
    return QStringLiteral(
        "usage: pelzo-cli [-p PORT]... [--json] [-q|-v] [--trace FILE] COMMAND ...\n"
        "  ports                          list the serial ports, their devices and holders\n"
        "  read [-o FILE|-]               the device's configuration as a settings file\n"
        "  get FIELD...                   values of the named fields\n"
        "  write FILE [FIELD=VALUE]... [--no-verify] [--backup FILE]\n"
        "                                 write a settings file (changed as named), read back, compare\n"
        "  set FIELD=VALUE...             change fields, write, verify\n"
        "  diff A B | diff A --device     compare settings files or a file and the device\n"
        "  defaults [-o FILE]             the factory configuration as a settings file\n"
        "  wifi --ssid NAME [--password-file FILE]\n"
        "                                 send Wi-Fi credentials, then restart the device\n"
        "  restart                        restart the device\n"
        "  flash IMAGE.bin                replace the firmware\n"
        "PORT is COM1 to COM16, a device path, or auto (the default: the one station that answers).\n"
        "Exit status: 0 success, 1 usage or a difference, 2 port missing, busy or not permitted,\n"
        "3 no answer or no confirmation, 4 verification mismatch, 5 file or image refused, 130 interrupted.\n");
}

int run(const QStringList &arguments, Platform &platform, Io &io)
{
    std::unique_ptr<Command> command;
    io.verbosity = arguments.contains(QLatin1String("-q")) ? 0 : arguments.contains(QLatin1String("-v")) ? 2 : 1;
    try {
        const Options options = parse(arguments);
        command = std::make_unique<Command>(options, platform, io);
        const int status = command->run();
        if (platform.isClosing()) {
            io.err << "pelzo-cli: " << command->interruptedState() << Qt::endl;
            return Interrupted;
        }
        return status;
    } catch (const Failure &failure) {
        if (platform.isClosing() && command) {
            io.err << "pelzo-cli: " << command->interruptedState() << Qt::endl;
            return Interrupted;
        }
        io.err << "pelzo-cli: " << failure.message << Qt::endl;
        if (failure.code == UsageOrDifference && failure.message.startsWith(QLatin1String("no command")))
            io.err << usage();
        return failure.code;
    }
}

} // namespace pelzo::cli
