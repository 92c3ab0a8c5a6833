#include "settingsfile/savefile.h"

#include "core/deviceconfig.h"
#include "core/station.h"
#include "settingsfile/settingsfiletext.h"

#include <QDir>
#include <QSaveFile>

namespace pelzo {

namespace {

const QString SaveDialogTitle = QStringLiteral("Save");
const QString SaveDialogFilter = QStringLiteral("setup file(*.ini)|*.ini");
const QString Header = QStringLiteral("[PELZO]");

// The line format is made for an interval of up to 4 digits, padded with "0".
// A longer value (a typed 5-digit interval), like a callsign longer than its
// column, is written as it is: the parser reads it back unchanged.
constexpr qsizetype SendTimeWidth = 4;

QString line(const Station &station, Field field)
{
    return reportLabel(field) + station.fieldText(field);
}

QString addressLine(const Station &station, Field field)
{
    return reportLabel(field) + station.octets(field).join(QLatin1Char(','));
}

QString codedLine(const Station &station, const CodeTable &table)
{
    return reportLabel(table.field) + encode(table, station.fieldText(table.field), CodeUse::SettingsFile);
}

// The whole file, in its line order, as the window shows the fields now.
QString settingsFileText(const Station &station)
{
    const QStringList lines{
        Header,
        QString(),
        reportLabel(Field::Callsign) + callsignValue(station.fieldText(Field::Callsign), station.fieldText(Field::CallSsid)),
        line(station, Field::Passcode),
        codedLine(station, addressModeCodes()) + QLatin1Char('#'),
        addressLine(station, Field::IpAddress),
        addressLine(station, Field::SubnetMask),
        addressLine(station, Field::Gateway),
        addressLine(station, Field::DnsServer),
        line(station, Field::Position),
        line(station, Field::Comment),
        line(station, Field::Server),
        reportLabel(Field::SendTime) + station.fieldText(Field::SendTime).rightJustified(SendTimeWidth, QLatin1Char('0')),
        line(station, Field::Filter),
        reportLabel(Field::Backlight) + encodeBacklight(station.fieldText(Field::Backlight)),
        line(station, Field::Frequency),
        codedLine(station, unitCodes()),
        line(station, Field::Digi),
        line(station, Field::TxVolume),
        codedLine(station, pathCodes()),
        codedLine(station, aliasCodes()),
    };
    return lines.join(SettingsFileLineEnd) + SettingsFileLineEnd;
}

} // namespace

void saveFile(Station &station)
{
    Platform &platform = station.platform();
    const QString path = platform.getSaveFileName(
        {SaveDialogTitle, SaveDialogFilter, platform.programFolder(), station.dialogFileName, true});
    if (path.isEmpty())
        return;
    station.dialogFileName = path;

    // The lines go to a temporary file that replaces the chosen one only when
    // all of them are written: a failure leaves an earlier file as it was.
    const QByteArray bytes = toSettingsFileText(settingsFileText(station));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return;
    station.appendActivityLog(QStringLiteral("Could not save %1: %2. Any earlier file of that name is unchanged.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace pelzo
