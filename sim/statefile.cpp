#include "statefile.h"

#include <QFile>
#include <QSaveFile>

namespace pelzosim::statefile {

namespace {

const QByteArray kHeader = "# pelzo-sim device state";
const QByteArray kWifiSsidLabel = "WIFI SSID:";
const QByteArray kWifiPasswordLabel = "WIFI PASS:";

} // namespace

QByteArray serialize(const Configuration &configuration)
{
    QByteArray text = kHeader + '\n';
    for (const FieldInfo &info : fieldTable())
        text += info.label + configuration.value(info.field) + '\n';
    text += kWifiSsidLabel + configuration.wifiSsid + '\n';
    text += kWifiPasswordLabel + configuration.wifiPassword + '\n';
    return text;
}

Configuration parse(const QByteArray &text)
{
    Configuration configuration = Configuration::factory();
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray label = line.left(colon + 1);
        const QByteArray value = line.mid(colon + 1);
        if (label == kWifiSsidLabel)
            configuration.wifiSsid = value;
        else if (label == kWifiPasswordLabel)
            configuration.wifiPassword = value;
        for (const FieldInfo &info : fieldTable()) {
            if (label == info.label)
                configuration.set(info.field, value);
        }
    }
    return configuration;
}

bool save(const QString &path, const Configuration &configuration, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(serialize(configuration)) < 0 || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

std::optional<Configuration> load(const QString &path, QString *error)
{
    error->clear();
    QFile file(path);
    if (!file.exists())
        return std::nullopt;
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    return parse(file.readAll());
}

} // namespace pelzosim::statefile
