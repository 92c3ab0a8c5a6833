#include "settingsfile/savefile.h"

#include "core/deviceconfig.h"
#include "settingsfile/settingsfiletext.h"
#include "ui/form1.h"

#include <QDir>
#include <QSaveFile>

namespace pelzo {

namespace {

const QString SaveDialogTitle = QStringLiteral("Save");
const QString SaveDialogFilter = QStringLiteral("setup file(*.ini)|*.ini");
const QString Header = QStringLiteral("[PELZO]");

// The line format is made for a callsign of up to 6 characters, padded with
// blanks, and an interval of up to 4 digits, padded with "0". Longer values
// (a callsign from a device or file, a typed 5-digit interval) are written as
// they are: the parser reads them back unchanged.
constexpr qsizetype CallsignWidth = 6;
constexpr qsizetype SendTimeWidth = 4;

QString label(Field field)
{
    return QString::fromLatin1(wireNames(field).reportLabel);
}

QString line(const Form1 &form, Field field)
{
    return label(field) + form.fieldText(field);
}

QString addressLine(const Form1 &form, Field field)
{
    return label(field) + form.octets(field).join(QLatin1Char(','));
}

QString codedLine(const Form1 &form, const CodeTable &table)
{
    return label(table.field) + encode(table, form.fieldText(table.field), CodeUse::SettingsFile);
}

// The whole file, in its line order, as the window shows the fields now.
QString settingsFileText(const Form1 &form)
{
    const QStringList lines{
        Header,
        QString(),
        label(Field::Callsign) + form.fieldText(Field::Callsign).leftJustified(CallsignWidth, QLatin1Char(' ')) +
            QLatin1Char('-') + form.fieldText(Field::CallSsid),
        line(form, Field::Passcode),
        codedLine(form, addressModeCodes()) + QLatin1Char('#'),
        addressLine(form, Field::IpAddress),
        addressLine(form, Field::SubnetMask),
        addressLine(form, Field::Gateway),
        addressLine(form, Field::DnsServer),
        line(form, Field::Position),
        line(form, Field::Comment),
        line(form, Field::Server),
        label(Field::SendTime) + form.fieldText(Field::SendTime).rightJustified(SendTimeWidth, QLatin1Char('0')),
        line(form, Field::Filter),
        label(Field::Backlight) + encodeBacklight(form.fieldText(Field::Backlight)),
        line(form, Field::Frequency),
        codedLine(form, unitCodes()),
        line(form, Field::Digi),
        line(form, Field::TxVolume),
        codedLine(form, pathCodes()),
        codedLine(form, aliasCodes()),
    };
    return lines.join(SettingsFileLineEnd) + SettingsFileLineEnd;
}

} // namespace

void saveFile(Form1 &form)
{
    Platform &platform = form.platform();
    const QString path = platform.getSaveFileName(
        {SaveDialogTitle, SaveDialogFilter, platform.programFolder(), form.dialogFileName, true});
    if (path.isEmpty())
        return;
    form.dialogFileName = path;

    // The lines go to a temporary file that replaces the chosen one only when
    // all of them are written: a failure leaves an earlier file as it was.
    const QByteArray bytes = toSettingsFileText(settingsFileText(form));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return;
    form.appendActivityLog(QStringLiteral("Could not save %1: %2. Any earlier file of that name is unchanged.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
}

} // namespace pelzo
