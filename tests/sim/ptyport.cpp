#include "ptyport.h"

#include <QDeadlineTimer>
#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kChunkBytes = 4096;

} // namespace

bool PtyPort::open(const QString &path)
{
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        return false;
    termios settings{};
    tcgetattr(fd_, &settings);
    cfmakeraw(&settings);
    return tcsetattr(fd_, TCSANOW, &settings) == 0;
}

void PtyPort::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    buffer_.clear();
}

bool PtyPort::write(const QByteArray &bytes)
{
    qsizetype offset = 0;
    while (offset < bytes.size()) {
        pollfd fd{fd_, POLLOUT, 0};
        if (poll(&fd, 1, 5000) <= 0)
            return false;
        const ssize_t count = ::write(fd_, bytes.constData() + offset, size_t(bytes.size() - offset));
        if (count < 0 && errno != EAGAIN)
            return false;
        offset += qMax<ssize_t>(count, 0);
    }
    return true;
}

PtyPort::ReadResult PtyPort::readSome(int timeoutMs)
{
    pollfd fd{fd_, POLLIN, 0};
    if (poll(&fd, 1, timeoutMs) <= 0)
        return ReadResult::Timeout;
    char chunk[kChunkBytes];
    const ssize_t count = ::read(fd_, chunk, sizeof chunk);
    if (count < 0 && errno == EAGAIN)
        return ReadResult::Data;
    if (count <= 0)
        return ReadResult::Closed;
    buffer_.append(chunk, count);
    return ReadResult::Data;
}

QByteArray PtyPort::readUntil(const QByteArray &end, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!buffer_.endsWith(end) && !deadline.hasExpired()) {
        if (readSome(int(deadline.remainingTime())) == ReadResult::Closed)
            break;
    }
    return std::exchange(buffer_, {});
}

QByteArray PtyPort::readAvailable(int timeoutMs)
{
    readSome(timeoutMs);
    return std::exchange(buffer_, {});
}

bool PtyPort::waitForHangup(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (readSome(int(deadline.remainingTime())) == ReadResult::Closed)
            return true;
    }
    return false;
}
