#include "protocol/peizhi.h"

#include "protocol/reportline.h"
#include "ui/form1.h"

#include <QLineEdit>

#include <array>

namespace pelzo {

namespace {

using Line = const ReportLine &;

bool setText(Form1 &form, Field field, Line line, qsizetype k)
{
    form.setFieldText(field, line.from(k));
    return true;
}

bool callsignRule(Form1 &form, Line line)
{
    constexpr qsizetype First = 10;
    const qsizetype dash = line.find(U'-', First);
    if (dash == 0)
        return false;
    form.setFieldText(Field::Callsign, line.between(First, dash));
    form.setFieldText(Field::CallSsid, line.from(dash + 1));
    return true;
}

// Each box is set as soon as it is cut, so a missing "," leaves the boxes before it changed.
bool octetRule(Form1 &form, Field field, Line line, qsizetype first)
{
    qsizetype start = first;
    qsizetype searchFrom = 1;
    for (int box = 0; box < 3; ++box) {
        const qsizetype comma = line.find(U',', searchFrom);
        if (comma == 0)
            return false;
        form.setOctet(field, box, line.between(start, comma));
        start = searchFrom = comma + 1;
    }
    form.setOctet(field, 3, line.from(start));
    return true;
}

bool codedRule(Form1 &form, const CodeTable &table, Line line, qsizetype k)
{
    if (const auto shown = decode(table, line.at(k)))
        form.setFieldText(table.field, *shown);
    return true;
}

struct LineTest
{
    const char *begins;
    bool (*action)(Form1 &, Line);
};

// Every test runs on every pass, in this order; a match does not end the pass.
const std::array lineTests{
    LineTest{"eeram reset", [](Form1 &f, Line) { return f.EeramResetSeen = 1, true; }},
    LineTest{"CONNECT",
             [](Form1 &f, Line) {
                 f.ConnectSeen = 1;
                 f.appendActivityLog(QStringLiteral("Connect OK"));
                 return true;
             }},
    LineTest{"READ END",
             [](Form1 &f, Line) {
                 f.ReadEndSeen = 1;
                 f.appendActivityLog(QStringLiteral("Read end"));
                 return true;
             }},
    LineTest{"CALLSIGN", callsignRule},
    LineTest{"PASS:", [](Form1 &f, Line l) { return setText(f, Field::Passcode, l, 6); }},
    LineTest{"POSITION", [](Form1 &f, Line l) { return setText(f, Field::Position, l, 10); }},
    LineTest{"DHCP:1",
             [](Form1 &f, Line) {
                 f.setFieldText(Field::AddressMode, Dhcp);
                 f.setOctetBoxesEnabled(false);
                 return true;
             }},
    LineTest{"DHCP:0", [](Form1 &f, Line) { return f.setFieldText(Field::AddressMode, StaticIp), true; }},
    LineTest{"COMMENT", [](Form1 &f, Line l) { return setText(f, Field::Comment, l, 14); }},
    LineTest{"SERVER", [](Form1 &f, Line l) { return setText(f, Field::Server, l, 8); }},
    LineTest{"SENT TIME", [](Form1 &f, Line l) { return setText(f, Field::SendTime, l, 11); }},
    LineTest{"FILTER", [](Form1 &f, Line l) { return setText(f, Field::Filter, l, 8); }},
    LineTest{"VER:", [](Form1 &f, Line l) { return setText(f, Field::DeviceVersion, l, 5); }},
    LineTest{"IP:", [](Form1 &f, Line l) { return octetRule(f, Field::IpAddress, l, 4); }},
    LineTest{"MASK:", [](Form1 &f, Line l) { return octetRule(f, Field::SubnetMask, l, 6); }},
    LineTest{"GATE:", [](Form1 &f, Line l) { return octetRule(f, Field::Gateway, l, 6); }},
    LineTest{"DNS:", [](Form1 &f, Line l) { return octetRule(f, Field::DnsServer, l, 5); }},
    LineTest{"FREQ:", [](Form1 &f, Line l) { return setText(f, Field::Frequency, l, 6); }},
    LineTest{"BACKLIGHT:",
             [](Form1 &f, Line l) {
                 f.setFieldText(Field::Backlight, l.from(11));
                 f.setFieldText(Field::Backlight, decodeBacklight(f.fieldText(Field::Backlight)));
                 return true;
             }},
    LineTest{"UNIT:", [](Form1 &f, Line l) { return codedRule(f, unitCodes(), l, 6); }},
    LineTest{"DIGI:", [](Form1 &f, Line l) { return f.setDigi(l.at(6) == QLatin1String("1")), true; }},
    LineTest{"MOD:", [](Form1 &f, Line l) { return f.setFieldText(Field::TxVolume, l.at(5)), true; }},
    LineTest{"PATH:", [](Form1 &f, Line l) { return codedRule(f, pathCodes(), l, 6); }},
    LineTest{"ALIAS:", [](Form1 &f, Line l) { return codedRule(f, aliasCodes(), l, 7); }},
    LineTest{"WIFI Write success", [](Form1 &f, Line) { return f.WifiSuccessSeen = 1, true; }},
    LineTest{"freq save", [](Form1 &f, Line) { return f.FreqSaveSeen = 1, true; }},
};

} // namespace

bool peizhi(Form1 &form)
{
    // The actions may change LineBuffer only through the fields' change rules, which never touch it.
    const ReportLine line(form.LineBuffer);
    for (const LineTest &test : lineTests) {
        if (line.beginsWith(test.begins) && !test.action(form, line))
            return false;
    }
    return true;
}

} // namespace pelzo
