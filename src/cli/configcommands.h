#pragma once

#include <QJsonObject>

namespace pelzo {
class PlainStation;
}

namespace pelzo::cli {

class Context;

// Write data, its confirmation, and (unless --no-verify) a read that compares
// every field the write sent; what happened, for --json. A Failure otherwise.
QJsonObject writeAndVerify(Context &c, PlainStation &wanted);

// The commands that read, change and compare configurations.
int readCommand(Context &c);
int getCommand(Context &c);
int defaultsCommand(Context &c);
int writeCommand(Context &c);
int setCommand(Context &c);
int diffCommand(Context &c);

} // namespace pelzo::cli
