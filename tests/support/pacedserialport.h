#pragma once

#include "serial/startup.h"
#include "core/virtualplatform.h"
#include "ui/form1.h"

#include <QList>

// A serial line that takes time to send, in front of the virtual port: the
// bytes of each write leave at 115200 bit/s after those before them, or never
// when the line is stalled. It records how many bytes each close cut off.
class PacedSerialPort : public pelzo::SerialPort
{
public:
    explicit PacedSerialPort(pelzo::VirtualPlatform &platform) : m_platform(platform), m_line(platform.port())
    {
        m_line.onReceive = [this] {
            if (onReceive)
                onReceive();
        };
        m_line.onLinkLost = [this] {
            if (onLinkLost)
                onLinkLost();
        };
    }

    bool setCommPort(int number) override { return m_line.setCommPort(number); }
    int commPort() const override { return m_line.commPort(); }
    bool setSettings(const QString &settings) override { return m_line.setSettings(settings); }
    void setBufferSizes(int inBytes, int outBytes) override { m_line.setBufferSizes(inBytes, outBytes); }
    bool open() override { return m_line.open(); }
    void close() override
    {
        if (m_line.isOpen())
            closes.append({m_platform.now(), unsent()});
        m_sent = m_written;
        m_line.close();
    }
    bool isOpen() const override { return m_line.isOpen(); }
    bool write(const QByteArray &bytes) override
    {
        if (!m_line.write(bytes))
            return false;
        if (unsent() == 0)
            m_queueFrom = m_platform.now();
        m_written += bytes.size();
        return true;
    }
    QByteArray readAll() override { return m_line.readAll(); }
    // Cannot block under virtual time: it answers whether the line is empty now.
    bool drain(int) override { return isOpen() && unsent() == 0; }
    QString lastError() const override { return m_line.lastError(); }
    QString devicePath(int number) const override { return m_line.devicePath(number); }
    QList<int> presentPorts() const override { return m_line.presentPorts(); }

    void stall() { m_stalled = true; }

    struct Close
    {
        qint64 atMs;
        qint64 unsentBytes;
    };
    QList<Close> closes;

private:
    // 115200 bit/s with start and stop bits: 11.52 bytes per millisecond.
    qint64 unsent()
    {
        const qint64 pending = m_written - m_sent;
        if (m_stalled || pending == 0)
            return pending;
        const qint64 leftSince = (m_platform.now() - m_queueFrom) * 11520 / 1000;
        if (leftSince >= pending) {
            m_sent = m_written;
            return 0;
        }
        return pending - leftSince;
    }

    pelzo::VirtualPlatform &m_platform;
    pelzo::VirtualSerialPort &m_line;
    qint64 m_written = 0;
    qint64 m_sent = 0;
    qint64 m_queueFrom = 0;
    bool m_stalled = false;
};

class PacedPlatform : public pelzo::VirtualPlatform
{
public:
    pelzo::SerialPort &serialPort() override { return paced; }
    PacedSerialPort paced{*this};
};

// FormFixture on a line that takes time to send.
struct PacedFormFixture
{
    PacedFormFixture()
    {
        pelzo::formLoad(form);
        // Start-up opened and closed every port while it looked for them.
        platform.paced.closes.clear();
        platform.port().setCommPort(1);
    }

    PacedPlatform platform;
    pelzo::Form1 form{platform};
};
