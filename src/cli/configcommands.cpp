#include "cli/configcommands.h"

#include "cli/context.h"
#include "cli/settingslines.h"
#include "core/factorydefaults.h"
#include "core/textcodec.h"
#include "protocol/writedata.h"
#include "settingsfile/savefile.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace pelzo::cli {

namespace {

QString shown(const QByteArray &value)
{
    return decodeArrived(value, settingsFileFallback());
}

} // namespace

QJsonObject writeAndVerify(Context &c, PlainStation &wanted)
{
    const Outcome written = writeData(c.exchange(wanted), c.session());
    if (!written.done())
        throw c.failureOf(written, QStringLiteral("the station did not confirm the write (%1 commands sent)")
                                       .arg(written.commandsSent.size()));
    c.say(QStringLiteral("%1: wrote %2 commands, confirmed").arg(c.portLabel()).arg(written.commandsSent.size()));

    QStringList sent, notSent;
    for (const Field field : written.fieldsSent)
        sent << fieldLabel(field);
    for (const QString &label : fieldLabels()) {
        if (!sent.contains(label))
            notSent << label;
    }
    const ValueLines values = valueLines(wanted);
    for (const QString &label : notSent)
        c.say(QStringLiteral("%1: %2:%3 not sent in DHCP mode").arg(c.portLabel(), label, shown(values.at(label))));

    QJsonObject report{{"written", written.commandsSent.size()}, {"not_sent", QJsonArray::fromStringList(notSent)}};
    if (c.o.verify) {
        const QStringList differing = differingFields(written.fieldsSent, values, valueLines(c.readDevice()));
        if (!differing.isEmpty())
            throw Failure{Mismatch, QStringLiteral("%1: the station holds other values than were written:\n  %2")
                                        .arg(c.portLabel(), differing.join(QStringLiteral("\n  ")))};
        c.say(QStringLiteral("%1: verified: the %2 written fields hold").arg(c.portLabel()).arg(sent.size()));
        report["verified"] = true;
    }
    return report;
}

namespace {

int reportWrite(Context &c, const QJsonObject &report)
{
    if (c.o.json)
        c.io.out << QJsonDocument(report).toJson() << Qt::flush;
    return Success;
}

} // namespace

int readCommand(Context &c)
{
    c.outputStation(c.readDevice());
    return Success;
}

int getCommand(Context &c)
{
    const ValueLines values = valueLines(c.readDevice());
    QJsonObject object;
    for (const QString &name : c.o.operands) {
        const QString label = labelOf(name);
        object[label] = shown(values.at(label));
        if (!c.o.json)
            c.io.out << object[label].toString() << '\n';
    }
    if (c.o.json)
        c.io.out << QJsonDocument(object).toJson();
    c.io.out.flush();
    return Success;
}

int defaultsCommand(Context &c)
{
    PlainStation &station = c.newStation();
    applyFactoryDefaults(station);
    c.outputStation(station);
    return Success;
}

int writeCommand(Context &c)
{
    if (c.o.operands.isEmpty())
        throw Failure{UsageOrDifference, QStringLiteral("write takes a settings file")};
    requireEveryField(c.o.operands.front());
    PlainStation &wanted = c.loaded(c.o.operands.front());
    applyAssignments(wanted, c.session(), c.o.operands.mid(1));
    if (!c.o.backup.isEmpty()) {
        if (!c.io.writeFile(c.o.backup, settingsFileBytes(c.readDevice())))
            throw Failure{FileRefused, QStringLiteral("cannot write the backup %1").arg(c.o.backup)};
        c.say(QStringLiteral("%1: the station's configuration is saved in %2").arg(c.portLabel(), c.o.backup));
    }
    return reportWrite(c, writeAndVerify(c, wanted));
}

int setCommand(Context &c)
{
    if (c.o.operands.isEmpty())
        throw Failure{UsageOrDifference, QStringLiteral("set takes FIELD=VALUE")};
    PlainStation &station = c.readDevice();
    applyAssignments(station, c.session(), c.o.operands);
    return reportWrite(c, writeAndVerify(c, station));
}

int diffCommand(Context &c)
{
    if (c.o.device)
        c.choosePort();
    if (c.o.operands.size() != (c.o.device ? 1 : 2))
        throw Failure{UsageOrDifference, QStringLiteral("diff takes two settings files, or one and --device")};
    const ValueLines a = valueLines(c.loaded(c.o.operands[0]));
    const ValueLines b = valueLines(c.o.device ? c.readDevice() : c.loaded(c.o.operands[1]));
    const QString other = c.o.device ? QStringLiteral("the station on %1").arg(c.portLabel()) : c.o.operands[1];
    QJsonObject differences;
    for (const auto &[label, value] : a) {
        if (b.at(label) == value)
            continue;
        if (differences.isEmpty() && !c.o.json)
            c.io.out << "--- " << c.o.operands[0] << "\n+++ " << other << '\n';
        differences[label] = QJsonArray{shown(value), shown(b.at(label))};
        if (!c.o.json)
            c.io.out << '-' << label << ':' << shown(value) << "\n+" << label << ':' << shown(b.at(label)) << '\n';
    }
    if (c.o.json)
        c.io.out << QJsonDocument(differences).toJson();
    c.io.out.flush();
    return differences.isEmpty() ? Success : UsageOrDifference;
}

} // namespace pelzo::cli
