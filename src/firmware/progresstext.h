#pragma once

#include <QString>

namespace pelzo {

// The update status label as the window first shows it.
inline constexpr char UpdateStatusCaption[] = "Software only update data，support: see the README of PELZO Config";

// done / total as a whole percentage, a half going to the even neighbour;
// integers only, so 23 of 40 gives 58 and 1 of 8 gives 12.
int roundedPercent(qint64 done, qint64 total);

// The update status caption while blocks go out, and once the last has gone.
QString transferringCaption(int percent);
QString completeCaption(int percent);

} // namespace pelzo
