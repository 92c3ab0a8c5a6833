#include "ui/controltable.h"

#include "firmware/progresstext.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace pelzo {

namespace {

using K = ControlKind;
using N = ControlName;

constexpr std::array table{
    ControlRow{N::Frame1, K::Frame, {}, "", 0, 0, 7815, 7575, 0},
    ControlRow{N::Label3, K::Label, N::Frame1, "PELZO APRS Config", 2640, 240, 3375, 375, 5},
    ControlRow{N::Label4, K::Label, N::Frame1, "Callsign", 360, 920, 975, 255, 8},
    ControlRow{N::Text4, K::TextBox, N::Frame1, "", 1440, 840, 795, 300, 6, 6, Field::Callsign, N::Label4},
    ControlRow{N::Label9, K::Label, N::Frame1, "-", 2280, 870, 135, 135, 9},
    ControlRow{N::Combo5, K::ComboBox, N::Frame1, "", 2400, 840, 615, 300, 7, 0, Field::CallSsid, {}, false, "SSID"},
    ControlRow{N::Label1, K::Label, N::Frame1, "Pass", 3120, 900, 735, 255, 18},
    ControlRow{N::Text5, K::TextBox, N::Frame1, "", 3480, 840, 735, 300, 17, 5, Field::Passcode, N::Label1},
    ControlRow{N::Label6, K::Label, N::Frame1, "Comment", 360, 1300, 1095, 255, 20},
    ControlRow{N::Text8, K::TextBox, N::Frame1, "", 1440, 1260, 2775, 300, 19, 61, Field::Position, N::Label6},
    ControlRow{N::Label11, K::Label, N::Frame1, "Status", 360, 1710, 855, 375, 11},
    ControlRow{N::Text7, K::TextBox, N::Frame1, "", 1440, 1680, 2745, 300, 10, 40, Field::Comment, N::Label11},
    ControlRow{N::Label7, K::Label, N::Frame1, "Server", 360, 2200, 1095, 255, 21},
    ControlRow{N::Combo3, K::ComboBox, N::Frame1, "", 1440, 2100, 2775, 300, 56, 0, Field::Server, N::Label7},
    ControlRow{N::Label8, K::Label, N::Frame1, "Tx time", 360, 2620, 735, 255, 23},
    ControlRow{N::Text10, K::TextBox, N::Frame1, "", 1440, 2540, 735, 300, 22, 5, Field::SendTime, N::Label8},
    ControlRow{N::Label10, K::Label, N::Frame1, "Filter", 360, 3000, 735, 255, 25},
    ControlRow{N::Text11, K::TextBox, N::Frame1, "", 1440, 2940, 1695, 300, 24, 16, Field::Filter, N::Label10},
    ControlRow{N::Frame2, K::Frame, N::Frame1, "", 360, 3360, 3375, 2100, 26},
    ControlRow{N::Frame5, K::Frame, N::Frame1, "Setup", 4320, 720, 3255, 615, 66},
    ControlRow{N::Frame4, K::Frame, N::Frame1, "RF RADIO", 4320, 1320, 3255, 1335, 60},
    ControlRow{N::Frame6, K::Frame, N::Frame1, "WIFI user/password", 3720, 2640, 3855, 735, 71},
    ControlRow{N::Text29, K::MultiLineText, N::Frame1, "", 4080, 3480, 3495, 1935, 54, 0, {}, {}, false, "Activity log"},
    ControlRow{N::Frame3, K::Frame, N::Frame1, "Vers", 4080, 5520, 2175, 975, 48},
    ControlRow{N::Text12, K::TextBox, N::Frame1, "Config 20160728", 4200, 5760, 1935, 270, 49, 0, {}, {}, false, "Program version"},
    ControlRow{N::Combo1, K::ComboBox, N::Frame1, "Combo1", 240, 5660, 1215, 300, 28, 0, {}, {}, false, "Serial port"},
    ControlRow{N::Command6, K::Button, N::Frame1, "Read data", 1560, 5640, 1215, 375, 15},
    ControlRow{N::Command4, K::Button, N::Frame1, "Load file", 2820, 5640, 1215, 375, 13},
    ControlRow{N::Command1, K::Button, N::Frame1, "Open ROM", 6360, 5640, 1215, 375, 51},
    ControlRow{N::Command0, K::Button, N::Frame1, "Default", 240, 6120, 1215, 375, 14},
    ControlRow{N::Command7, K::Button, N::Frame1, "Write data", 1560, 6120, 1215, 375, 16},
    ControlRow{N::Command5, K::Button, N::Frame1, "Save file", 2820, 6120, 1215, 375, 12},
    ControlRow{N::Command2, K::Button, N::Frame1, "update", 6360, 6120, 1215, 375, 52},
    ControlRow{N::ProgressBar1, K::ProgressBar, N::Frame1, "", 120, 6600, 7455, 375, 50, 0, {}, {}, false, "Update progress"},
    ControlRow{N::Label22, K::Label, N::Frame1, "If change setup then please restart ", 2520, 7200, 3495, 255, 77},
    ControlRow{N::Command9, K::Button, N::Frame1, "restart", 6360, 7100, 1215, 375, 78},
    ControlRow{N::Text3, K::TextBox, {}, "0/10", 240, 6960, 975, 255, -1, 0, {}, {}, false, "Connection status"},

    ControlRow{N::Label5, K::Label, N::Frame2, "DHCP", 120, 300, 975, 255, 59},
    ControlRow{N::Combo2, K::ComboBox, N::Frame2, "", 1080, 200, 1215, 300, 58, 0, Field::AddressMode, N::Label5},
    ControlRow{N::Label12, K::Label, N::Frame2, "IP", 120, 675, 735, 255, 44},
    ControlRow{N::Text13, K::TextBox, N::Frame2, "", 1080, 600, 375, 300, 27, 0, Field::IpAddress, N::Label12},
    ControlRow{N::Text14, K::TextBox, N::Frame2, "", 1680, 600, 375, 300, 29, 0, Field::IpAddress, N::Label12},
    ControlRow{N::Text15, K::TextBox, N::Frame2, "", 2280, 600, 375, 300, 30, 0, Field::IpAddress, N::Label12},
    ControlRow{N::Text16, K::TextBox, N::Frame2, "", 2880, 600, 375, 300, 31, 0, Field::IpAddress, N::Label12},
    ControlRow{N::Label13, K::Label, N::Frame2, "Mask", 120, 1035, 735, 255, 45},
    ControlRow{N::Text17, K::TextBox, N::Frame2, "", 1080, 960, 375, 300, 32, 0, Field::SubnetMask, N::Label13},
    ControlRow{N::Text18, K::TextBox, N::Frame2, "", 1680, 960, 375, 300, 33, 0, Field::SubnetMask, N::Label13},
    ControlRow{N::Text19, K::TextBox, N::Frame2, "", 2280, 960, 375, 300, 34, 0, Field::SubnetMask, N::Label13},
    ControlRow{N::Text20, K::TextBox, N::Frame2, "", 2880, 960, 375, 300, 35, 0, Field::SubnetMask, N::Label13},
    ControlRow{N::Label14, K::Label, N::Frame2, "Gate", 120, 1380, 735, 255, 46},
    ControlRow{N::Text21, K::TextBox, N::Frame2, "", 1080, 1320, 375, 300, 36, 0, Field::Gateway, N::Label14},
    ControlRow{N::Text22, K::TextBox, N::Frame2, "", 1680, 1320, 375, 300, 37, 0, Field::Gateway, N::Label14},
    ControlRow{N::Text23, K::TextBox, N::Frame2, "", 2280, 1320, 375, 300, 38, 0, Field::Gateway, N::Label14},
    ControlRow{N::Text24, K::TextBox, N::Frame2, "", 2880, 1320, 375, 300, 39, 0, Field::Gateway, N::Label14},
    ControlRow{N::Label15, K::Label, N::Frame2, "DNS", 120, 1725, 735, 255, 47},
    ControlRow{N::Text25, K::TextBox, N::Frame2, "", 1080, 1680, 375, 300, 40, 0, Field::DnsServer, N::Label15},
    ControlRow{N::Text26, K::TextBox, N::Frame2, "", 1680, 1680, 375, 300, 41, 0, Field::DnsServer, N::Label15},
    ControlRow{N::Text27, K::TextBox, N::Frame2, "", 2280, 1680, 375, 300, 42, 0, Field::DnsServer, N::Label15},
    ControlRow{N::Text28, K::TextBox, N::Frame2, "", 2880, 1680, 375, 300, 43, 0, Field::DnsServer, N::Label15},

    ControlRow{N::Label18, K::Label, N::Frame5, "Backlight", 120, 285, 855, 255, 68},
    ControlRow{N::Combo16, K::ComboBox, N::Frame5, "", 960, 240, 735, 300, 67, 0, Field::Backlight, N::Label18},
    ControlRow{N::Label19, K::Label, N::Frame5, "Unit", 2040, 285, 495, 255, 70},
    ControlRow{N::Combo4, K::ComboBox, N::Frame5, "", 2400, 240, 735, 300, 69, 0, Field::Unit, N::Label19},

    ControlRow{N::Label16, K::Label, N::Frame4, "Tx/Rx", 120, 315, 495, 255, 63},
    ControlRow{N::Text31, K::TextBox, N::Frame4, "", 720, 240, 855, 300, 61, 8, Field::Frequency, N::Label16},
    ControlRow{N::Label17, K::Label, N::Frame4, "MHz", 1680, 315, 375, 255, 65},
    ControlRow{N::Label21, K::Label, N::Frame4, "CTCSS", 2160, 315, 495, 255, 64},
    ControlRow{N::Text32, K::TextBox, N::Frame4, "", 2640, 240, 495, 300, 62, 3, Field::Ctcss, N::Label21},
    ControlRow{N::Check1, K::CheckBox, N::Frame4, "DIGI", 120, 600, 765, 375, 80, 0, Field::Digi},
    ControlRow{N::Label25, K::Label, N::Frame4, "Path", 1320, 660, 495, 255, 84},
    ControlRow{N::Combo7, K::ComboBox, N::Frame4, "", 1800, 620, 1335, 300, 83, 0, Field::Path, N::Label25},
    ControlRow{N::Label24, K::Label, N::Frame4, "TX vol", 120, 1005, 615, 255, 82},
    ControlRow{N::Combo6, K::ComboBox, N::Frame4, "", 720, 960, 495, 300, 81, 0, Field::TxVolume, N::Label24},
    ControlRow{N::Label26, K::Label, N::Frame4, "Alias", 1320, 1005, 495, 255, 86},
    ControlRow{N::Combo8, K::ComboBox, N::Frame4, "", 1800, 960, 1335, 300, 85, 0, Field::Alias, N::Label26},

    ControlRow{N::Label23, K::Label, N::Frame6, "ssid", 120, 360, 375, 255, 73},
    ControlRow{N::Text34, K::TextBox, N::Frame6, "", 480, 240, 1095, 300, 72, 20, Field::WifiSsid, N::Label23},
    ControlRow{N::Label20, K::Label, N::Frame6, "pass", 1680, 360, 375, 255, 75},
    ControlRow{N::Text33, K::TextBox, N::Frame6, "", 2040, 240, 855, 300, 74, 20, Field::WifiPassword, N::Label20},
    ControlRow{N::Command8, K::Button, N::Frame6, "Apply", 3120, 240, 615, 375, 76},

    ControlRow{N::Text6, K::TextBox, N::Frame3, "PELZO ", 120, 600, 1935, 270, 53, 0, Field::DeviceVersion, {}, false, "Device version"},

    ControlRow{N::Text30, K::MultiLineText, {}, "", 12240, 0, 3855, 7935, -1, 0, {}, {}, true},
    ControlRow{N::Label2, K::Label, {}, UpdateStatusCaption, 8160, 1200, 6255, 495, -1, 0, {}, {}, true},
    ControlRow{N::Command3, K::Button, {}, "打开串口", 9120, 3120, 1215, 375, -1, 0, {}, {}, true},
};

template <typename Select>
std::vector<ControlName> namesWhere(Select select)
{
    std::vector<ControlName> names;
    for (const ControlRow &row : table) {
        if (select(row))
            names.push_back(row.name);
    }
    return names;
}

} // namespace

std::span<const ControlRow> controlTable()
{
    return table;
}

const ControlRow &rowOf(ControlName control)
{
    return *std::find_if(table.begin(), table.end(), [control](const ControlRow &row) { return row.name == control; });
}

std::span<const ControlName> controlsOf(Field field)
{
    static const std::map<Field, std::vector<ControlName>> byField = [] {
        std::map<Field, std::vector<ControlName>> map;
        for (const ControlRow &row : table) {
            if (row.field)
                map[*row.field].push_back(row.name);
        }
        return map;
    }();
    const auto it = byField.find(field);
    return it == byField.end() ? std::span<const ControlName>() : std::span<const ControlName>(it->second);
}

QString accessibleNameOf(const ControlRow &row)
{
    if (row.description)
        return QString::fromUtf8(row.description);
    if (!row.label)
        return QString::fromUtf8(row.text);
    const QString label = QString::fromUtf8(rowOf(*row.label).text);
    if (!row.field || !isAddressField(*row.field))
        return label;
    const auto boxes = controlsOf(*row.field);
    const auto box = std::find(boxes.begin(), boxes.end(), row.name) - boxes.begin();
    return QStringLiteral("%1 %2").arg(label).arg(box + 1);
}

std::span<const ControlName> octetBoxNames()
{
    static const std::vector<ControlName> boxes =
        namesWhere([](const ControlRow &row) { return row.field && isAddressField(*row.field); });
    return boxes;
}

} // namespace pelzo
