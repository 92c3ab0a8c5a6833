#pragma once

#include <QString>

#include <functional>

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

// Hands `show` the box's whole text while it is wider than the box (measured
// in tipHolder, the box or its drop-down), and an empty text while it fits.
void followClippedText(QLineEdit *edit, QWidget *tipHolder, std::function<void(const QString &)> show);

} // namespace pelzo
