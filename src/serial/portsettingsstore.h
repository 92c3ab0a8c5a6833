#pragma once

#include <QString>

namespace pelzo {

class Platform;
class Station;

inline constexpr char PortSettingsSection[] = "QTNComm";
inline constexpr char PortNameKey[] = "par5";

// The file beside the program that remembers the last used port.
QString portSettingsPath(const Platform &platform);

// The value of one key, in the system code page, cut to its first 254 bytes;
// "" when the file, the section or the key is missing.
QString ReadINI(const QString &Section, const QString &KeyName, const QString &Filename);

// Creates or replaces one key and keeps every other line of the file. A failed
// write is not reported: the result is always 0.
qint16 WriteINI(const QString &sSection, const QString &sKeyName, const QString &sNewString, const QString &sFileName);

// Records the port settings of a successful connect in the port-settings file.
void WriteCommSet(Station &station, const QString &PortNo, const QString &BaudRate, const QString &StopBits,
                  const QString &Parity, const QString &Databits, const QString &FlowControl, const QString &InBuff,
                  const QString &OutBuff);

} // namespace pelzo
