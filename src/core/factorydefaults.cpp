#include "core/factorydefaults.h"

#include "core/station.h"

#include <array>

namespace pelzo {

namespace {

struct FactoryValue
{
    Field field;
    std::array<const char *, 4> values; // one per control; the address fields have four
};

// In the order the fields are set. The server is the first of its list, filled in below.
constexpr std::array factoryValues{
    FactoryValue{Field::Callsign, {"NOCALL"}},
    FactoryValue{Field::Unit, {"km"}},
    FactoryValue{Field::CallSsid, {"10"}},
    FactoryValue{Field::AddressMode, {"DHCP"}},
    FactoryValue{Field::Backlight, {"ON"}},
    FactoryValue{Field::Position, {"!3035.00N/11417.00ErPHG1010"}},
    FactoryValue{Field::Comment, {"PELZO 144.640MHz"}},
    FactoryValue{Field::Server, {nullptr}},
    FactoryValue{Field::Passcode, {"27183"}},
    FactoryValue{Field::SendTime, {"0600"}},
    FactoryValue{Field::Filter, {"b/PELZO"}},
    FactoryValue{Field::IpAddress, {"192", "168", "1", "99"}},
    FactoryValue{Field::SubnetMask, {"255", "255", "255", "0"}},
    FactoryValue{Field::Gateway, {"192", "168", "1", "1"}},
    FactoryValue{Field::DnsServer, {"8", "8", "8", "8"}},
    FactoryValue{Field::Frequency, {"144.6400"}},
    FactoryValue{Field::Ctcss, {"--"}},
    FactoryValue{Field::Digi, {"1"}},
    FactoryValue{Field::TxVolume, {"3"}},
    FactoryValue{Field::Path, {"WIDE1-1"}},
    FactoryValue{Field::Alias, {"WIDE1+WIDE2"}},
};

} // namespace

void applyFactoryDefaults(Station &station)
{
    for (const FactoryValue &value : factoryValues) {
        if (isAddressField(value.field)) {
            for (int i = 0; i < OctetsPerAddress; ++i)
                station.setOctet(value.field, i, QString::fromLatin1(value.values[std::size_t(i)]));
        } else if (value.field == Field::Server) {
            station.setFieldText(Field::Server, choices(Field::Server).constFirst());
        } else {
            station.setFieldText(value.field, QString::fromUtf8(value.values[0]));
        }
    }
    station.setButtonEnabled(Button::WriteData, true);
}

} // namespace pelzo
