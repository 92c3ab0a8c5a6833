#include "pseudoterminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr std::size_t kPathBytes = 256;
// Marks the settings of a port that no program has set up: a program's open
// sets VTIME to its own value, and its close puts this one back.
constexpr cc_t kUnsetMark = 7;

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
    settings.c_cc[VTIME] = kUnsetMark;
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

QString PseudoTerminal::lineSettings() const
{
    termios settings{};
    if (tcgetattr(master_, &settings) != 0 || settings.c_cc[VTIME] == kUnsetMark)
        return {};
    static const std::pair<speed_t, int> speeds[] = {
        {B1200, 1200},     {B2400, 2400},     {B4800, 4800},     {B9600, 9600},     {B19200, 19200},
        {B38400, 38400},   {B57600, 57600},   {B115200, 115200}, {B230400, 230400}, {B460800, 460800},
    };
    const speed_t speed = cfgetispeed(&settings);
    int bitsPerSecond = 0;
    for (const auto &[code, value] : speeds) {
        if (code == speed)
            bitsPerSecond = value;
    }
    const tcflag_t c = settings.c_cflag;
    const char parity = !(c & PARENB) ? 'n' : (c & PARODD) ? 'o' : 'e';
    const int dataBits = (c & CSIZE) == CS5 ? 5 : (c & CSIZE) == CS6 ? 6 : (c & CSIZE) == CS7 ? 7 : 8;
    return QStringLiteral("%1,%2,%3,%4").arg(bitsPerSecond).arg(QLatin1Char(parity)).arg(dataBits).arg((c & CSTOPB) ? 2 : 1);
}

void PseudoTerminal::hangUp()
{
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}
