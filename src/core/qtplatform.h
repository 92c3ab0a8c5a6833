#pragma once

#include "core/platform.h"
#include "core/sleepinhibitor.h"

#include <QElapsedTimer>
#include <QList>

class QEventLoop;

namespace pelzo {

// The platform of the real programs: Qt's event loop, timers and the given
// serial port. The window and the command line answer dialogs their own way.
class QtPlatform : public Platform
{
public:
    QtPlatform(std::unique_ptr<SerialPort> port, const QString &programFolder);
    ~QtPlatform() override;

    quint32 tickCount() override;
    void processEventsUntil(quint32 deadlineTick) override;
    std::unique_ptr<Timer> createTimer() override;
    SerialPort &serialPort() override { return *m_port; }
    QString programFolder() const override { return m_programFolder; }
    void beginClosing() override;
    void keepAwake(bool awake) override { awake ? m_sleep.hold() : m_sleep.release(); }

private:
    std::unique_ptr<SerialPort> m_port;
    QString m_programFolder;
    QElapsedTimer m_clock;
    QList<QEventLoop *> m_waits;
    SleepInhibitor m_sleep;
};

} // namespace pelzo
