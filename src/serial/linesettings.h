#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

namespace pelzo {

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
