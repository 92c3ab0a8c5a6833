#include "ui/dropdown.h"

#include "ui/picks.h"

namespace pelzo {

DropDown::DropDown(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    // The lists are exact: no insertion on Enter, no case-insensitive
    // completion, no jump to a look-alike item (which the duplicate check would do).
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    setCompleter(nullptr);
    setEditText(QString());
    makePicksDeliberate(this);
}

void DropDown::showPopup()
{
    emit aboutToOpen();
    QComboBox::showPopup();
}

} // namespace pelzo
