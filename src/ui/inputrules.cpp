#include "ui/inputrules.h"

#include "core/textutil.h"
#include "ui/fieldcontrols.h"
#include "ui/form1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <functional>

namespace pelzo {

namespace {

constexpr int Backspace = 8;
constexpr int DeleteCode = 127;

using CharFilter = std::function<int(int)>;

// Sees each typed character before it is inserted: passes it, replaces it, or cancels it (code 0).
class KeyFilter : public QObject
{
public:
    KeyFilter(QLineEdit *edit, CharFilter filter) : QObject(edit), m_filter(std::move(filter))
    {
        edit->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        // Keys that insert no character (arrows, Delete) never reach the filter.
        if (key->text().size() != 1 || key->text().at(0).unicode() == DeleteCode)
            return false;
        const int code = key->text().at(0).unicode();
        const int filtered = m_filter(code);
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
    CharFilter m_filter;
};

constexpr std::array TrimmedFields{Field::Passcode, Field::SendTime, Field::Frequency};

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

void trimBlanksOnChange(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        const QString trimmed = trimSpaces(text);
        if (trimmed != text)
            edit->setText(trimmed);
    });
}

} // namespace

namespace {
const char TypingLimitProperty[] = "typingLimit";
}

QString trimmedByChangeRule(Field field, const QString &text)
{
    return std::find(TrimmedFields.begin(), TrimmedFields.end(), field) != TrimmedFields.end() ? trimSpaces(text)
                                                                                                 : text;
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

void addressModeRule(Form1 &form)
{
    form.setOctetBoxesEnabled(form.Combo2->currentText() == StaticIp);
}

void installInputRules(Form1 &form)
{
    new KeyFilter(form.Text4, capitals);
    new KeyFilter(form.Text5, digitsOnly);
    new KeyFilter(form.Text10, digitsOnly);
    new KeyFilter(form.Text31, frequencyCharacters);
    for (Field field : TrimmedFields)
        trimBlanksOnChange(form.control<QLineEdit>(controlsOf(field).front()));
    QObject::connect(form.Combo2, &QComboBox::activated, &form, [&form] { addressModeRule(form); });
}

} // namespace pelzo
