#include "stopsignals.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/signalfd.h>
#include <unistd.h>

StopSignals::~StopSignals()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool StopSignals::install(QString *error)
{
    sigset_t stopSet;
    sigemptyset(&stopSet);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSet, signal);
    if (sigprocmask(SIG_BLOCK, &stopSet, nullptr) != 0
        || (fd_ = signalfd(-1, &stopSet, SFD_NONBLOCK | SFD_CLOEXEC)) < 0) {
        *error = QStringLiteral("signalfd: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

int StopSignals::take()
{
    signalfd_siginfo info{};
    if (::read(fd_, &info, sizeof info) != ssize_t(sizeof info))
        return 0;
    return int(info.ssi_signo);
}
