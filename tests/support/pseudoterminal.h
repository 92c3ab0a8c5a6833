#pragma once

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

// A real pseudo-terminal: the program opens the slave path as its serial
// port, the test plays the device on the master side.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        int slave = -1;
        char name[128] = {};
        if (::openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
            return;
        ::close(slave);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_slavePath = QString::fromLocal8Bit(name);
    }
    ~PseudoTerminal() { hangUp(); }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    bool send(const QByteArray &bytes) { return ::write(m_master, bytes.constData(), bytes.size()) == bytes.size(); }

    // Whatever the program has written so far.
    QByteArray received()
    {
        QByteArray all;
        char chunk[4096];
        for (ssize_t n; (n = ::read(m_master, chunk, sizeof chunk)) > 0;)
            all.append(chunk, n);
        return all;
    }

    // The device goes away.
    void hangUp()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_slavePath;
};
