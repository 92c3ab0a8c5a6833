#pragma once

#include "core/virtualplatform.h"

#include <QList>

// The window's serial port, with a record of what was done to it and when,
// and a drain that can be made to fail.
class RecordingPort : public pelzo::SerialPort
{
public:
    RecordingPort(pelzo::VirtualPlatform &platform, pelzo::VirtualSerialPort &inner)
        : m_platform(platform), m_inner(inner)
    {
        inner.onReceive = [this] {
            if (onReceive)
                onReceive();
        };
        inner.onLinkLost = [this] {
            if (onLinkLost)
                onLinkLost();
        };
    }

    bool setCommPort(int number) override { return m_inner.setCommPort(number); }
    int commPort() const override { return m_inner.commPort(); }
    bool setSettings(const QString &settings) override { return m_inner.setSettings(settings); }
    void setBufferSizes(int inBytes, int outBytes) override { m_inner.setBufferSizes(inBytes, outBytes); }
    bool open() override { return m_inner.open(); }
    void close() override
    {
        note(QStringLiteral("close"));
        m_inner.close();
    }
    bool isOpen() const override { return m_inner.isOpen(); }
    bool write(const QByteArray &bytes) override
    {
        note(QStringLiteral("write %1").arg(bytes.size()));
        return m_inner.write(bytes);
    }
    QByteArray readAll() override { return m_inner.readAll(); }
    bool drain(int timeoutMs) override
    {
        note(QStringLiteral("drain %1").arg(timeoutMs));
        return !drainFails && m_inner.drain(timeoutMs);
    }
    QString lastError() const override { return drainFails ? QStringLiteral("stuck") : m_inner.lastError(); }
    QString devicePath(int number) const override { return m_inner.devicePath(number); }
    QList<int> presentPorts() const override { return m_inner.presentPorts(); }

    struct Op
    {
        qint64 atMs;
        QString what;
    };
    QList<Op> ops;
    bool drainFails = false;

private:
    void note(const QString &what) { ops.append({m_platform.now(), what}); }

    pelzo::VirtualPlatform &m_platform;
    pelzo::VirtualSerialPort &m_inner;
};

class RecordingPlatform : public pelzo::VirtualPlatform
{
public:
    pelzo::SerialPort &serialPort() override { return recorder; }
    RecordingPort recorder{*this, port()};
};
