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

// Sees each typed character before it is inserted: passes it, replaces it,
// or cancels it (code 0).
using KeyFilterRule = int (*)(int code);
void installKeyFilter(QLineEdit *edit, KeyFilterRule rule);

// The key filters of the callsign, the digit fields and the frequency.
int capitals(int code);
int digitsOnly(int code);
int frequencyCharacters(int code);

// Runs each field's change rule after every change of its box, whoever made it.
void installChangeRules(Form1 &form);

} // namespace pelzo
