#include "settingsfile/loadfile.h"

#include "core/station.h"
#include "core/textcodec.h"
#include "core/textutil.h"
#include "protocol/link.h"
#include "protocol/peizhi.h"
#include "settingsfile/linesplitter.h"
#include "settingsfile/settingsfiletext.h"

#include <QDir>
#include <QFile>

namespace pelzo {

namespace {

const QString LoadDialogTitle = QStringLiteral("Please choose fireware.");
const QString LoadDialogFilter = QStringLiteral("ini文件(*.ini)|*.ini");

constexpr qint64 ReadChunkBytes = 64 * 1024;
// A settings file is under 1 KiB. Reading stops after this much, so that a
// wrong pick (a disk image, /dev/zero) cannot fill the memory through the
// echo in the ActivityLog.
constexpr qint64 MaxSettingsFileBytes = 16 * 1024 * 1024;

void logLine(Station &station, const QString &text)
{
    station.appendActivityLogText(text + SettingsFileLineEnd);
}

// Echoes one line and hands it to the parser, as if the device had sent it.
// The parser keeps each value's bytes, so a value that is not UTF-8 is
// written back as it came.
bool applyLine(Station &station, Link &link, const QByteArray &bytes, qsizetype number, QString &why)
{
    logLine(station, decodeArrived(bytes, settingsFileFallback()));
    if (peizhi(station, link, bytes, settingsFileFallback(), TextEnd::Whole))
        return true;
    why = QStringLiteral("Line %1 is not a valid settings line; the lines after it were not loaded.").arg(number);
    logLine(station, why);
    return false;
}

bool applyLines(Station &station, Link &link, QFile &file, QString &why)
{
    qsizetype lineNumber = 0;
    const LineSplitter::Sink sink = [&station, &link, &lineNumber, &why](const QByteArray &line) {
        return applyLine(station, link, line, ++lineNumber, why);
    };
    LineSplitter splitter;
    FileText text;
    QByteArray chunk(ReadChunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 count = file.read(chunk.data(), chunk.size());
        if (count < 0) {
            why = QStringLiteral("The file could not be read: %1.").arg(systemReason(file.errorString()));
            logLine(station, why);
            return false;
        }
        if (count == 0)
            break;
        total += count;
        if (total > MaxSettingsFileBytes) {
            why = QStringLiteral("The file is larger than %1 MiB, far too large for a settings file; "
                                 "the rest of it was not loaded.")
                      .arg(MaxSettingsFileBytes / (1024 * 1024));
            logLine(station, why);
            return false;
        }
        if (!splitter.feed(text.lineBytes(QByteArrayView(chunk.constData(), count)), sink))
            return false;
    }
    return splitter.finish(sink);
}

} // namespace

Outcome loadFile(Station &station, Link &link)
{
    Platform &platform = station.platform();
    const QString path =
        platform.getOpenFileName({LoadDialogTitle, LoadDialogFilter, platform.programFolder(), QString(), false});
    if (path.isEmpty())
        return Outcome::ended(Result::Cancelled);
    station.dialogFileName = path;
    return loadSettingsFile(station, link, path);
}

Outcome loadSettingsFile(Station &station, Link &link, const QString &path)
{
    QString why;
    {
        const Station::UpdateBatch batch(station);
        station.setActivityLog(QDir::toNativeSeparators(path) + SettingsFileLineEnd + SettingsFileLineEnd);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            why = QStringLiteral("The file could not be read: %1.").arg(systemReason(file.errorString()));
            logLine(station, why);
        } else {
            applyLines(station, link, file, why);
        }
    }
    station.setButtonEnabled(Button::WriteData, true);
    return why.isEmpty() ? Outcome() : Outcome::ended(Result::Refused, why);
}

} // namespace pelzo
