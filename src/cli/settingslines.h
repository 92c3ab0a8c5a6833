#pragma once

#include "core/deviceconfig.h"
#include "settingsfile/settingsvalues.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>

#include <map>

namespace pelzo {
class Station;
struct Link;
}

namespace pelzo::cli {

// The fields a settings file holds, by their labels: "CALLSIGN", "COMMENT TEXT".
QStringList fieldLabels();
// The label a name on the command line stands for ("comment_text" is
// "COMMENT TEXT"); a Failure listing the labels when there is none.
QString labelOf(const QString &name);
// The settings file's value lines ("LABEL:value") by label.
using ValueLines = SettingsValues;
ValueLines valueLines(const Station &station);
QJsonObject asJson(const ValueLines &lines);

// A write sends every field: a file that lacks some is refused.
void requireEveryField(const QString &path);

// Refuses, before anything is sent, an assignment to no field or a choice
// the field does not have.
void checkAssignments(const QStringList &assignments);

// Applies FIELD=VALUE assignments through the parser, as a settings file's
// lines would be. A choice takes its shown text or its code; any other value
// is refused with the valid ones listed.
void applyAssignments(Station &station, Link &link, const QStringList &assignments);

} // namespace pelzo::cli
