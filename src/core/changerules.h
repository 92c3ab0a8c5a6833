#pragma once

#include "core/deviceconfig.h"

#include <QString>

namespace pelzo {

// The fields whose outer blanks are trimmed after every change, whoever made it.
bool isTrimmedField(Field field);

// The text a field holds once its change rule has run: outer blanks are
// trimmed from the passcode, the interval and the frequency.
QString afterChangeRule(Field field, const QString &text);

} // namespace pelzo
