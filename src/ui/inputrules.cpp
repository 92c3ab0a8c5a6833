#include "ui/inputrules.h"

#include "core/changerules.h"
#include "ui/controltable.h"
#include "ui/form1.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace pelzo {

namespace {

constexpr int Backspace = 8;
constexpr int DeleteCode = 127;
const char TypingLimitProperty[] = "typingLimit";

// Whether the key is one the filter sees. Tab moves the focus, and keys that
// insert no character (arrows, Home, End, Delete) or are shortcuts (Ctrl+A,
// Ctrl+C, Ctrl+V, Ctrl+Z) keep their usual meaning in every box. Ctrl with
// Alt is AltGr on many keyboards, which types characters.
bool typesCharacter(const QKeyEvent &key)
{
    if (key.text().size() != 1 || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        return false;
    const char16_t code = key.text().at(0).unicode();
    if (code == DeleteCode)
        return false;
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    const bool shortcut = (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier);
    return !shortcut;
}

class KeyFilter : public QObject
{
public:
    KeyFilter(QLineEdit *edit, KeyFilterRule rule) : QObject(edit), m_rule(rule) { edit->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (!typesCharacter(*key))
            return false;
        const int code = key->text().at(0).unicode();
        const int filtered = m_rule(code);
        if (filtered == code)
            return false;
        if (filtered != 0) {
            QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(), QString(QChar(filtered)),
                               key->isAutoRepeat(), ushort(key->count()));
            QCoreApplication::sendEvent(watched, &replaced);
        }
        return true;
    }

private:
    KeyFilterRule m_rule;
};

} // namespace

int capitals(int code)
{
    return code >= 'a' && code <= 'z' ? code - 32 : code;
}

int digitsOnly(int code)
{
    return code == Backspace || (code >= '0' && code <= '9') ? code : 0;
}

int frequencyCharacters(int code)
{
    return code == Backspace || (code >= '.' && code <= '9') ? code : 0;
}

void installKeyFilter(QLineEdit *edit, KeyFilterRule rule)
{
    new KeyFilter(edit, rule);
}

void limitTyping(QLineEdit *edit, int limit)
{
    // QLineEdit cuts whatever is typed, pasted or dropped to the room its
    // length limit leaves, as one undoable edit. The limit is only changed
    // when the program sets a text: changing it re-sets the text, which would
    // move the caret, drop the selection and empty the undo history.
    edit->setProperty(TypingLimitProperty, limit);
    edit->setMaxLength(limit);
}

void setProgramText(QLineEdit *edit, const QString &text)
{
    // A longer text set by the program stays whole; the user may shorten it,
    // but never type it longer than the program made it.
    if (const QVariant limit = edit->property(TypingLimitProperty); limit.isValid())
        edit->setMaxLength(int(std::max<qsizetype>(limit.toInt(), text.size())));
    edit->setText(text);
    // A value put here by the program shows from its start, as it reads.
    if (!edit->hasFocus())
        edit->setCursorPosition(0);
}

void installChangeRules(Form1 &form)
{
    for (const ControlRow &row : controlTable()) {
        if (!row.field || !isTrimmedField(*row.field))
            continue;
        auto *edit = form.control<QLineEdit>(row.name);
        const Field field = *row.field;
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, field](const QString &text) {
            const QString changed = afterChangeRule(field, text);
            if (changed != text)
                edit->setText(changed);
        });
    }
}

} // namespace pelzo
