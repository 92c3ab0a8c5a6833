#include "core/changerules.h"

#include "core/textutil.h"

namespace pelzo {

bool isTrimmedField(Field field)
{
    return field == Field::Passcode || field == Field::SendTime || field == Field::Frequency;
}

QString afterChangeRule(Field field, const QString &text)
{
    return isTrimmedField(field) ? trimSpaces(text) : text;
}

} // namespace pelzo
