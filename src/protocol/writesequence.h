#pragma once

#include "core/deviceconfig.h"

#include <QString>

#include <span>

namespace pelzo {

class Station;

enum class SentWhen {
    Always,
    StaticAddress, // only when the address-mode command chose a static address
};

// The device takes one command per pace; it sends no answer to pace by.
constexpr qint32 CommandPaceMs = 200;

// One command of Write data. The keyword is the field's command keyword; the
// value is built from the field as it reads when the command is sent.
struct WriteCommand
{
    Field field;
    QByteArray (*value)(const Station &station);
    int pacesAfter; // waits of CommandPaceMs after the command
    SentWhen sentWhen = SentWhen::Always;
    const char *before = ""; // sent ahead of the keyword, in the same write
};

// Every command of a write, in sending order.
std::span<const WriteCommand> writeSequence();

// The full text of one write: prefix, keyword, value, "#", CR LF.
QByteArray commandText(const WriteCommand &command, const QByteArray &value);

} // namespace pelzo
