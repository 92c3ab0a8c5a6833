#include "simloop.h"

#include "bytetrace.h"
#include "device.h"
#include "devicefiles.h"
#include "pseudoterminal.h"
#include "stopsignals.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <limits>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kReadChunkBytes = 4096;
constexpr int kWaitForeverMs = -1;

qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

void complain(const QString &text)
{
    std::fprintf(stderr, "pelzo-sim: %s\n", qPrintable(text));
}

} // namespace

SimLoop::SimLoop(pelzosim::Device &device, PseudoTerminal &terminal, StopSignals &stop, ByteTrace &trace,
                 DeviceFiles &files)
    : device_(device), terminal_(terminal), stop_(stop), trace_(trace), files_(files), startNs_(monotonicNs())
{
}

qint64 SimLoop::nowMs() const
{
    return (monotonicNs() - startNs_) / 1'000'000;
}

int SimLoop::run()
{
    for (;;) {
        const pelzosim::Device::Output output = device_.takeDue(nowMs());
        trace_.bytes(nowMs(), ByteTrace::Direction::FromDevice, output.bytes);
        pending_ += output.bytes;
        record();
        if (!flushToHost())
            return 1;
        if (output.hangup) {
            trace_.note(nowMs(), QStringLiteral("link dropped"));
            terminal_.hangUp();
            return 0;
        }

        int timeoutMs = kWaitForeverMs;
        if (const std::optional<qint64> due = device_.nextDueMs())
            timeoutMs = int(qBound(qint64(0), *due - nowMs(), qint64(std::numeric_limits<int>::max())));
        pollfd fds[] = {
            {terminal_.masterFd(), short(POLLIN | (pending_.isEmpty() ? 0 : POLLOUT)), 0},
            {stop_.fd(), POLLIN, 0},
        };
        if (poll(fds, 2, timeoutMs) < 0 && errno != EINTR) {
            complain(QStringLiteral("poll: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
            return 1;
        }
        if (fds[1].revents & POLLIN) {
            trace_.note(nowMs(), QStringLiteral("stopped by signal %1").arg(stop_.take()));
            return 0;
        }
        if ((fds[0].revents & POLLIN) && !readHost())
            return 1;
    }
}

bool SimLoop::readHost()
{
    char buffer[kReadChunkBytes];
    const ssize_t count = ::read(terminal_.masterFd(), buffer, sizeof buffer);
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return true;
    if (count <= 0) {
        complain(QStringLiteral("reading the pseudo-terminal failed"));
        return false;
    }
    const QByteArray bytes(buffer, count);
    const qint64 atMs = nowMs();
    trace_.bytes(atMs, ByteTrace::Direction::FromHost, bytes);
    // Bytes read after the program's close were written while its port was
    // open: they keep the settings last seen.
    if (const QString line = terminal_.lineSettings(); !line.isEmpty())
        device_.setHostLine(line);
    device_.hostBytes(atMs, bytes);
    record();
    return true;
}

bool SimLoop::flushToHost()
{
    while (!pending_.isEmpty()) {
        const ssize_t count = ::write(terminal_.masterFd(), pending_.constData(), size_t(pending_.size()));
        if (count < 0 && errno == EAGAIN)
            return true;
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            complain(QStringLiteral("writing the pseudo-terminal failed"));
            return false;
        }
        pending_.remove(0, count);
    }
    return true;
}

void SimLoop::record()
{
    for (const pelzosim::Note &note : device_.takeNotes())
        trace_.note(note.atMs, note.text);
    QString error;
    if (!files_.update(device_, &error))
        complain(error);
}
