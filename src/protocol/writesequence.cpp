#include "protocol/writesequence.h"

#include "core/station.h"
#include "core/textcodec.h"
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

QByteArray callsign(const Station &station)
{
    return callsignValue(station, toWire);
}

template <Field F>
QByteArray plain(const Station &station)
{
    return station.fieldBytes(F, toWire);
}

template <Field F>
QByteArray address(const Station &station)
{
    return station.octetBytes(F, toWire);
}

QByteArray addressMode(const Station &station)
{
    return encode(addressModeCodes(), station.fieldText(Field::AddressMode), CodeUse::Command).toLatin1();
}

QByteArray backlight(const Station &station)
{
    const QString shown = station.fieldText(Field::Backlight);
    return shown == BacklightOn ? encodeBacklight(shown).toLatin1() : station.fieldBytes(Field::Backlight, toWire);
}

template <const CodeTable &(*Table)()>
QByteArray coded(const Station &station)
{
    return encode(Table(), station.fieldText(Table().field), CodeUse::Command).toLatin1();
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

QByteArray commandText(const WriteCommand &command, const QByteArray &value)
{
    return QByteArray(command.before) + wireNames(command.field).commandKeyword + value + CommandEnd.toLatin1();
}

} // namespace pelzo
