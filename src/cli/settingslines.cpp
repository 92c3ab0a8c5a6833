#include "cli/settingslines.h"

#include "cli/failure.h"
#include "core/station.h"
#include "core/textcodec.h"
#include "protocol/link.h"
#include "protocol/peizhi.h"
#include "settingsfile/savefile.h"

#include <QFile>

#include <optional>

namespace pelzo::cli {

namespace {

// The values a choice field takes: each shown text with the code a settings file holds for it.
struct Choice
{
    QString shown;
    QString code;
};

std::optional<QList<Choice>> choicesOf(Field field)
{
    const auto coded = [](const CodeTable &table) {
        QList<Choice> list;
        for (const CodeEntry &entry : table.entries)
            list << Choice{QString::fromUtf8(entry.shown), QString::fromLatin1(entry.code)};
        return list;
    };
    const auto listed = [field] {
        QList<Choice> list;
        for (const QString &item : choices(field))
            list << Choice{item, item == BacklightOn ? encodeBacklight(item) : item};
        return list;
    };
    switch (field) {
    case Field::AddressMode: return coded(addressModeCodes());
    case Field::Unit: return coded(unitCodes());
    case Field::Path: return coded(pathCodes());
    case Field::Alias: return coded(aliasCodes());
    case Field::Backlight:
    case Field::TxVolume: return listed();
    case Field::Digi: return QList<Choice>{{QStringLiteral("1"), QStringLiteral("1")}, {QStringLiteral("0"), QStringLiteral("0")}};
    default: return std::nullopt;
    }
}

std::optional<Field> fieldOf(const QString &label)
{
    for (const FieldWireNames &names : fieldWireNames()) {
        if (*names.commandKeyword && *names.reportLabel && fieldLabel(names.field) == label)
            return names.field;
    }
    return std::nullopt;
}

// The value as the settings file holds it: a choice's shown text becomes its code.
QString fileValue(const QString &label, const QString &value)
{
    const auto list = choicesOf(*fieldOf(label));
    if (!list)
        return value;
    QStringList valid;
    for (const Choice &choice : *list) {
        if (value == choice.shown || value == choice.code)
            return choice.code;
        valid << (choice.shown == choice.code ? choice.shown : QStringLiteral("%1 (%2)").arg(choice.shown, choice.code));
    }
    throw Failure{UsageOrDifference,
                  QStringLiteral("%1 is no value for %2; it takes %3").arg(value, label, valid.join(QStringLiteral(", ")))};
}

} // namespace

QStringList fieldLabels()
{
    QStringList labels;
    for (const FieldWireNames &names : fieldWireNames()) {
        if (*names.commandKeyword && *names.reportLabel)
            labels << fieldLabel(names.field);
    }
    return labels;
}

QString labelOf(const QString &name)
{
    const QString wanted = QString(name).replace(QLatin1Char('_'), QLatin1Char(' ')).toUpper();
    if (!fieldLabels().contains(wanted))
        throw Failure{UsageOrDifference,
                      QStringLiteral("no field %1; the fields are: %2").arg(name, fieldLabels().join(QStringLiteral(", ")))};
    return wanted;
}

ValueLines valueLines(const Station &station)
{
    return settingsValues(settingsFileBytes(station));
}

QJsonObject asJson(const ValueLines &lines)
{
    QJsonObject object;
    for (const auto &[label, value] : lines)
        object[label] = decodeArrived(value, settingsFileFallback());
    return object;
}

void requireEveryField(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return; // the load says why
    QStringList missing = fieldLabels();
    for (const QByteArray &line : file.readAll().split('\n'))
        missing.removeAll(QString::fromLatin1(line.left(line.indexOf(':')).trimmed()));
    if (!missing.isEmpty())
        throw Failure{FileRefused, QStringLiteral("%1 lacks %2; a write would send them empty. Start from a file that "
                                                  "read, defaults or Save file wrote, or use set.")
                                       .arg(path, missing.join(QStringLiteral(", ")))};
}

void checkAssignments(const QStringList &assignments)
{
    for (const QString &assignment : assignments)
        fileValue(labelOf(assignment.section(QLatin1Char('='), 0, 0)), assignment.section(QLatin1Char('='), 1));
}

void applyAssignments(Station &station, Link &link, const QStringList &assignments)
{
    for (const QString &assignment : assignments) {
        const QString label = labelOf(assignment.section(QLatin1Char('='), 0, 0));
        const QString value = fileValue(label, assignment.section(QLatin1Char('='), 1));
        // The address mode's line carries its code and the "#" a device writes after it.
        const QString line = label + QLatin1Char(':') + value + (label == fieldLabel(Field::AddressMode) ? QStringLiteral("#") : QString());
        if (!peizhi(station, link, line.toUtf8(), settingsFileFallback(), TextEnd::Whole))
            throw Failure{UsageOrDifference, QStringLiteral("%1 is no value for %2").arg(assignment, label)};
    }
}

} // namespace pelzo::cli
