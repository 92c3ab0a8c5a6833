#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace pelzo {

// The fields of the station's configuration, in the order a write sends them,
// followed by the fields that take no part in the exchange.
enum class Field {
    Callsign,
    CallSsid,
    Passcode,
    AddressMode,
    IpAddress,
    SubnetMask,
    Gateway,
    DnsServer,
    Position,
    Comment,
    Server,
    SendTime,
    Filter,
    Backlight,
    Unit,
    Digi,
    TxVolume,
    Path,
    Alias,
    Frequency,
    Ctcss,
    DeviceVersion,
    WifiSsid,
    WifiPassword,
};

// How a field travels: the write command's keyword, the report and
// settings-file label, and the beginning by which the parser knows its line
// (the label itself unless the device's own firmware looks at less of it).
// A value is cut from the character after the whole label.
struct FieldWireNames
{
    Field field;
    const char *commandKeyword; // "AT+PASS,"; empty when the field is never written
    const char *reportLabel;    // "PASS:"; empty when the field is never reported
    const char *recognisedBy = nullptr;
};
std::span<const FieldWireNames> fieldWireNames();
const FieldWireNames &wireNames(Field field);
QString reportLabel(Field field);
// Where the value of the field's report line begins, counting characters from 1.
qsizetype valuePosition(Field field);
// The beginning the parser recognises the field's line by.
const char *lineBeginning(Field field);

bool isAddressField(Field field);
constexpr int OctetsPerAddress = 4;

// The device reads the callsign from a column of this many characters,
// padded with blanks, in a write as in a settings file.
constexpr qsizetype CallsignColumn = 6;

// A shown text and the code that stands for it on the wire and in files.
struct CodeEntry
{
    const char *shown; // UTF-8
    const char *code;
};

struct CodeTable
{
    Field field;
    std::span<const CodeEntry> entries; // also the field's choice list, in this order
    const char *commandFallback;        // code a write sends for any other text
    const char *fileFallback;           // code the settings file holds for any other text
};

const CodeTable &unitCodes();
const CodeTable &pathCodes();
const CodeTable &aliasCodes();
const CodeTable &addressModeCodes();

enum class CodeUse { Command, SettingsFile };
QString encode(const CodeTable &table, const QString &shown, CodeUse use);
// The shown text for a code, or nothing when the code is not in the table.
std::optional<QString> decode(const CodeTable &table, QStringView code);

// The backlight travels as its text, except that "ON" is "00" (and "0" reads back as "ON").
QString encodeBacklight(const QString &shown);
QString decodeBacklight(const QString &value);

inline const QString StaticIp = QStringLiteral("STATIC IP");
inline const QString Dhcp = QStringLiteral("DHCP");
inline const QString BacklightOn = QStringLiteral("ON");

// The address-mode code that selects the static branch of a write.
QString staticAddressCode();

// The drop-down lists, in the order start-up fills them.
struct ChoiceList
{
    Field field;
    QStringList items;
};
const QList<ChoiceList> &choiceLists();
QStringList choices(Field field);

} // namespace pelzo
