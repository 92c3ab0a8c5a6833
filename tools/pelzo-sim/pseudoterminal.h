#pragma once

#include <QString>

// The device end of a pseudo-terminal. It keeps a descriptor of the slave open
// itself, so that the program closing the port is not seen as a hang-up, and it
// drops the link by closing the master, which makes the program's reads fail.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;
    ~PseudoTerminal();

    bool open(QString *error);
    void hangUp();

    // The line settings the program set on its end, as "115200,n,8,1" (the
    // master sees the termios of the slave), or nothing while no program has
    // set them: before the first open, and after a close, which restores them.
    QString lineSettings() const;

    int masterFd() const { return master_; }
    QString slavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
};
