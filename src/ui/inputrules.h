#pragma once

#include <QString>

class QLineEdit;

namespace pelzo {

class Form1;

// Lets the user type or paste at most `limit` characters into the box, while
// text that the program puts there may be longer.
void limitTyping(QLineEdit *edit, int limit);

// Sets the text as the program does: whole, even beyond the typing limit.
void setProgramText(QLineEdit *edit, const QString &text);

// The key filters, the trimming of blanks and the address-mode rule.
void installInputRules(Form1 &form);

// Enables the sixteen octet boxes for "STATIC IP", disables them for anything else.
void addressModeRule(Form1 &form);

} // namespace pelzo
