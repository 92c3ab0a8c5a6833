#include "configuration.h"

namespace pelzosim {

const std::array<FieldInfo, FieldCount> &fieldTable()
{
    static const std::array<FieldInfo, FieldCount> table{{
        {Field::Callsign, "AT+CALL,", "CALLSIGN:", "NOCALL-10"},
        {Field::Passcode, "AT+PASS,", "PASS:", "27183"},
        {Field::Dhcp, "AT+DHCP,", "DHCP:", "1"},
        {Field::Ip, "AT+IP,", "IP:", "192,168,1,99"},
        {Field::Mask, "AT+SUB,", "MASK:", "255,255,255,0"},
        {Field::Gateway, "AT+GW,", "GATE:", "192,168,1,1"},
        {Field::Dns, "AT+DNS,", "DNS:", "8,8,8,8"},
        {Field::Position, "AT+POSI,", "POSITION:", "!3035.00N/11417.00ErPHG1010"},
        {Field::Comment, "AT+COMMENT,", "COMMENT TEXT:", "PELZO 144.640MHz"},
        {Field::Server, "AT+SERVER,", "SERVER:", "rotate.aprs2.net"},
        {Field::SendTime, "AT+TIME,", "SENT TIME:", "0600"},
        {Field::Filter, "AT+FILTER,", "FILTER:", "b/PELZO"},
        {Field::Backlight, "AT+BACKLIGHT,", "BACKLIGHT:", "00"},
        {Field::Frequency, "AT+FREQ,", "FREQ:", "144.6400"},
        {Field::Unit, "AT+UNIT,", "UNIT:", "1"},
        {Field::Digi, "AT+DIGI,", "DIGI:", "1"},
        {Field::Mod, "AT+MOD,", "MOD:", "3"},
        {Field::Path, "AT+PATH,", "PATH:", "1"},
        {Field::Alias, "AT+ALIAS,", "ALIAS:", "3"},
    }};
    return table;
}

Configuration Configuration::factory()
{
    Configuration configuration;
    for (const FieldInfo &info : fieldTable())
        configuration.set(info.field, info.factory);
    return configuration;
}

} // namespace pelzosim
