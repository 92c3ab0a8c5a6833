#include "ui/controltable.h"

#include <array>

namespace pelzo {

namespace {

using K = ControlKind;

constexpr std::array table{
    ControlSpec{"Frame1", K::Frame, "", "", 0, 0, 7815, 7575, 0},
    ControlSpec{"Label3", K::Label, "Frame1", "PELZO APRS Config", 2640, 240, 3375, 375, 5},
    ControlSpec{"Label4", K::Label, "Frame1", "Callsign", 360, 920, 975, 255, 8},
    ControlSpec{"Text4", K::TextBox, "Frame1", "", 1440, 840, 795, 300, 6, 6},
    ControlSpec{"Label9", K::Label, "Frame1", "-", 2280, 870, 135, 135, 9},
    ControlSpec{"Combo5", K::ComboBox, "Frame1", "", 2400, 840, 615, 300, 7},
    ControlSpec{"Label1", K::Label, "Frame1", "Pass", 3120, 900, 735, 255, 18},
    ControlSpec{"Text5", K::TextBox, "Frame1", "", 3480, 840, 735, 300, 17, 5},
    ControlSpec{"Label6", K::Label, "Frame1", "Comment", 360, 1300, 1095, 255, 20},
    ControlSpec{"Text8", K::TextBox, "Frame1", "", 1440, 1260, 2775, 300, 19, 61},
    ControlSpec{"Label11", K::Label, "Frame1", "Status", 360, 1710, 855, 375, 11},
    ControlSpec{"Text7", K::TextBox, "Frame1", "", 1440, 1680, 2745, 300, 10, 40},
    ControlSpec{"Label7", K::Label, "Frame1", "Server", 360, 2200, 1095, 255, 21},
    ControlSpec{"Combo3", K::ComboBox, "Frame1", "", 1440, 2100, 2775, 300, 56},
    ControlSpec{"Label8", K::Label, "Frame1", "Tx time", 360, 2620, 735, 255, 23},
    ControlSpec{"Text10", K::TextBox, "Frame1", "", 1440, 2540, 735, 300, 22, 5},
    ControlSpec{"Label10", K::Label, "Frame1", "Filter", 360, 3000, 735, 255, 25},
    ControlSpec{"Text11", K::TextBox, "Frame1", "", 1440, 2940, 1695, 300, 24, 16},
    ControlSpec{"Frame2", K::Frame, "Frame1", "", 360, 3360, 3375, 2100, 26},
    ControlSpec{"Frame5", K::Frame, "Frame1", "Setup", 4320, 720, 3255, 615, 66},
    ControlSpec{"Frame4", K::Frame, "Frame1", "RF RADIO", 4320, 1320, 3255, 1335, 60},
    ControlSpec{"Frame6", K::Frame, "Frame1", "WIFI user/password", 3720, 2640, 3855, 735, 71},
    ControlSpec{"Text29", K::MultiLineText, "Frame1", "", 4080, 3480, 3495, 1935, 54},
    ControlSpec{"Frame3", K::Frame, "Frame1", "Vers", 4080, 5520, 2175, 975, 48},
    ControlSpec{"Text12", K::TextBox, "Frame1", "Config 20160728", 4200, 5760, 1935, 270, 49},
    ControlSpec{"Combo1", K::ComboBox, "Frame1", "Combo1", 240, 5660, 1215, 300, 28},
    ControlSpec{"Command6", K::Button, "Frame1", "Read data", 1560, 5640, 1215, 375, 15},
    ControlSpec{"Command4", K::Button, "Frame1", "Load file", 2820, 5640, 1215, 375, 13},
    ControlSpec{"Command1", K::Button, "Frame1", "Open ROM", 6360, 5640, 1215, 375, 51},
    ControlSpec{"Command0", K::Button, "Frame1", "Default", 240, 6120, 1215, 375, 14},
    ControlSpec{"Command7", K::Button, "Frame1", "Write data", 1560, 6120, 1215, 375, 16},
    ControlSpec{"Command5", K::Button, "Frame1", "Save file", 2820, 6120, 1215, 375, 12},
    ControlSpec{"Command2", K::Button, "Frame1", "update", 6360, 6120, 1215, 375, 52},
    ControlSpec{"ProgressBar1", K::ProgressBar, "Frame1", "", 120, 6600, 7455, 375, 50},
    ControlSpec{"Label22", K::Label, "Frame1", "If change setup then please restart ", 2520, 7200, 3495, 255, 77},
    ControlSpec{"Command9", K::Button, "Frame1", "restart", 6360, 7100, 1215, 375, 78},
    ControlSpec{"Text3", K::TextBox, "", "0/10", 240, 6960, 975, 255, -1},

    ControlSpec{"Label5", K::Label, "Frame2", "DHCP", 120, 300, 975, 255, 59},
    ControlSpec{"Combo2", K::ComboBox, "Frame2", "", 1080, 200, 1215, 300, 58},
    ControlSpec{"Label12", K::Label, "Frame2", "IP", 120, 675, 735, 255, 44},
    ControlSpec{"Text13", K::TextBox, "Frame2", "", 1080, 600, 375, 300, 27},
    ControlSpec{"Text14", K::TextBox, "Frame2", "", 1680, 600, 375, 300, 29},
    ControlSpec{"Text15", K::TextBox, "Frame2", "", 2280, 600, 375, 300, 30},
    ControlSpec{"Text16", K::TextBox, "Frame2", "", 2880, 600, 375, 300, 31},
    ControlSpec{"Label13", K::Label, "Frame2", "Mask", 120, 1035, 735, 255, 45},
    ControlSpec{"Text17", K::TextBox, "Frame2", "", 1080, 960, 375, 300, 32},
    ControlSpec{"Text18", K::TextBox, "Frame2", "", 1680, 960, 375, 300, 33},
    ControlSpec{"Text19", K::TextBox, "Frame2", "", 2280, 960, 375, 300, 34},
    ControlSpec{"Text20", K::TextBox, "Frame2", "", 2880, 960, 375, 300, 35},
    ControlSpec{"Label14", K::Label, "Frame2", "Gate", 120, 1380, 735, 255, 46},
    ControlSpec{"Text21", K::TextBox, "Frame2", "", 1080, 1320, 375, 300, 36},
    ControlSpec{"Text22", K::TextBox, "Frame2", "", 1680, 1320, 375, 300, 37},
    ControlSpec{"Text23", K::TextBox, "Frame2", "", 2280, 1320, 375, 300, 38},
    ControlSpec{"Text24", K::TextBox, "Frame2", "", 2880, 1320, 375, 300, 39},
    ControlSpec{"Label15", K::Label, "Frame2", "DNS", 120, 1725, 735, 255, 47},
    ControlSpec{"Text25", K::TextBox, "Frame2", "", 1080, 1680, 375, 300, 40},
    ControlSpec{"Text26", K::TextBox, "Frame2", "", 1680, 1680, 375, 300, 41},
    ControlSpec{"Text27", K::TextBox, "Frame2", "", 2280, 1680, 375, 300, 42},
    ControlSpec{"Text28", K::TextBox, "Frame2", "", 2880, 1680, 375, 300, 43},

    ControlSpec{"Label18", K::Label, "Frame5", "Backlight", 120, 285, 855, 255, 68},
    ControlSpec{"Combo16", K::ComboBox, "Frame5", "", 960, 240, 735, 300, 67},
    ControlSpec{"Label19", K::Label, "Frame5", "Unit", 2040, 285, 495, 255, 70},
    ControlSpec{"Combo4", K::ComboBox, "Frame5", "", 2400, 240, 735, 300, 69},

    ControlSpec{"Label16", K::Label, "Frame4", "Tx/Rx", 120, 315, 495, 255, 63},
    ControlSpec{"Text31", K::TextBox, "Frame4", "", 720, 240, 855, 300, 61, 8},
    ControlSpec{"Label17", K::Label, "Frame4", "MHz", 1680, 315, 375, 255, 65},
    ControlSpec{"Label21", K::Label, "Frame4", "CTCSS", 2160, 315, 495, 255, 64},
    ControlSpec{"Text32", K::TextBox, "Frame4", "", 2640, 240, 495, 300, 62, 3},
    ControlSpec{"Check1", K::CheckBox, "Frame4", "DIGI", 120, 600, 765, 375, 80},
    ControlSpec{"Label25", K::Label, "Frame4", "Path", 1320, 660, 495, 255, 84},
    ControlSpec{"Combo7", K::ComboBox, "Frame4", "", 1800, 620, 1335, 300, 83},
    ControlSpec{"Label24", K::Label, "Frame4", "TX vol", 120, 1005, 615, 255, 82},
    ControlSpec{"Combo6", K::ComboBox, "Frame4", "", 720, 960, 495, 300, 81},
    ControlSpec{"Label26", K::Label, "Frame4", "Alias", 1320, 1005, 495, 255, 86},
    ControlSpec{"Combo8", K::ComboBox, "Frame4", "", 1800, 960, 1335, 300, 85},

    ControlSpec{"Label23", K::Label, "Frame6", "ssid", 120, 360, 375, 255, 73},
    ControlSpec{"Text34", K::TextBox, "Frame6", "", 480, 240, 1095, 300, 72, 20},
    ControlSpec{"Label20", K::Label, "Frame6", "pass", 1680, 360, 375, 255, 75},
    ControlSpec{"Text33", K::TextBox, "Frame6", "", 2040, 240, 855, 300, 74, 20},
    ControlSpec{"Command8", K::Button, "Frame6", "Apply", 3120, 240, 615, 375, 76},

    ControlSpec{"Text6", K::TextBox, "Frame3", "PELZO ", 120, 600, 1935, 270, 53},

    ControlSpec{"Text30", K::MultiLineText, "", "", 12240, 0, 3855, 7935, -1, 0, true},
    ControlSpec{"Label2", K::Label, "", "Software only update data，support: see the README of PELZO Config", 8160,
                1200, 6255, 495, -1, 0, true},
    ControlSpec{"Command3", K::Button, "", "打开串口", 9120, 3120, 1215, 375, -1, 0, true},
};

} // namespace

std::span<const ControlSpec> controlTable()
{
    return table;
}

} // namespace pelzo
