#include "firmware/progresstext.h"

namespace pelzo {

int roundedPercent(qint64 done, qint64 total)
{
    const qint64 scaled = done * 100;
    qint64 quotient = scaled / total;
    const qint64 twiceRemainder = (scaled % total) * 2;
    if (twiceRemainder > total || (twiceRemainder == total && quotient % 2 != 0))
        ++quotient;
    return int(quotient);
}

QString transferringCaption(int percent)
{
    return QStringLiteral("updating，don't remove power update step:%1%").arg(percent);
}

QString completeCaption(int percent)
{
    return QStringLiteral("update complete update step:%1%").arg(percent);
}

} // namespace pelzo
