#include "core/qtplatform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace pelzo {

namespace {

class QtTimer : public Timer
{
public:
    QtTimer()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (onTick)
                onTick();
        });
    }
    void setInterval(int ms) override { m_timer.setInterval(ms); }
    int interval() const override { return m_timer.interval(); }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

QtPlatform::QtPlatform(std::unique_ptr<SerialPort> port, const QString &programFolder)
    : m_port(std::move(port)), m_programFolder(programFolder)
{
    m_clock.start();
}

QtPlatform::~QtPlatform() = default;

quint32 QtPlatform::tickCount()
{
    return quint32(m_clock.elapsed());
}

void QtPlatform::processEventsUntil(quint32 deadlineTick)
{
    // A nested loop that sleeps until the deadline: events run inside it, and no core spins.
    const quint32 remaining = deadlineTick - tickCount();
    if (remaining == 0 || remaining > 0x7fffffffu) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(int(remaining));
    m_waits.append(&loop);
    loop.exec();
    m_waits.removeOne(&loop);
}

void QtPlatform::beginClosing()
{
    Platform::beginClosing();
    for (QEventLoop *loop : std::as_const(m_waits))
        loop->quit();
}

std::unique_ptr<Timer> QtPlatform::createTimer()
{
    return std::make_unique<QtTimer>();
}

} // namespace pelzo
