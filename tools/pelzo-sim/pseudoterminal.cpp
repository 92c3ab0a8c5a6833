#include "pseudoterminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr std::size_t kPathBytes = 256;

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    hangUp();
}

bool PseudoTerminal::open(QString *error)
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char path[kPathBytes];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, path, sizeof path) != 0) {
        *error = systemError("grantpt/unlockpt/ptsname");
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(path);
    slave_ = ::open(path, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        *error = systemError("open slave");
        return false;
    }
    termios settings{};
    if (tcgetattr(slave_, &settings) != 0) {
        *error = systemError("tcgetattr");
        return false;
    }
    cfmakeraw(&settings);
    cfsetspeed(&settings, B115200);
    if (tcsetattr(slave_, TCSANOW, &settings) != 0) {
        *error = systemError("tcsetattr");
        return false;
    }
    if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) {
        *error = systemError("fcntl");
        return false;
    }
    return true;
}

void PseudoTerminal::hangUp()
{
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}
