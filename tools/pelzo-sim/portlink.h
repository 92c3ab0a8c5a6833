#pragma once

#include <QString>

// A symbolic link to the pseudo-terminal under a fixed name, so the program
// finds the emulator at the same path every run. An existing symbolic link at
// that path is replaced (a previous run may have died without removing it);
// any other file there is left alone and the link is refused.
class PortLink {
public:
    PortLink() = default;
    PortLink(const PortLink &) = delete;
    PortLink &operator=(const PortLink &) = delete;
    ~PortLink() { remove(); }

    bool create(const QString &linkPath, const QString &target, QString *error);
    // Removes the link if it still points to our target.
    void remove();

private:
    QString linkPath_;
    QString target_;
};
