#pragma once

#include "ui/controltable.h"
#include "ui/form1.h"

#include <QMap>
#include <QStringList>

// Every field of the window that a write sends, as the window shows it (the
// address fields as their four octets).
inline QMap<pelzo::Field, QStringList> sentFields(const pelzo::Form1 &form)
{
    using pelzo::Field;
    QMap<Field, QStringList> fields;
    for (int f = 0; f <= int(Field::Frequency); ++f) {
        const Field field = Field(f);
        fields[field] = pelzo::isAddressField(field) ? form.octets(field) : QStringList{form.fieldText(field)};
    }
    return fields;
}
