#include "ui/fieldcontrols.h"

#include <array>

namespace pelzo {

namespace {

constexpr std::array<const char *, 16> octetBoxes{"Text13", "Text14", "Text15", "Text16", "Text17", "Text18",
                                                  "Text19", "Text20", "Text21", "Text22", "Text23", "Text24",
                                                  "Text25", "Text26", "Text27", "Text28"};

template <std::size_t N>
using Names = std::array<const char *, N>;

constexpr Names<1> callsign{"Text4"}, callSsid{"Combo5"}, passcode{"Text5"}, addressMode{"Combo2"},
    position{"Text8"}, comment{"Text7"}, server{"Combo3"}, sendTime{"Text10"}, filter{"Text11"},
    backlight{"Combo16"}, unit{"Combo4"}, digi{"Check1"}, txVolume{"Combo6"}, path{"Combo7"}, alias{"Combo8"},
    frequency{"Text31"}, ctcss{"Text32"}, deviceVersion{"Text6"}, wifiSsid{"Text34"}, wifiPassword{"Text33"};

const std::array table{
    FieldControls{Field::Callsign, callsign},
    FieldControls{Field::CallSsid, callSsid},
    FieldControls{Field::Passcode, passcode},
    FieldControls{Field::AddressMode, addressMode},
    FieldControls{Field::IpAddress, std::span(octetBoxes).subspan(0, 4)},
    FieldControls{Field::SubnetMask, std::span(octetBoxes).subspan(4, 4)},
    FieldControls{Field::Gateway, std::span(octetBoxes).subspan(8, 4)},
    FieldControls{Field::DnsServer, std::span(octetBoxes).subspan(12, 4)},
    FieldControls{Field::Position, position},
    FieldControls{Field::Comment, comment},
    FieldControls{Field::Server, server},
    FieldControls{Field::SendTime, sendTime},
    FieldControls{Field::Filter, filter},
    FieldControls{Field::Backlight, backlight},
    FieldControls{Field::Unit, unit},
    FieldControls{Field::Digi, digi},
    FieldControls{Field::TxVolume, txVolume},
    FieldControls{Field::Path, path},
    FieldControls{Field::Alias, alias},
    FieldControls{Field::Frequency, frequency},
    FieldControls{Field::Ctcss, ctcss},
    FieldControls{Field::DeviceVersion, deviceVersion},
    FieldControls{Field::WifiSsid, wifiSsid},
    FieldControls{Field::WifiPassword, wifiPassword},
};

} // namespace

std::span<const FieldControls> fieldControls()
{
    return table;
}

std::span<const char *const> controlsOf(Field field)
{
    return table[std::size_t(field)].controls;
}

std::span<const char *const> octetBoxNames()
{
    return octetBoxes;
}

} // namespace pelzo
