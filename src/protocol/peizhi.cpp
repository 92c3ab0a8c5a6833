#include "protocol/peizhi.h"

#include "core/station.h"
#include "protocol/link.h"
#include "protocol/reportline.h"

#include <array>

namespace pelzo {

namespace {

using Line = const ReportLine &;
using Rule = bool (*)(Station &, ReplyFlags &, Field, Line);

bool textRule(Station &station, ReplyFlags &, Field field, Line line)
{
    station.setFieldText(field, line.from(valuePosition(field)));
    return true;
}

bool callsignRule(Station &station, ReplyFlags &, Field, Line line)
{
    const qsizetype first = valuePosition(Field::Callsign);
    const qsizetype dash = line.find(U'-', first);
    if (dash == 0)
        return false;
    station.setFieldText(Field::Callsign, line.between(first, dash));
    station.setFieldText(Field::CallSsid, line.from(dash + 1));
    return true;
}

// Each box is set as soon as it is cut, so a missing "," leaves the boxes before it changed.
bool octetRule(Station &station, ReplyFlags &, Field field, Line line)
{
    qsizetype start = valuePosition(field);
    qsizetype searchFrom = 1;
    for (int box = 0; box < OctetsPerAddress - 1; ++box) {
        const qsizetype comma = line.find(U',', searchFrom);
        if (comma == 0)
            return false;
        station.setOctet(field, box, line.between(start, comma));
        start = searchFrom = comma + 1;
    }
    station.setOctet(field, OctetsPerAddress - 1, line.from(start));
    return true;
}

const CodeTable &codesOf(Field field)
{
    return field == Field::Unit ? unitCodes() : field == Field::Path ? pathCodes() : aliasCodes();
}

// One code character; an unknown code changes nothing.
bool codedRule(Station &station, ReplyFlags &, Field field, Line line)
{
    if (const auto shown = decode(codesOf(field), line.at(valuePosition(field)).text))
        station.setFieldText(field, *shown);
    return true;
}

bool dhcpRule(Station &station, ReplyFlags &, Field, Line)
{
    station.setFieldText(Field::AddressMode, Dhcp);
    station.setOctetBoxesEnabled(false);
    return true;
}

bool staticRule(Station &station, ReplyFlags &, Field, Line)
{
    station.setFieldText(Field::AddressMode, StaticIp);
    return true;
}

bool backlightRule(Station &station, ReplyFlags &, Field field, Line line)
{
    station.setFieldText(field, line.from(valuePosition(field)));
    if (const QString shown = decodeBacklight(station.fieldText(field)); shown != station.fieldText(field))
        station.setFieldText(field, shown);
    return true;
}

bool digiRule(Station &station, ReplyFlags &, Field field, Line line)
{
    station.setDigi(line.at(valuePosition(field)).text == QLatin1String("1"));
    return true;
}

bool txVolumeRule(Station &station, ReplyFlags &, Field field, Line line)
{
    station.setFieldText(field, line.at(valuePosition(field)));
    return true;
}

struct LineTest
{
    QByteArray begins;
    Field field;
    Rule rule;
    bool setsField = true;
};

LineTest status(const char *begins, Rule rule)
{
    return {begins, Field::DeviceVersion, rule, false};
}

LineTest value(Field field, Rule rule)
{
    return {lineBeginning(field), field, rule};
}

// "DHCP:" and the mode's code: only the first character of the value is read.
LineTest addressMode(const QString &shown, Rule rule)
{
    return {reportLabel(Field::AddressMode).toLatin1() + encode(addressModeCodes(), shown, CodeUse::Command).toLatin1(),
            Field::AddressMode, rule};
}

// Every test runs on every pass, in this order; a match does not end the pass.
const std::array<LineTest, 26> &lineTests()
{
    static const std::array<LineTest, 26> tests{
        status("eeram reset", [](Station &, ReplyFlags &r, Field, Line) { return r.EeramResetSeen = 1, true; }),
        status("CONNECT",
               [](Station &s, ReplyFlags &r, Field, Line) {
                   r.ConnectSeen = 1;
                   s.appendActivityLog(QStringLiteral("Connect OK"));
                   return true;
               }),
        status("READ END",
               [](Station &s, ReplyFlags &r, Field, Line) {
                   r.ReadEndSeen = 1;
                   s.appendActivityLog(QStringLiteral("Read end"));
                   return true;
               }),
        value(Field::Callsign, callsignRule),
        value(Field::Passcode, textRule),
        value(Field::Position, textRule),
        addressMode(Dhcp, dhcpRule),
        addressMode(StaticIp, staticRule),
        value(Field::Comment, textRule),
        value(Field::Server, textRule),
        value(Field::SendTime, textRule),
        value(Field::Filter, textRule),
        value(Field::DeviceVersion, textRule),
        value(Field::IpAddress, octetRule),
        value(Field::SubnetMask, octetRule),
        value(Field::Gateway, octetRule),
        value(Field::DnsServer, octetRule),
        value(Field::Frequency, textRule),
        value(Field::Backlight, backlightRule),
        value(Field::Unit, codedRule),
        value(Field::Digi, digiRule),
        value(Field::TxVolume, txVolumeRule),
        value(Field::Path, codedRule),
        value(Field::Alias, codedRule),
        status("WIFI Write success", [](Station &, ReplyFlags &r, Field, Line) { return r.WifiSuccessSeen = 1, true; }),
        status("freq save", [](Station &, ReplyFlags &r, Field, Line) { return r.FreqSaveSeen = 1, true; }),
    };
    return tests;
}

} // namespace

bool peizhi(Station &station, Link &link, const QByteArray &line, Fallback fallback, TextEnd end)
{
    const ReportLine report(line, fallback, end);
    for (const LineTest &test : lineTests()) {
        if (!report.beginsWith(test.begins))
            continue;
        if (!test.rule(station, link.replies, test.field, report))
            return false;
        if (test.setsField && !link.fieldsSeen.contains(test.field))
            link.fieldsSeen << test.field;
    }
    return true;
}

} // namespace pelzo
