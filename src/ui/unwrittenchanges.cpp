#include "ui/unwrittenchanges.h"

#include "ui/controltable.h"
#include "ui/form1.h"

#include <array>

namespace pelzo {

namespace {

using N = ControlName;

enum class Takes { Nothing, AllFields, FieldsSent };

// The actions that replace the fields, and those whose confirmed ending
// tells what the station (or a file) holds.
struct ChangeRule
{
    ControlName source;
    bool asksFirst;
    Takes takes;
    ReferenceSource from = ReferenceSource::Station;
};

constexpr std::array rules{
    ChangeRule{N::Command6, true, Takes::AllFields},
    ChangeRule{N::Command7, false, Takes::FieldsSent},
    ChangeRule{N::Command4, true, Takes::AllFields, ReferenceSource::File},
    ChangeRule{N::Command0, true, Takes::Nothing},
    ChangeRule{N::Form1, true, Takes::Nothing},
};

const ChangeRule *ruleFor(ControlName source)
{
    for (const ChangeRule &rule : rules) {
        if (rule.source == source)
            return &rule;
    }
    return nullptr;
}

QList<Field> allFields()
{
    QList<Field> fields;
    for (int f = 0; f <= int(Field::WifiPassword); ++f)
        fields << Field(f);
    return fields;
}

} // namespace

bool mayDropChanges(Form1 &form, ControlName source)
{
    const ChangeRule *rule = ruleFor(source);
    if (!rule || !rule->asksFirst || !form.marks().any())
        return true;
    QStringList names;
    for (const ControlName control : form.marks().marked())
        names << accessibleNameOf(rowOf(control));
    // Cancel is the default and Escape's: a stray Enter keeps the edits.
    constexpr int Discard = 0;
    constexpr int Cancel = 1;
    return form.platform().ask({QStringLiteral("Discard the changes not yet written to the PELZO?"),
                                QStringLiteral("Changed: ") + names.join(QStringLiteral(", ")),
                                {QStringLiteral("Discard"), QStringLiteral("Cancel")}, Cancel, Cancel}) == Discard;
}

void noteReference(Form1 &form, ControlName source, const Outcome &outcome)
{
    const ChangeRule *rule = ruleFor(source);
    if (!rule || rule->takes == Takes::Nothing || !outcome.done())
        return;
    QList<Field> fields = rule->takes == Takes::AllFields ? allFields() : outcome.fieldsSent;
    // The callsign command carries the SSID too.
    if (fields.contains(Field::Callsign) && !fields.contains(Field::CallSsid))
        fields << Field::CallSsid;
    form.marks().takeReference(rule->from, fields);
}

} // namespace pelzo
