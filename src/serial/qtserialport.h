#pragma once

#include "core/platform.h"

#include <QSerialPort>

namespace pelzo {

// The serial port of the real program, on QSerialPort.
class QtSerialPort : public SerialPort
{
public:
    // programFolder: where the "ports" folder and ports.ini may point a port
    // name at any device.
    explicit QtSerialPort(const QString &programFolder);

    // Every port number stands for this device: a port named by its path.
    void setDevice(const QString &path);

    bool setCommPort(int number) override;
    int commPort() const override { return m_number; }
    bool setSettings(const QString &settings) override;
    void setBufferSizes(int inBytes, int outBytes) override;
    bool open() override;
    bool openToProbe() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    bool drain(int timeoutMs) override;
    QString lastError() const override { return m_lastError; }
    QString devicePath(int number) const override;
    QList<int> presentPorts() const override;
    PortInfo portInfo(int number) const override;
    QString portDescription(int number) const override;

private:
    bool openWith(QIODevice::OpenMode mode);
    bool fail(const QString &reason);
    void onError(QSerialPort::SerialPortError error);

    QString m_programFolder;
    QString m_device;
    QSerialPort m_port;
    int m_number = 1;
    QString m_lastError;
};

} // namespace pelzo
