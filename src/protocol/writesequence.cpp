#include "protocol/writesequence.h"

#include "core/station.h"
#include "protocol/devicecommands.h"

#include <array>

namespace pelzo {

namespace {

constexpr int OnePace = 1;
// After the last address the device needs one pace more before the next command.
constexpr int AfterAddresses = 2;
// The alias and frequency commands go out back to back; the frequency
// command's leading line end keeps them apart.
constexpr int NoPace = 0;

QString callsign(const Station &station)
{
    return callsignValue(station.fieldText(Field::Callsign), station.fieldText(Field::CallSsid));
}

template <Field F>
QString plain(const Station &station)
{
    return station.fieldText(F);
}

template <Field F>
QString address(const Station &station)
{
    return station.octets(F).join(QLatin1Char(','));
}

QString addressMode(const Station &station)
{
    return encode(addressModeCodes(), station.fieldText(Field::AddressMode), CodeUse::Command);
}

QString backlight(const Station &station)
{
    return encodeBacklight(station.fieldText(Field::Backlight));
}

template <const CodeTable &(*Table)()>
QString coded(const Station &station)
{
    return encode(Table(), station.fieldText(Table().field), CodeUse::Command);
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
           + CommandEnd;
}

} // namespace pelzo
