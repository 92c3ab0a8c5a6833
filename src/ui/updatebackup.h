#pragma once

#include "core/outcome.h"

#include <QByteArray>
#include <QString>

namespace pelzo {

class Form1;

// What the window keeps of the station's configuration across a firmware
// update, which resets the station to factory values: the configuration of
// this session's last read on the port, or one read on purpose, saved in the
// program folder's backups and offered back once the update is complete.
class UpdateBackup
{
public:
    // A read that ran to its end is what the station holds until a load or
    // Default puts something else in the window.
    void noteRead(const Form1 &form, const Outcome &read);
    void forget() { m_read.clear(); }

    // update: keeps the configuration (asking how when no read is at hand), then starts the update.
    Outcome update(Form1 &form);
    // After "update complete": offers to put the kept configuration back.
    void offerRestore(Form1 &form);

private:
    bool keep(Form1 &form);
    void restore(Form1 &form);

    QByteArray m_read;
    QString m_readPort;
    QString m_kept; // the file of the configuration kept for this update
};

} // namespace pelzo
