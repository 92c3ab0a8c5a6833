#include "ui/explanations.h"

#include "ui/controltable.h"
#include "ui/form1.h"

#include <array>

namespace pelzo {

namespace {

using N = ControlName;

struct Explanation
{
    ControlName control; // the first box stands for all four of an address
    const char *text; // %1: the field's typing limit
};

constexpr std::array explanations{
    Explanation{N::Text4, "Callsign of the station, at most %1 letters and digits, without the SSID; for example N0CALL. "
                          "Small letters become capitals."},
    Explanation{N::Combo5, "SSID, the number after the callsign's dash: 0 to 15; for example 10 for an internet gateway."},
    Explanation{N::Text5, "APRS-IS passcode computed from the callsign, up to %1 digits; for example 12345. "
                          "-1 means receive-only on APRS-IS (paste it: the box takes only digits as you type)."},
    Explanation{N::Text8, "Position and map symbol as an APRS position report, at most %1 characters: !, latitude "
                          "ddmm.mmN, symbol table, longitude dddmm.mmE, symbol, an optional PHG extension; "
                          "for example !3035.00N/11417.00ErPHG1010."},
    Explanation{N::Text7, "Status text sent with each beacon, at most %1 characters; for example PELZO 144.640MHz."},
    Explanation{N::Combo3, "APRS-IS server the station logs in to: pick one or type a host name, "
                           "for example rotate.aprs2.net."},
    Explanation{N::Text10, "Beacon interval in seconds, up to %1 digits; for example 0600, every 10 minutes."},
    Explanation{N::Text11, "APRS-IS server filter, at most %1 characters: r/lat/lon/km for a range around a point "
                           "(r/30.6/114.3/50), b/CALL for one station (b/PELZO), m/km around the station (m/50)."},
    Explanation{N::Combo2, "How the station gets its network address: DHCP from the router, or STATIC IP from the "
                           "four rows below. Picking STATIC IP unlocks them, DHCP locks them."},
    Explanation{N::Text13, "Static IP address of the station, a number from 0 to 255 in each of the four boxes; "
                           "for example 192.168.1.99. Used with STATIC IP only."},
    Explanation{N::Text17, "Subnet mask, a number from 0 to 255 in each of the four boxes; for example 255.255.255.0. "
                           "Used with STATIC IP only."},
    Explanation{N::Text21, "Gateway (router) address, a number from 0 to 255 in each of the four boxes; "
                           "for example 192.168.1.1. Used with STATIC IP only."},
    Explanation{N::Text25, "DNS server address, a number from 0 to 255 in each of the four boxes; for example 8.8.8.8. "
                           "Used with STATIC IP only."},
    Explanation{N::Combo16, "Display backlight: ON keeps it lit; a number from the list (05 to 90) lights it for that long."},
    Explanation{N::Combo4, "Unit the display shows distances in: km or mi (公里 is km in Chinese)."},
    Explanation{N::Text31, "Radio frequency in MHz for sending and receiving, up to %1 characters with a dot; "
                           "for example 144.6400."},
    Explanation{N::Text32, "CTCSS tone. The PELZO does not use it, so the box stays locked."},
    Explanation{N::Check1, "Digipeater: ticked, the station repeats the packets it hears that ask for its alias."},
    Explanation{N::Combo6, "Transmit audio level, 1 (lowest) to 5 (highest); for example 3."},
    Explanation{N::Combo7, "Digipeater path of the station's own beacons: None, WIDE1-1, WIDE1-1WIDE2-1 or WIDE1-1WIDE2-2."},
    Explanation{N::Combo8, "Aliases the digipeater answers to: WIDE1, WIDE2 or WIDE1+WIDE2."},
    Explanation{N::Text34, "Name of the Wi-Fi network the station joins, at most %1 characters; Apply sends it."},
    Explanation{N::Text33, "Password of that Wi-Fi network, at most %1 characters, shown in clear; Apply sends it."},
    Explanation{N::Text29, "Messages of every action, the newest at the end."},
    Explanation{N::Text3, "How the last connection test ended."},
    Explanation{N::Text12, "Version of this program."},
    Explanation{N::Text6, "Firmware version the station reported at the last Read data."},
    Explanation{N::Combo1, "Serial port the PELZO is plugged into; opening the list looks for new ports."},
    Explanation{N::Command6, "Reads the station's configuration into the window; restart the PELZO when asked. "
                             "A second press cancels."},
    Explanation{N::Command7, "Sends every field to the station and waits up to 8 seconds for its confirmation."},
    Explanation{N::Command0, "Fills in the factory configuration; Write data then sends it."},
    Explanation{N::Command4, "Fills the fields from a settings file (.ini)."},
    Explanation{N::Command5, "Keeps the window's configuration in a settings file (.ini)."},
    Explanation{N::Command1, "Chooses the firmware image (.bin, under 512 KiB) that update sends."},
    Explanation{N::Command2, "Replaces the station's firmware with the image Open ROM chose. "
                             "Do not remove power until the buttons work again."},
    Explanation{N::Command8, "Sends the Wi-Fi network name and password, then restarts the station."},
    Explanation{N::Command9, "Restarts the station without changing anything."},
    Explanation{N::ProgressBar1, "How much of the firmware image the station has received."},
};

// Tooltips are not wrapped by Qt: a long line would run off the screen.
constexpr qsizetype TipLineCharacters = 64;

QString wrapped(const QString &text)
{
    QStringList lines{QString()};
    for (const QString &word : text.split(QLatin1Char(' '))) {
        if (!lines.last().isEmpty() && lines.last().size() + 1 + word.size() > TipLineCharacters)
            lines << QString();
        lines.last() += (lines.last().isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void explainControls(Form1 &form)
{
    for (const Explanation &explanation : explanations) {
        const ControlRow &row = rowOf(explanation.control);
        QString text = QString::fromUtf8(explanation.text);
        if (text.contains(QLatin1String("%1")))
            text = text.arg(row.typingLimit);
        text = wrapped(text);
        if (row.field && isAddressField(*row.field)) {
            for (const ControlName box : controlsOf(*row.field))
                form.tips().set(form.widget(box), TipPart::Explanation, text);
        } else {
            form.tips().set(form.widget(row.name), TipPart::Explanation, text);
        }
    }
}

} // namespace pelzo
