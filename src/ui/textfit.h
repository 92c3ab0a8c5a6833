#pragma once

#include <QString>

class QComboBox;
class QLineEdit;
class QWidget;

namespace pelzo {

// How many pixels of text the control can show on one line, in its own font.
int textRoom(const QWidget *control);

// Whether the text, in the control's font, fits the control's room.
bool textFits(const QWidget *control, const QString &text);

// The open list of the drop-down is made wide enough for its longest item.
void fitPopupToItems(QComboBox *combo);

// While the box's text is wider than the box, its tooltip shows the whole text.
void showClippedTextAsToolTip(QLineEdit *edit, QWidget *tipHolder);

} // namespace pelzo
