#include "settingsfile/settingsvalues.h"

#include "core/textcodec.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>

namespace pelzo {

SettingsValues settingsValues(const QByteArray &fileBytes)
{
    SettingsValues lines;
    for (const QByteArray &line : fileBytes.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        const qsizetype colon = trimmed.indexOf(':');
        if (colon > 0)
            lines[QString::fromLatin1(trimmed.left(colon))] = trimmed.mid(colon + 1);
    }
    return lines;
}

QString fieldLabel(Field field)
{
    return QString::fromLatin1(wireNames(field).reportLabel).chopped(1);
}

QStringList differingFields(const QList<Field> &fields, const SettingsValues &written, const SettingsValues &found)
{
    const auto shown = [](const SettingsValues &values, const QString &label) {
        const auto it = values.find(label);
        return it == values.end() ? QString() : decodeArrived(it->second, settingsFileFallback());
    };
    QStringList differing;
    for (const Field field : fields) {
        const QString label = fieldLabel(field);
        if (shown(written, label) != shown(found, label))
            differing << QStringLiteral("%1: wrote %2, the station holds %3")
                             .arg(label, shown(written, label), shown(found, label));
    }
    return differing;
}

QString backupPath(const QString &programFolder, const QByteArray &fileBytes)
{
    QString callsign = decodeArrived(settingsValues(fileBytes)[fieldLabel(Field::Callsign)], settingsFileFallback());
    callsign.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9-]")));
    if (callsign.isEmpty() || callsign == QLatin1String("-"))
        callsign = QStringLiteral("station");
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QDir(programFolder).filePath(QStringLiteral("backups/%1-%2.ini").arg(callsign, stamp));
}

} // namespace pelzo
