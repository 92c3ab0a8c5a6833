#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

namespace pelzo {

// How the device's line runs: 115200 bit/s, no parity, 8 data bits, 1 stop bit.
inline constexpr char DeviceLineSettings[] = "115200,n,8,1";

struct LineSettings
{
    qint32 baudRate;
    QSerialPort::Parity parity;
    QSerialPort::DataBits dataBits;
    QSerialPort::StopBits stopBits;
};

// Reads line settings written as "speed,parity,data bits,stop bits", e.g. "115200,n,8,1".
std::optional<LineSettings> parseLineSettings(const QString &text);

} // namespace pelzo
