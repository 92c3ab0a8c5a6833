#include "cli/stationcommands.h"

#include "cli/context.h"
#include "protocol/restartdevice.h"
#include "protocol/wifiapply.h"
#include "serial/portnames.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pelzo::cli {

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

int portsCommand(Context &c)
{
    QJsonArray list;
    for (const int number : c.port().presentPorts()) {
        const QString path = c.port().devicePath(number);
        const PortInfo info = c.port().portInfo(number);
        QJsonObject entry{{"name", portName(number)}, {"device", path}, {"description", info.description}};
        if (info.listed) {
            entry["manufacturer"] = info.manufacturer;
            entry["serialNumber"] = info.serialNumber;
        }
        if (!info.vendorId.isEmpty())
            entry["vendorId"] = info.vendorId;
        if (!info.productId.isEmpty())
            entry["productId"] = info.productId;
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
