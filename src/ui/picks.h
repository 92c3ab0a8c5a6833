#pragma once

class QComboBox;

namespace pelzo {

// Lets only a pick from the open list choose an item of the drop-down: the
// mouse wheel over the closed list and Enter after typing change nothing,
// and the arrow keys open the list instead of stepping through it.
void makePicksDeliberate(QComboBox *combo);

} // namespace pelzo
