#include "core/sleepinhibitor.h"

#include <QString>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif defined(Q_OS_MACOS)
#include <IOKit/pwr_mgt/IOPMLib.h>
#elif defined(PELZO_HAS_DBUS)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#endif

namespace pelzo {

namespace {

const QString Why = QStringLiteral("A firmware update is running: the station must not lose its connection");

} // namespace

struct SleepInhibitor::Lock
{
#if defined(Q_OS_MACOS)
    IOPMAssertionID assertion = 0;
#elif !defined(Q_OS_WIN) && defined(PELZO_HAS_DBUS)
    // logind keeps the lock while this descriptor is open.
    QDBusUnixFileDescriptor descriptor;
#endif
};

SleepInhibitor::SleepInhibitor() : m_lock(std::make_unique<Lock>()) {}

SleepInhibitor::~SleepInhibitor()
{
    release();
}

void SleepInhibitor::hold()
{
    if (m_held)
        return;
    m_held = true;
#if defined(Q_OS_WIN)
    SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
#elif defined(Q_OS_MACOS)
    const CFStringRef reason = Why.toCFString();
    IOPMAssertionCreateWithName(kIOPMAssertionTypePreventUserIdleSystemSleep, kIOPMAssertionLevelOn, reason,
                                &m_lock->assertion);
    CFRelease(reason);
#elif defined(PELZO_HAS_DBUS)
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                                       QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"),
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("PELZO Config") << Why << QStringLiteral("block");
    // A second is plenty for logind; a system without it must not hold up the update.
    const QDBusMessage reply = bus.call(call, QDBus::Block, 1000);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        m_lock->descriptor = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
#endif
}

void SleepInhibitor::release()
{
    if (!m_held)
        return;
    m_held = false;
#if defined(Q_OS_WIN)
    SetThreadExecutionState(ES_CONTINUOUS);
#elif defined(Q_OS_MACOS)
    if (m_lock->assertion != 0)
        IOPMAssertionRelease(m_lock->assertion);
    m_lock->assertion = 0;
#elif defined(PELZO_HAS_DBUS)
    m_lock->descriptor = QDBusUnixFileDescriptor();
#endif
}

} // namespace pelzo
