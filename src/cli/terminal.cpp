#include "cli/terminal.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <cstdio>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <termios.h>
#include <unistd.h>
#endif

namespace pelzo::cli {

namespace {

std::function<void()> interruptHandler;

#if defined(Q_OS_WIN)
BOOL WINAPI consoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // The console calls this on a thread of its own.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { interruptHandler(); }, Qt::QueuedConnection);
    return TRUE;
}
#else
int interruptPipe[2] = {-1, -1};

void signalled(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(interruptPipe[1], &byte, 1);
}
#endif

} // namespace

bool errorIsTerminal()
{
#if defined(Q_OS_WIN)
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

QString readSecret(const QString &prompt)
{
    QTextStream err(stderr);
    QTextStream in(stdin);
#if defined(Q_OS_WIN)
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!_isatty(_fileno(stdin)) || !GetConsoleMode(input, &mode))
        return {};
    err << prompt << Qt::flush;
    SetConsoleMode(input, mode & ~ENABLE_ECHO_INPUT);
    const QString secret = in.readLine();
    SetConsoleMode(input, mode);
#else
    termios saved{};
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &saved) != 0)
        return {};
    err << prompt << Qt::flush;
    termios silent = saved;
    silent.c_lflag &= ~tcflag_t(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    const QString secret = in.readLine();
    ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
#endif
    err << Qt::endl;
    return secret;
}

void onInterrupt(std::function<void()> interrupted)
{
    interruptHandler = std::move(interrupted);
#if defined(Q_OS_WIN)
    SetConsoleCtrlHandler(consoleControl, TRUE);
#else
    // The handler only writes a byte; the notifier hands it to the program's own thread.
    if (::pipe(interruptPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(interruptPipe[0], &byte, 1);
        interruptHandler();
    });
    std::signal(SIGINT, signalled);
    std::signal(SIGTERM, signalled);
#endif
}

} // namespace pelzo::cli
