#include "settingsfile/savefile.h"

#include "core/deviceconfig.h"
#include "core/station.h"
#include "core/textutil.h"
#include "settingsfile/settingsfiletext.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace pelzo {

namespace {

const QString SaveDialogTitle = QStringLiteral("Save");
const QString SaveDialogFilter = QStringLiteral("setup file(*.ini)|*.ini");
const QByteArray Header = "[PELZO]";

// The line format is made for an interval of up to 4 digits, padded with "0".
// A longer value (a typed 5-digit interval), like a callsign longer than its
// column, is written as it is: the parser reads it back unchanged.
constexpr qsizetype SendTimeWidth = 4;

QByteArray label(Field field)
{
    return wireNames(field).reportLabel;
}

QByteArray line(const Station &station, Field field)
{
    return label(field) + station.fieldBytes(field, toSettingsFileText);
}

QByteArray addressLine(const Station &station, Field field)
{
    return label(field) + station.octetBytes(field, toSettingsFileText);
}

QByteArray codedLine(const Station &station, const CodeTable &table)
{
    return label(table.field) + encode(table, station.fieldText(table.field), CodeUse::SettingsFile).toLatin1();
}

QByteArray sendTimeLine(const Station &station)
{
    const qsizetype zeros = std::max<qsizetype>(0, SendTimeWidth - station.fieldText(Field::SendTime).size());
    return label(Field::SendTime) + QByteArray(zeros, '0') + station.fieldBytes(Field::SendTime, toSettingsFileText);
}

QByteArray backlightLine(const Station &station)
{
    const QString shown = station.fieldText(Field::Backlight);
    return label(Field::Backlight) + (shown == BacklightOn ? encodeBacklight(shown).toLatin1()
                                                            : station.fieldBytes(Field::Backlight, toSettingsFileText));
}

// The lines go to a temporary file that replaces the chosen one only when all
// of them are written: a failure leaves an earlier file as it was.
Outcome writeSettings(Station &station, const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    const QString why = QStringLiteral("Could not save %1: %2. Any earlier file of that name is unchanged.")
                            .arg(QDir::toNativeSeparators(path), systemReason(file.errorString()));
    station.appendActivityLog(why);
    return Outcome::ended(Result::Refused, why);
}

} // namespace

QByteArray settingsFileBytes(const Station &station)
{
    const QByteArrayList lines{
        Header,
        QByteArray(),
        label(Field::Callsign) + callsignValue(station, toSettingsFileText),
        line(station, Field::Passcode),
        codedLine(station, addressModeCodes()) + '#',
        addressLine(station, Field::IpAddress),
        addressLine(station, Field::SubnetMask),
        addressLine(station, Field::Gateway),
        addressLine(station, Field::DnsServer),
        line(station, Field::Position),
        line(station, Field::Comment),
        line(station, Field::Server),
        sendTimeLine(station),
        line(station, Field::Filter),
        backlightLine(station),
        line(station, Field::Frequency),
        codedLine(station, unitCodes()),
        line(station, Field::Digi),
        line(station, Field::TxVolume),
        codedLine(station, pathCodes()),
        codedLine(station, aliasCodes()),
    };
    const QByteArray lineEnd = toSettingsFileText(SettingsFileLineEnd);
    return lines.join(lineEnd) + lineEnd;
}

Outcome saveFile(Station &station)
{
    Platform &platform = station.platform();
    const QString path = platform.getSaveFileName(
        {SaveDialogTitle, SaveDialogFilter, platform.programFolder(), station.dialogFileName, true});
    if (path.isEmpty())
        return Outcome::ended(Result::Cancelled);
    station.dialogFileName = path;
    return saveSettingsFile(station, path);
}

Outcome saveSettingsFile(Station &station, const QString &path)
{
    return writeSettings(station, path, settingsFileBytes(station));
}

Outcome saveSettingsBytes(Station &station, const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeSettings(station, path, bytes);
}

} // namespace pelzo
