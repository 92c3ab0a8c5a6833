#pragma once

#include "core/deviceconfig.h"

#include <QByteArrayList>
#include <QList>
#include <QString>

namespace pelzo {

// How an action ended.
enum class Result {
    Done,         // it ran to its end; a confirmation, where it waits for one, came
    NoAnswer,     // the device did not answer in time
    Unconfirmed,  // the commands went out, but the device did not confirm them
    PortFailed,   // the port would not open or take the bytes; `reason` says why
    Refused,      // it did not start: `reason` says why (an update holds the port, no image, ...)
    StoppedOther, // the port was open: this click stopped the exchange that had it
    Cancelled,    // another click stopped it
    Declined,     // the user chose not to go on when asked
};

// What an action did: how it ended and what went over the line. The window
// turns it into its message boxes; pelzo-cli into its exit status and words.
struct Outcome
{
    Result result = Result::Done;
    QString reason;               // the system's words for a failure, or why it was refused
    QByteArrayList commandsSent;  // every command that went out, in order
    QList<Field> fieldsSent;      // the fields a write sent
    QList<Field> fieldsRead;      // the fields the device's report set
    qint32 blocksSent = 0;        // how far a firmware transfer got
    qint32 blockCount = 0;

    bool done() const { return result == Result::Done; }
    static Outcome ended(Result result, QString reason = {})
    {
        Outcome outcome;
        outcome.result = result;
        outcome.reason = std::move(reason);
        return outcome;
    }
};

} // namespace pelzo
