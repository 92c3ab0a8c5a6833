#pragma once

#include "core/deviceconfig.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <map>

namespace pelzo {

// A settings file's value lines ("LABEL:value") by label.
using SettingsValues = std::map<QString, QByteArray>;
SettingsValues settingsValues(const QByteArray &fileBytes);

// The label of the line that carries a field ("CALLSIGN", "COMMENT TEXT").
QString fieldLabel(Field field);

// "LABEL: wrote A, the station holds B" for each of the fields whose lines
// differ between what was written and what was read back.
QStringList differingFields(const QList<Field> &fields, const SettingsValues &written, const SettingsValues &found);

// Where a configuration kept before a firmware update goes: the program
// folder's backups, named by the callsign in the file and the moment.
QString backupPath(const QString &programFolder, const QByteArray &fileBytes);

} // namespace pelzo
