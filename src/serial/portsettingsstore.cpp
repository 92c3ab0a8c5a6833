#include "serial/portsettingsstore.h"

#include "core/station.h"
#include "serial/inifile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace pelzo {

namespace {

#if defined(Q_OS_WIN)
constexpr char PortSettingsFileName[] = "\\QTNComm.ini";
#else
constexpr char PortSettingsFileName[] = "/QTNComm.ini";
#endif

// The value buffer holds 255 bytes, one of them the terminating NUL.
constexpr qsizetype MaxValueBytes = 254;

QByteArray toCodePage(const QString &text)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

QString fromCodePage(QByteArrayView bytes)
{
    // A character cut in half by the length limit stays in the decoder's
    // state and is left out, so no broken character comes back.
    QStringDecoder decoder(QStringConverter::System);
    return decoder.decode(bytes);
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

QString portSettingsPath(const Platform &platform)
{
    return platform.programFolder() + QLatin1String(PortSettingsFileName);
}

QString ReadINI(const QString &Section, const QString &KeyName, const QString &Filename)
{
    const auto value = iniValue(readWholeFile(Filename), toCodePage(Section), toCodePage(KeyName));
    if (!value)
        return {};
    return fromCodePage(QByteArrayView(*value).first(std::min(value->size(), MaxValueBytes)));
}

qint16 WriteINI(const QString &sSection, const QString &sKeyName, const QString &sNewString, const QString &sFileName)
{
    const QByteArray updated =
        withIniValue(readWholeFile(sFileName), toCodePage(sSection), toCodePage(sKeyName), toCodePage(sNewString));
    QSaveFile file(sFileName);
    // A writable file in a folder that is not still gets its value.
    file.setDirectWriteFallback(true);
    if (file.open(QIODevice::WriteOnly) && file.write(updated) == updated.size())
        file.commit();
    return 0;
}

void WriteCommSet(Station &station, const QString &PortNo, const QString &BaudRate, const QString &StopBits,
                  const QString &Parity, const QString &Databits, const QString &FlowControl, const QString &InBuff,
                  const QString &OutBuff)
{
    const std::array<std::pair<const char *, const QString &>, 8> keys{{
        {PortNameKey, PortNo},
        {"par4", BaudRate},
        {"par1", StopBits},
        {"par3", Parity},
        {"par2", Databits},
        {"par0", FlowControl},
        {"InBuff", InBuff},
        {"OutBuff", OutBuff},
    }};
    for (const auto &[key, value] : keys)
        WriteINI(QLatin1String(PortSettingsSection), QLatin1String(key), value, portSettingsPath(station.platform()));
}

} // namespace pelzo
