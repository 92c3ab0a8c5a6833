#pragma once

#include "ui/fieldcontrols.h"
#include "ui/form1.h"

#include <QMap>
#include <QStringList>

// Every field of the window that a write sends, as the window shows it (the
// address fields as their four octets).
inline QMap<pelzo::Field, QStringList> sentFields(const pelzo::Form1 &form)
{
    using pelzo::Field;
    QMap<Field, QStringList> fields;
    for (const pelzo::FieldControls &field : pelzo::fieldControls()) {
        if (field.field == Field::Ctcss || field.field == Field::DeviceVersion || field.field == Field::WifiSsid
            || field.field == Field::WifiPassword)
            continue;
        fields[field.field] = field.controls.size() > 1 ? form.octets(field.field)
                                                        : QStringList{form.fieldText(field.field)};
    }
    return fields;
}
