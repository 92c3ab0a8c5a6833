#include "core/plainstation.h"

#include "core/changerules.h"

namespace pelzo {

PlainStation::PlainStation(Platform &platform) : Station(platform)
{
    m_fields[{Field::DeviceVersion, 0}] = QStringLiteral("PELZO ");
    m_fields[{Field::Digi, 0}] = QStringLiteral("0");
}

QString PlainStation::fieldText(Field field) const
{
    const auto it = m_fields.find({field, 0});
    return it == m_fields.end() ? QString() : it->second;
}

QString PlainStation::octet(Field field, int box) const
{
    const auto it = m_fields.find({field, box});
    return it == m_fields.end() ? QString() : it->second;
}

void PlainStation::writeFieldText(Field field, const QString &text)
{
    m_fields[{field, 0}] = field == Field::Digi ? (text == QLatin1String("1") ? text : QStringLiteral("0"))
                                                : afterChangeRule(field, text);
}

void PlainStation::writeOctet(Field field, int box, const QString &text)
{
    m_fields[{field, box}] = text;
}

void PlainStation::setActivityLog(const QString &text)
{
    m_log = text;
    if (onLog)
        onLog(m_log);
}

void PlainStation::appendActivityLogText(const QString &text)
{
    m_log += text;
    if (onLog)
        onLog(m_log);
}

QString PlainStation::caption(Button button) const
{
    const auto it = m_captions.find(button);
    return it == m_captions.end() ? QString() : it->second;
}

bool PlainStation::buttonEnabled(Button button) const
{
    const auto it = m_enabled.find(button);
    return it == m_enabled.end() || it->second;
}

} // namespace pelzo
