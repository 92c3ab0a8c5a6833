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

class KeyFilter : public QObject
{
public:
    KeyFilter(QLineEdit *edit, KeyFilterRule rule) : QObject(edit), m_rule(rule) { edit->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        // Keys that insert no character (arrows, Delete) never reach the filter.
        if (key->text().size() != 1 || key->text().at(0).unicode() == DeleteCode)
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
    // The length limit follows the text: never below the typing limit, never
    // below what the box holds, so a longer text set by the program stays
    // whole and can only shrink under the user's hands.
    edit->setProperty(TypingLimitProperty, limit);
    edit->setMaxLength(std::max<qsizetype>(limit, edit->text().size()));
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, limit](const QString &text) {
        edit->setMaxLength(int(std::max<qsizetype>(limit, text.size())));
    });
}

void setProgramText(QLineEdit *edit, const QString &text)
{
    if (edit->property(TypingLimitProperty).isValid() && text.size() > edit->maxLength())
        edit->setMaxLength(int(text.size()));
    edit->setText(text);
    // A value put here by the program shows from its start, as it reads.
    if (!edit->hasFocus())
        edit->setCursorPosition(0);
}

void installChangeRules(Form1 &form)
{
    for (const ControlSpec &row : controlTable()) {
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
