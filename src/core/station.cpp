#include "core/station.h"

#include "core/changerules.h"

#include <algorithm>

namespace pelzo {

Station::Station(Platform &platform) : m_platform(platform) {}

Station::~Station() = default;

void Station::setCaption(Button button, const QString &caption)
{
    if (button == Button::ReadData)
        m_readCancelled = false;
    showCaption(button, caption);
}

void Station::cancelRunningExchange()
{
    showCaption(Button::ReadData, PortIsOpenCaption);
    m_readCancelled = true;
}

void Station::setFieldText(Field field, const QString &text)
{
    m_arrived.erase({field, 0});
    writeFieldText(field, text);
}

void Station::setOctet(Field field, int box, const QString &text)
{
    m_arrived.erase({field, box});
    writeOctet(field, box, text);
}

void Station::setFieldText(Field field, const ArrivedText &value)
{
    writeFieldText(field, value.text);
    rememberArrival(field, 0, value);
}

void Station::setOctet(Field field, int box, const ArrivedText &value)
{
    writeOctet(field, box, value.text);
    rememberArrival(field, box, value);
}

void Station::rememberArrival(Field field, int box, const ArrivedText &value)
{
    ArrivedText kept = value;
    // The change rule trims blanks; they are single bytes in every encoding the values come in.
    if (const QString shown = afterChangeRule(field, value.text); shown != value.text) {
        kept.text = shown;
        qsizetype begin = 0;
        qsizetype end = kept.bytes.size();
        while (begin < end && kept.bytes.at(begin) == ' ')
            ++begin;
        while (end > begin && kept.bytes.at(end - 1) == ' ')
            --end;
        kept.bytes = kept.bytes.mid(begin, end - begin);
    }
    m_arrived[{field, box}] = kept;
}

QByteArray Station::fieldBytes(Field field, QByteArray (*encode)(const QString &), int box) const
{
    const QString shown = isAddressField(field) ? octet(field, box) : fieldText(field);
    const auto arrived = m_arrived.find({field, box});
    if (arrived != m_arrived.end() && arrived->second.text == shown)
        return arrived->second.bytes;
    return encode(shown);
}

QByteArray Station::octetBytes(Field field, QByteArray (*encode)(const QString &)) const
{
    QByteArrayList values;
    for (int box = 0; box < OctetsPerAddress; ++box)
        values << fieldBytes(field, encode, box);
    return values.join(',');
}

QStringList Station::octets(Field field) const
{
    QStringList values;
    for (int box = 0; box < OctetsPerAddress; ++box)
        values << octet(field, box);
    return values;
}

QByteArray callsignValue(const Station &station, QByteArray (*encode)(const QString &))
{
    const qsizetype blanks = std::max<qsizetype>(0, CallsignColumn - station.fieldText(Field::Callsign).size());
    return station.fieldBytes(Field::Callsign, encode) + QByteArray(blanks, ' ') + '-' +
           station.fieldBytes(Field::CallSsid, encode);
}

void Station::appendActivityLog(const QString &message)
{
    appendActivityLogText(QStringLiteral("\r\n") + message);
}

} // namespace pelzo
