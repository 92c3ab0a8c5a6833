#include "protocol/writesequence.h"

#include "ui/form1.h"

#include <array>

namespace pelzo {

namespace {

constexpr int OnePace = 1;
// After the last address the device needs one pace more before the next command.
constexpr int AfterAddresses = 2;
// The alias and frequency commands go out back to back; the frequency
// command's leading line end keeps them apart.
constexpr int NoPace = 0;

// The device reads the callsign from a 6-character column.
constexpr qsizetype CallsignColumn = 6;

QString callsign(const Form1 &form)
{
    // A longer callsign goes out whole rather than not at all.
    return form.fieldText(Field::Callsign).leftJustified(CallsignColumn, QLatin1Char(' ')) + QLatin1Char('-')
           + form.fieldText(Field::CallSsid);
}

template <Field F>
QString plain(const Form1 &form)
{
    return form.fieldText(F);
}

template <Field F>
QString address(const Form1 &form)
{
    return form.octets(F).join(QLatin1Char(','));
}

QString addressMode(const Form1 &form)
{
    return encode(addressModeCodes(), form.fieldText(Field::AddressMode), CodeUse::Command);
}

QString backlight(const Form1 &form)
{
    return encodeBacklight(form.fieldText(Field::Backlight));
}

template <const CodeTable &(*Table)()>
QString coded(const Form1 &form)
{
    return encode(Table(), form.fieldText(Table().field), CodeUse::Command);
}

constexpr std::array sequence{
    WriteCommand{Field::Callsign, callsign, OnePace},
    WriteCommand{Field::Passcode, plain<Field::Passcode>, OnePace},
    WriteCommand{Field::AddressMode, addressMode, OnePace},
    WriteCommand{Field::IpAddress, address<Field::IpAddress>, OnePace, SentWhen::StaticAddress},
    WriteCommand{Field::SubnetMask, address<Field::SubnetMask>, OnePace, SentWhen::StaticAddress},
    WriteCommand{Field::Gateway, address<Field::Gateway>, OnePace, SentWhen::StaticAddress},
    WriteCommand{Field::DnsServer, address<Field::DnsServer>, AfterAddresses, SentWhen::StaticAddress},
    WriteCommand{Field::Position, plain<Field::Position>, OnePace},
    WriteCommand{Field::Comment, plain<Field::Comment>, OnePace},
    WriteCommand{Field::Server, plain<Field::Server>, OnePace},
    WriteCommand{Field::SendTime, plain<Field::SendTime>, OnePace},
    WriteCommand{Field::Filter, plain<Field::Filter>, OnePace},
    WriteCommand{Field::Backlight, backlight, OnePace},
    WriteCommand{Field::Unit, coded<unitCodes>, OnePace},
    WriteCommand{Field::Digi, plain<Field::Digi>, OnePace},
    WriteCommand{Field::TxVolume, plain<Field::TxVolume>, OnePace},
    WriteCommand{Field::Path, coded<pathCodes>, OnePace},
    WriteCommand{Field::Alias, coded<aliasCodes>, NoPace},
    WriteCommand{Field::Frequency, plain<Field::Frequency>, OnePace, SentWhen::Always, "\r\n"},
};

} // namespace

std::span<const WriteCommand> writeSequence()
{
    return sequence;
}

QString commandText(const WriteCommand &command, const QString &value)
{
    return QString::fromLatin1(command.before) + QString::fromLatin1(wireNames(command.field).commandKeyword) + value
           + QStringLiteral("#\r\n");
}

QString staticAddressCode()
{
    return encode(addressModeCodes(), StaticIp, CodeUse::Command);
}

} // namespace pelzo
