#include "core/deviceconfig.h"

#include <QLatin1String>

#include <array>
#include <cstring>

namespace pelzo {

namespace {

constexpr std::array wireNameTable{
    FieldWireNames{Field::Callsign, "AT+CALL,", "CALLSIGN:", "CALLSIGN"},
    FieldWireNames{Field::CallSsid, "", ""},
    FieldWireNames{Field::Passcode, "AT+PASS,", "PASS:"},
    FieldWireNames{Field::AddressMode, "AT+DHCP,", "DHCP:"},
    FieldWireNames{Field::IpAddress, "AT+IP,", "IP:"},
    FieldWireNames{Field::SubnetMask, "AT+SUB,", "MASK:"},
    FieldWireNames{Field::Gateway, "AT+GW,", "GATE:"},
    FieldWireNames{Field::DnsServer, "AT+DNS,", "DNS:"},
    FieldWireNames{Field::Position, "AT+POSI,", "POSITION:", "POSITION"},
    FieldWireNames{Field::Comment, "AT+COMMENT,", "COMMENT TEXT:", "COMMENT"},
    FieldWireNames{Field::Server, "AT+SERVER,", "SERVER:", "SERVER"},
    FieldWireNames{Field::SendTime, "AT+TIME,", "SENT TIME:", "SENT TIME"},
    FieldWireNames{Field::Filter, "AT+FILTER,", "FILTER:", "FILTER"},
    FieldWireNames{Field::Backlight, "AT+BACKLIGHT,", "BACKLIGHT:"},
    FieldWireNames{Field::Unit, "AT+UNIT,", "UNIT:"},
    FieldWireNames{Field::Digi, "AT+DIGI,", "DIGI:"},
    FieldWireNames{Field::TxVolume, "AT+MOD,", "MOD:"},
    FieldWireNames{Field::Path, "AT+PATH,", "PATH:"},
    FieldWireNames{Field::Alias, "AT+ALIAS,", "ALIAS:"},
    FieldWireNames{Field::Frequency, "AT+FREQ,", "FREQ:"},
    FieldWireNames{Field::Ctcss, "", ""},
    FieldWireNames{Field::DeviceVersion, "", "VER:"},
    FieldWireNames{Field::WifiSsid, "", ""},
    FieldWireNames{Field::WifiPassword, "", ""},
};

// The lists show the entries in this order.
constexpr std::array unitEntries{CodeEntry{"km", "1"}, CodeEntry{"mi", "2"}, CodeEntry{"公里", "3"}};
constexpr std::array pathEntries{CodeEntry{"None", "0"}, CodeEntry{"WIDE1-1", "1"},
                                 CodeEntry{"WIDE1-1WIDE2-1", "2"}, CodeEntry{"WIDE1-1WIDE2-2", "3"}};
constexpr std::array aliasEntries{CodeEntry{"WIDE1", "1"}, CodeEntry{"WIDE2", "2"},
                                  CodeEntry{"WIDE1+WIDE2", "3"}};
constexpr std::array addressModeEntries{CodeEntry{"DHCP", "1"}, CodeEntry{"STATIC IP", "0"}};

// The write falls back to "mi" for an unknown unit while the settings file falls back to "km".
const CodeTable unitTable{Field::Unit, unitEntries, "2", "1"};
const CodeTable pathTable{Field::Path, pathEntries, "1", "1"};
const CodeTable aliasTable{Field::Alias, aliasEntries, "3", "3"};
const CodeTable addressModeTable{Field::AddressMode, addressModeEntries, "1", "1"};

QStringList numbers(int from, int to)
{
    QStringList items;
    for (int n = from; n <= to; ++n)
        items << QString::number(n);
    return items;
}

QStringList shownTexts(const CodeTable &table)
{
    QStringList items;
    for (const CodeEntry &entry : table.entries)
        items << QString::fromUtf8(entry.shown);
    return items;
}

} // namespace

std::span<const FieldWireNames> fieldWireNames()
{
    return wireNameTable;
}

const FieldWireNames &wireNames(Field field)
{
    return wireNameTable[std::size_t(field)];
}

QString reportLabel(Field field)
{
    return QString::fromLatin1(wireNames(field).reportLabel);
}

qsizetype valuePosition(Field field)
{
    return qsizetype(std::strlen(wireNames(field).reportLabel)) + 1;
}

const char *lineBeginning(Field field)
{
    const FieldWireNames &names = wireNames(field);
    return names.recognisedBy ? names.recognisedBy : names.reportLabel;
}

bool isAddressField(Field field)
{
    return field == Field::IpAddress || field == Field::SubnetMask || field == Field::Gateway ||
           field == Field::DnsServer;
}

const CodeTable &unitCodes() { return unitTable; }
const CodeTable &pathCodes() { return pathTable; }
const CodeTable &aliasCodes() { return aliasTable; }
const CodeTable &addressModeCodes() { return addressModeTable; }

QString encode(const CodeTable &table, const QString &shown, CodeUse use)
{
    for (const CodeEntry &entry : table.entries) {
        if (shown == QString::fromUtf8(entry.shown))
            return QString::fromLatin1(entry.code);
    }
    return QString::fromLatin1(use == CodeUse::Command ? table.commandFallback : table.fileFallback);
}

std::optional<QString> decode(const CodeTable &table, QStringView code)
{
    for (const CodeEntry &entry : table.entries) {
        if (code == QLatin1String(entry.code))
            return QString::fromUtf8(entry.shown);
    }
    return std::nullopt;
}

QString encodeBacklight(const QString &shown)
{
    return shown == BacklightOn ? QStringLiteral("00") : shown;
}

QString decodeBacklight(const QString &value)
{
    return value == QLatin1String("0") || value == QLatin1String("00") ? BacklightOn : value;
}

QString staticAddressCode()
{
    return encode(addressModeCodes(), StaticIp, CodeUse::Command);
}

const QList<ChoiceList> &choiceLists()
{
    static const QList<ChoiceList> lists{
        {Field::AddressMode, shownTexts(addressModeTable)},
        {Field::CallSsid, numbers(0, 15)},
        // Three regional APRS-IS rotations, and a server on the station's own network.
        {Field::Server, {QStringLiteral("asia.aprs2.net"), QStringLiteral("euro.aprs2.net"),
                         QStringLiteral("noam.aprs2.net"), QStringLiteral("192.168.1.10")}},
        {Field::Unit, shownTexts(unitTable)},
        {Field::TxVolume, numbers(1, 5)},
        {Field::Path, shownTexts(pathTable)},
        {Field::Alias, shownTexts(aliasTable)},
        {Field::Backlight, {BacklightOn, QStringLiteral("05"), QStringLiteral("10"), QStringLiteral("20"),
                            QStringLiteral("30"), QStringLiteral("60"), QStringLiteral("90")}},
    };
    return lists;
}

QStringList choices(Field field)
{
    for (const ChoiceList &list : choiceLists()) {
        if (list.field == field)
            return list.items;
    }
    return {};
}

} // namespace pelzo
